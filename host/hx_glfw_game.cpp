#include "host/hx_glfw_game.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "host/data_path.h"
#include "host/key_translation.h"

namespace {
constexpr int kMaxJoystickPort = 15;
constexpr int kJoystickButtons = 32;
}  // namespace

HxGlfwGame::HxGlfwGame(std::unique_ptr<HostWindow> window, std::unique_ptr<JoystickSource> joysticks,
                       std::unique_ptr<UrlLauncher> urls)
    : window_(std::move(window)),
      joysticks_(std::move(joysticks)),
      urls_(std::move(urls)),
      scheduler_([this] { return window_->Now(); }),
      pacing_(PacingReport::Requested(), window_->Now()) {}

HxGlfwGame::~HxGlfwGame() = default;


void HxGlfwGame::SetUpdateRate(int rate) {
    HxGame::SetUpdateRate(rate);
    scheduler_.SetRate(rate);
}

int HxGlfwGame::Millisecs() {
    // Milliseconds kept to 32 bits: the counter wraps after about 49 days.
    auto ms = static_cast<std::int64_t>(window_->Now() * 1000.0);
    return static_cast<int>(static_cast<std::uint32_t>(ms));
}

bool HxGlfwGame::PollJoystick(int port, Array<float> x, Array<float> y, Array<float> z, Array<bool> buttons) {
    if (port < 0 || port > kMaxJoystickPort || !joysticks_->Present(port)) return false;
    std::span<const float> axes = joysticks_->Axes(port);
    float pos[6] = {};
    std::copy_n(axes.begin(), std::min<std::size_t>(axes.size(), 6), pos);
    // Sticks with 4 or 5 axes put the second stick's axes where the
    // 6-axis layout expects them.
    if (axes.size() == 4) {
        pos[4] = pos[2];
        pos[2] = 0;
    } else if (axes.size() == 5) {
        std::swap(pos[3], pos[4]);
    }
    const float xs[2] = {pos[0], pos[3]}, ys[2] = {pos[1], pos[4]}, zs[2] = {pos[2], pos[5]};
    for (int i = 0; i < 2; ++i) {
        if (i < x.Length()) x[i] = xs[i];
        if (i < y.Length()) y[i] = ys[i];
        if (i < z.Length()) z[i] = zs[i];
    }
    std::span<const bool> pressed = joysticks_->Buttons(port);
    int count = std::min({static_cast<int>(pressed.size()), kJoystickButtons, buttons.Length()});
    for (int i = 0; i < count; ++i) buttons[i] = pressed[i];
    return true;
}

void HxGlfwGame::OpenUrl(const String& url) { urls_->Open(url.ToNarrow()); }

void HxGlfwGame::SetMouseVisible(bool visible) { window_->SetCursorVisible(visible); }

String HxGlfwGame::PathToFilePath(const String& path) { return FilePathText(FileSystemPath(path)); }

std::string HxGlfwGame::FileSystemPath(const String& path) { return MapVirtualPath(path); }

// ---- window events ----------------------------------------------------------

void HxGlfwGame::OnKey(int glfwKey, bool pressed) {
    int code = TranslateKey(glfwKey);
    if (code == 0) return;
    if (!pressed) {
        KeyEvent(EVENT_KEY_UP, code);
        return;
    }
    KeyEvent(EVENT_KEY_DOWN, code);
    if (int ch = EditingKeyChar(code)) KeyEvent(EVENT_KEY_CHAR, ch);
}

void HxGlfwGame::OnChar(unsigned int codepoint) {
    if (IsPrintableChar(codepoint)) KeyEvent(EVENT_KEY_CHAR, static_cast<int>(codepoint));
}

void HxGlfwGame::OnMouseButton(int button, bool pressed, float x, float y) {
    if (button < 0 || button > 2) return;
    MouseEvent(pressed ? EVENT_MOUSE_DOWN : EVENT_MOUSE_UP, button, x, y);
}

void HxGlfwGame::OnMouseMove(float x, float y) { MouseEvent(EVENT_MOUSE_MOVE, -1, x, y); }

void HxGlfwGame::OnCloseRequest() {
    KeyEvent(EVENT_KEY_DOWN, KEY_CLOSE);
    KeyEvent(EVENT_KEY_UP, KEY_CLOSE);
}

// ---- main loop --------------------------------------------------------------

void HxGlfwGame::Run() {
    window_->Attach(this);
    StartGame();
    RenderGame();
    while (RunPass()) {
    }
}

bool HxGlfwGame::RunPass() {
    window_->PollEvents();
    if (!window_->IsOpen()) return false;
    if (urls_->Pending() > 0) urls_->Reap();

    bool focused = window_->IsActive() && !window_->IsIconified();
    if (focused_ && !focused) FocusLost();
    focused_ = focused;

    if (window_->IsIconified()) {
        if (!suspended_) {
            iconified_ = true;
            SuspendGame();
        }
    } else if (window_->IsActive() && suspended_) {
        iconified_ = false;
        ResumeGame();
        scheduler_.Restart();
    }

    if (updateRate_ == 0 || suspended_) {
        if (!iconified_) RenderGame();
        window_->WaitEvents();
        window_->PollEvents();
        return true;
    }

    double wait = scheduler_.TimeUntilDue();
    if (wait > 0) {
        window_->Sleep(wait);
        return true;
    }
    scheduler_.RunDueUpdates([this] { UpdateGame(); });
    RenderGame();
    scheduler_.DropBacklogIfBehind();
    pacing_.AfterRender(window_->Now(), scheduler_);
    return true;
}
