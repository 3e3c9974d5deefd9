#include "tests/game/game_fixture.h"

#include <GLFW/glfw3.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include "app/framework.h"
#include "game/game_globals.h"
#include "graphics/drawing.h"
#include "graphics/graphics_globals.h"
#include "host/hx_game.h"
#include "input/input.h"
#include "runtime/gc.h"
#include "tests/support/test_gl_window.h"

namespace fs = std::filesystem;

namespace {

c_MyApp* DefaultApp() { return new c_MyApp(); }

c_MyApp* (*gAppFactory)() = DefaultApp;
GameHarness* gHarness = nullptr;
Global<Ref<c_MyApp>> gTestApp;

std::string gWorkDir;

void RemoveWorkDir() {
    if (gWorkDir.empty()) return;
    std::error_code ignored;
    fs::remove_all(gWorkDir, ignored);
}

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// A fresh working directory whose "data" is the build's generated assets.
std::string MakeWorkDir() {
    char pattern[] = "/tmp/solbrim-game-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (!made) {
        std::perror("mkdtemp");
        std::abort();
    }
    std::string dir = made;
    fs::create_directory_symlink(fs::path(SOLBRIM_BUILD_DIR) / "data", fs::path(dir) / "data");
    if (chdir(dir.c_str()) != 0) {
        std::perror("chdir");
        std::abort();
    }
    return dir;
}

// The process's hidden window at the game's size; without it no test of
// the binary can run.
GLFWwindow* OpenHiddenWindow() {
    GLFWwindow* window = TestGlWindow(640, 480);
    if (!window) std::abort();
    return window;
}

}  // namespace

// ---- RecordingHost ----------------------------------------------------------

bool RecordingHost::IsMissing(const std::string& path) const {
    for (const std::string& part : missing) {
        if (path.find(part) != std::string::npos) return true;
    }
    return false;
}

FILE* RecordingHost::OpenFile(const String& path, const String& mode) {
    std::string name = path.ToUtf8();
    if (name.ends_with(".png")) imagePaths.push_back(name);
    if (name.ends_with(".wav") || name.ends_with(".ogg")) soundPaths.push_back(name);
    if (IsMissing(name)) return nullptr;
    return HxVellumGame::OpenFile(path, mode);
}

bool RecordingHost::PollJoystick(int port, Array<float> x, Array<float> y, Array<float> /*z*/,
                                 Array<bool> buttons) {
    if (port != 0 || !joystickPresent) return false;
    x[0] = joyX;
    y[0] = joyY;
    for (int b = 0; b < 32; ++b) buttons[b] = joyButtons[b];
    return true;
}

void RecordingHost::SetResolutionLevel(int level) {
    toldResolutionLevel = level;
    HxDesktopGame::SetResolutionLevel(level);
}

bool RecordingHost::ResolutionLevelPresent(int level) { return !absentLevels.contains(level); }

void RecordingHost::FetchResolutionLevel(int level) { fetchedLevels.push_back(level); }

void RecordingHost::ClearRecords() {
    imagePaths.clear();
    soundPaths.clear();
}

bool RecordingHost::OpenedImage(const std::string& suffix) const {
    for (const std::string& path : imagePaths) {
        if (EndsWith(path, suffix)) return true;
    }
    return false;
}

bool RecordingHost::OpenedSound(const std::string& suffix) const {
    for (const std::string& path : soundPaths) {
        if (EndsWith(path, suffix)) return true;
    }
    return false;
}

// ---- GameHarness ----------------------------------------------------------------

GameHarness& GameHarness::Instance() {
    // Never destroyed: the application, like the real host, lives until exit.
    if (!gHarness) gHarness = new GameHarness();
    return *gHarness;
}

void GameHarness::SetAppFactory(c_MyApp* (*factory)()) { gAppFactory = factory; }

GameHarness::GameHarness() {
    workDir_ = gWorkDir = MakeWorkDir();
    std::atexit(RemoveWorkDir);
    window_ = OpenHiddenWindow();
    host_ = new RecordingHost(window_);
    // The program's start-up order: collector, global initialiser, roots,
    // the application (which hands its delegate to the host), then the game
    // starts: devices, default font, OnCreate.
    gc::Init();
    InitFrameworkGlobals();
    InitGameGlobals();
    gc::MarkRoots();
    gTestApp = gAppFactory();
    host_->StartGame();
}

c_MyApp* GameHarness::App() const { return gTestApp; }

void GameHarness::Reset(bool loadAssets) {
    std::remove(".vellumstate");
    ResizeWindow(640, 480);
    ReleaseAll();
    InitGameGlobals();
    host_->missing.clear();
    host_->absentLevels.clear();
    host_->fetchedLevels.clear();
    host_->joystickPresent = false;
    host_->joyX = host_->joyY = 0;
    std::fill(std::begin(host_->joyButtons), std::end(host_->joyButtons), false);
    c_MyApp* app = App();
    app->ZeroState();
    app->OnCreate();
    Render();
    if (loadAssets) FinishLoading();
    host_->ClearRecords();
}

void GameHarness::RunUpdates(int n) {
    for (int i = 0; i < n; ++i) host_->UpdateGame();
}

void GameHarness::Render() { host_->RenderGame(); }

void GameHarness::RunFrames(int n) {
    for (int i = 0; i < n; ++i) {
        host_->UpdateGame();
        host_->RenderGame();
    }
}

void GameHarness::FinishLoading() {
    for (int i = 0; i < 40 && App()->loadStep != 0; ++i) RunFrames(1);
}

void GameHarness::WaitForSize(int width, int height) {
    for (int i = 0; i < 200; ++i) {
        int w = 0, h = 0;
        glfwPollEvents();
        glfwGetFramebufferSize(window_, &w, &h);
        if (w == width && h == height) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ADD_FAILURE() << "window did not reach " << width << " x " << height;
}

void GameHarness::ResizeWindow(int width, int height) {
    int w = 0, h = 0;
    glfwGetFramebufferSize(window_, &w, &h);
    if (w == width && h == height) return;
    glfwSetWindowSize(window_, width, height);
    WaitForSize(width, height);
}

void GameHarness::PressKey(int key) { host_->KeyEvent(EVENT_KEY_DOWN, key); }
void GameHarness::ReleaseKey(int key) { host_->KeyEvent(EVENT_KEY_UP, key); }

void GameHarness::TapKey(int key) {
    PressKey(key);
    ReleaseKey(key);
}

void GameHarness::TypeChar(int character) { host_->KeyEvent(EVENT_KEY_CHAR, character); }

void GameHarness::ReleaseAll() {
    c_InputDevice* input = gInputDevice;
    if (!input) return;
    for (int key = 1; key < c_InputDevice::kKeyCount; ++key) {
        if (input->KeyDown(key)) host_->KeyEvent(EVENT_KEY_UP, key);
    }
    host_->MouseEvent(EVENT_MOUSE_MOVE, 0, 0, 0);
    for (int port = 0; port < c_InputDevice::kJoyPorts; ++port) {
        c_JoyState* joy = input->joyStates[port];
        for (int stick = 0; stick < 2; ++stick) joy->joyx[stick] = joy->joyy[stick] = joy->joyz[stick] = 0;
    }
    input->EndUpdate();
}

void GameHarness::MovePointer(float x, float y) {
    c_MyApp* app = App();
    host_->MouseEvent(EVENT_MOUSE_MOVE, 0, x * app->pixelScaleX, y * app->pixelScaleY);
}

void GameHarness::PressPointer(float x, float y) {
    c_MyApp* app = App();
    host_->MouseEvent(EVENT_MOUSE_DOWN, 0, x * app->pixelScaleX, y * app->pixelScaleY);
}

void GameHarness::ReleasePointer() {
    c_InputDevice* input = gInputDevice;
    host_->MouseEvent(EVENT_MOUSE_UP, 0, input ? input->MouseX() : 0, input ? input->MouseY() : 0);
}

std::vector<DrawCommand> GameHarness::Commands() const {
    std::vector<DrawCommand> out;
    c_MyApp* app = App();
    for (int i = 0; i + 15 <= app->drawCount; i += 15) {
        const float* c = &app->drawList[i];
        out.push_back(DrawCommand{c[0], c[1], c[2], c[3], c[4], c[5], static_cast<int>(c[6]), c[7], c[10], c[11],
                                  c[12], static_cast<int>(c[13])});
    }
    return out;
}

std::vector<DrawCommand> GameHarness::Commands(float kind) const {
    std::vector<DrawCommand> out;
    for (const DrawCommand& c : Commands()) {
        if (c.kind == kind) out.push_back(c);
    }
    return out;
}

std::vector<unsigned> GameHarness::RenderAndReadPixels() {
    // The delegate's frame, with the read-back before the buffers swap.
    gxtkGraphics* device = graphicsDevice;
    device->BeginRender();
    BeginFrameDrawing();
    App()->OnRender();
    frameWidth_ = DeviceWidth();
    frameHeight_ = DeviceHeight();
    Array<int> pixels(frameWidth_ * frameHeight_);
    ReadPixels(pixels, 0, 0, frameWidth_, frameHeight_, 0, frameWidth_);
    EndFrameDrawing();
    device->EndRender();
    std::vector<unsigned> out(pixels.begin(), pixels.end());
    return out;
}
