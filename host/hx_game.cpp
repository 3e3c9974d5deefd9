#include "host/hx_game.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "host/asset_failures.h"
#include "host/file_io.h"
#include "host/runtime_error.h"
#include "runtime/gc.h"

namespace {
HxGame* gCurrentGame = nullptr;
const String kStatePath("./.vellumstate");
}  // namespace

HxGame::HxGame() { gCurrentGame = this; }

HxGame::~HxGame() {
    if (gCurrentGame == this) gCurrentGame = nullptr;
}

HxGame* HxGame::Current() { return gCurrentGame; }

void HxGame::SetDelegate(HxGameDelegate* delegate) { delegate_ = delegate; }
HxGameDelegate* HxGame::Delegate() { return delegate_; }
void HxGame::SetKeyboardEnabled(bool enabled) { keyboardEnabled_ = enabled; }
bool HxGame::KeyboardEnabled() { return keyboardEnabled_; }
void HxGame::SetUpdateRate(int rate) { updateRate_ = rate; }
int HxGame::UpdateRate() { return updateRate_; }
bool HxGame::Started() { return started_; }
bool HxGame::Suspended() { return suspended_; }
int HxGame::Millisecs() { return 0; }

void HxGame::GetDate(Array<int> date) {
    int n = date.Length();
    if (n <= 0) return;
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const int fields[7] = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                           local.tm_min,         local.tm_sec,     0};
    for (int i = 0; i < n && i < 7; ++i) date[i] = fields[i];
}

// ---- files ----------------------------------------------------------------

String HxGame::PathToFilePath(const String& /*path*/) { return String(); }

std::string HxGame::FileSystemPath(const String& path) { return PathToFilePath(path).ToUtf8(); }

FILE* HxGame::OpenFile(const String& path, const String& mode) {
    std::string file = FileSystemPath(path);
    if (file.empty()) return nullptr;
    return std::fopen(file.c_str(), mode.ToNarrow().c_str());
}

FILE* HxGame::OpenAsset(const String& path) {
    errno = 0;
    FILE* file = OpenFile(path, String("rb"));
    if (!file) ReportAssetFailure(path, OpenFailureReason(errno));
    return file;
}

namespace {

String DecodeFile(FILE* file) {
    if (!file) return String();
    std::vector<unsigned char> bytes = ReadWholeFile(file);
    std::fclose(file);
    return String::Decode(bytes.data(), bytes.size());
}

}  // namespace

String HxGame::LoadString(const String& path) { return DecodeFile(OpenFile(path, String("rb"))); }

std::string HxGame::StateFilePath() { return FileSystemPath(kStatePath); }

String HxGame::LoadState() {
    std::string file = StateFilePath();
    return file.empty() ? String() : DecodeFile(std::fopen(file.c_str(), "rb"));
}

int HxGame::SaveState(const String& state) {
    std::string file = StateFilePath();
    if (file.empty()) return -1;
    switch (ReplaceFileContents(file, state.ToUtf8())) {
        case ReplaceResult::kWritten:
            return 0;
        case ReplaceResult::kCannotCreate:
            return -1;
        case ReplaceResult::kWriteFailed:
            break;
    }
    return -2;
}

unsigned char* HxGame::LoadData(const String& path, int* length) {
    FILE* file = OpenFile(path, String("rb"));
    if (!file) return nullptr;
    std::vector<unsigned char> bytes = ReadWholeFile(file);
    std::fclose(file);
    // Never null for an empty file, so callers can tell it from a missing one.
    auto* buffer = static_cast<unsigned char*>(std::malloc(bytes.empty() ? 1 : bytes.size()));
    if (!bytes.empty()) std::copy(bytes.begin(), bytes.end(), buffer);
    *length = static_cast<int>(bytes.size());
    gc::SetForce();
    return buffer;
}

// ---- platform services this base host does not have -------------------------

bool HxGame::PollJoystick(int, Array<float>, Array<float>, Array<float>, Array<bool>) { return false; }
void HxGame::OpenUrl(const String&) {}
void HxGame::SetMouseVisible(bool) {}
void HxGame::SetWindowSize(int, int) {}
void HxGame::SetResolutionLevel(int) {}
bool HxGame::ResolutionLevelPresent(int) { return true; }
void HxGame::FetchResolutionLevel(int) {}

// ---- errors and the collector ---------------------------------------------

void HxGame::Die(Object* /*exception*/) {
    const char* message = "Vellum Runtime Error : Uncaught Vellum Exception";
    Print(String(message));
    ReportFailure(message, 0);
    std::exit(-1);
}

void HxGame::GcCollect() {
    gc_mark(delegate_);
    gc::CollectStep();
}

// ---- event dispatch -------------------------------------------------------

// Calls the delegate unless there is none; anything thrown out of it ends the
// program through Die. Then one collector step.
template <class Call>
void HxGame::Dispatch(Call&& call) {
    if (delegate_) {
        try {
            call(delegate_.get());
        } catch (Object* exception) {
            Die(exception);
        } catch (...) {
            Die(nullptr);
        }
    }
    GcCollect();
}

void HxGame::StartGame() {
    if (started_) return;
    started_ = true;
    Dispatch([](HxGameDelegate* d) { d->StartGame(); });
}

void HxGame::SuspendGame() {
    if (!started_ || suspended_) return;
    suspended_ = true;
    Dispatch([](HxGameDelegate* d) { d->SuspendGame(); });
}

void HxGame::ResumeGame() {
    if (!started_ || !suspended_) return;
    suspended_ = false;
    Dispatch([](HxGameDelegate* d) { d->ResumeGame(); });
}

void HxGame::UpdateGame() {
    if (!started_ || suspended_) return;
    Dispatch([](HxGameDelegate* d) { d->UpdateGame(); });
}

void HxGame::RenderGame() {
    if (!started_) return;
    Dispatch([](HxGameDelegate* d) { d->RenderGame(); });
}

void HxGame::KeyEvent(int event, int data) {
    if (!started_) return;
    Dispatch([=](HxGameDelegate* d) { d->KeyEvent(event, data); });
}

void HxGame::MouseEvent(int event, int data, float x, float y) {
    if (!started_) return;
    Dispatch([=](HxGameDelegate* d) { d->MouseEvent(event, data, x, y); });
}

void HxGame::TouchEvent(int event, int data, float x, float y) {
    if (!started_) return;
    Dispatch([=](HxGameDelegate* d) { d->TouchEvent(event, data, x, y); });
}

void HxGame::MotionEvent(int event, int data, float x, float y, float z) {
    if (!started_) return;
    Dispatch([=](HxGameDelegate* d) { d->MotionEvent(event, data, x, y, z); });
}

void HxGame::DiscardGraphics() {
    if (!started_) return;
    Dispatch([](HxGameDelegate* d) { d->DiscardGraphics(); });
}

void HxGame::FocusLost() {
    if (!started_ || suspended_) return;
    Dispatch([](HxGameDelegate* d) { d->FocusLost(); });
}

void HxGame::Run() {}
