// Test support for everything built on the game object: the one c_MyApp of
// a test binary, running on a real host, a hidden GLFW window under the
// test's X display (Xvfb), real devices made by the real delegate, and
// helpers to script input, run updates and frames, and read back the display
// list and the rendered pixels.
//
// Only one application can ever exist in a process, so every test of a
// binary shares it; GameTest resets it before each test:
//
//   #include "tests/game/game_fixture.h"
//   class PauseTest : public GameTest {};         // SetUp() = Game().Reset()
//   TEST_F(PauseTest, EscPausesOnce) {
//       c_MyApp* app = App();                      // after Reset: title screen,
//       app->screen = 10;                          //   all assets loaded
//       PressKey(27);  RunFrames(3);               // update + render, 3 times
//       EXPECT_EQ(app->paused, 1);
//       auto rects = Game().Commands(kRect);       // the queued rectangles
//   }
//
// CMake: solbrim_test(<name> SOURCES my_test.cpp LIBS solbrim_game_fixture WHOLE)
// (the fixture library brings the game, devices, host and GoogleTest; WHOLE
// runs the program as one CTest test, with one window for all its cases).
//
// The harness, on first use:
//   - works in a fresh temporary directory (removed at exit) whose "data"
//     links to ${SOLBRIM_BUILD_DIR}/data, so the state file ".vellumstate"
//     of a test never touches anyone else's;
//   - opens the process's hidden 640 x 480 window
//     (tests/support/test_gl_window.h), creates the host (a RecordingHost,
//     below), runs the global initialiser, constructs c_MyApp and starts the
//     game through the host (devices, default font, OnCreate).
// Reset(): removes the state file, sets the window back to 640 x 480,
//   releases every key and button, restores the framework and game globals,
//   clears the game object to its constructed state (ZeroState), runs
//   OnCreate, renders the first frame and, unless told otherwise, runs the
//   update loop until asset loading has finished. The game then stands on
//   the title screen (screen 1) with nothing queued by the title yet.
//
// Input goes through the host's event dispatch (as the window would send
// it) and reaches the game at the next update. Pointer helpers take virtual
// pixels and convert them with the current pixel scale (set by a render).
//
// To give a child process (a death test) its own application class, call
// SetAppFactory before anything touches Game() in that process.
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "game/my_app.h"
#include "desktop/hx_desktop_game.h"

struct GLFWwindow;

// The host the harness runs on: the real desktop host that also records
// every image and sound file the game asks for, and can pretend that some of
// them are missing.
class RecordingHost : public HxDesktopGame {
public:
    explicit RecordingHost(GLFWwindow* window) : HxDesktopGame(GameFiles{}, window) {}

    // Records the level the game tells the host, then passes it on.
    void SetResolutionLevel(int level) override;
    int toldResolutionLevel = 0;

    // Records image (.png) and sound (.wav, .ogg) paths, then opens the
    // file unless it is to count as missing.
    FILE* OpenFile(const String& path, const String& mode) override;

    // A joystick on port 0 whose stick 0 stands at (joyX, joyY), y counting
    // upwards, and whose buttons are joyButtons while joystickPresent is
    // true (PressKey(256 + b) presses a button without a joystick).
    bool PollJoystick(int port, Array<float> x, Array<float> y, Array<float> z, Array<bool> buttons) override;
    bool joystickPresent = false;
    float joyX = 0, joyY = 0;
    bool joyButtons[32] = {};

    // Paths as handed to the host (e.g. "vellum://data/menu-hd.png").
    std::vector<std::string> imagePaths;
    std::vector<std::string> soundPaths;
    // Any path containing one of these fails as if the file were missing.
    std::set<std::string> missing;

    // Resolution levels whose files are not there yet, as on a host that
    // downloads them on demand, and every level the game asked it to fetch.
    bool ResolutionLevelPresent(int level) override;
    void FetchResolutionLevel(int level) override;
    std::set<int> absentLevels;
    std::vector<int> fetchedLevels;

    void ClearRecords();
    // True when some recorded path ends with the given suffix.
    bool OpenedImage(const std::string& suffix) const;
    bool OpenedSound(const std::string& suffix) const;

private:
    bool IsMissing(const std::string& path) const;
};

// One command of the display list, decoded.
struct DrawCommand {
    float kind;  // image number, or kRect / kEllipse / kLine
    float x, y, rotation;
    float a, b;  // image scale x, y; or width, height / radii / x2, y2
    int frame;
    float alpha, red, green, blue;
    int blend;
    bool IsImage(int image) const { return kind == static_cast<float>(image); }
};

constexpr float kRect = -3717.0f;
constexpr float kEllipse = -3716.0f;
constexpr float kLine = -3715.0f;

class GameHarness {
public:
    static GameHarness& Instance();
    static void SetAppFactory(c_MyApp* (*factory)());

    c_MyApp* App() const;
    RecordingHost* Host() const { return host_; }
    GLFWwindow* Window() const { return window_; }
    const std::string& WorkDir() const { return workDir_; }

    void Reset(bool loadAssets = true);

    // Update (host UpdateGame: input begin, OnUpdate, input end, collector
    // step), then render (host RenderGame), n times.
    void RunFrames(int n = 1);
    void RunUpdates(int n = 1);
    void Render();
    // Updates and renders until asset loading has finished (at most 40).
    void FinishLoading();

    // Resizes the window; the next render sees the new device size.
    void ResizeWindow(int width, int height);

    // Keys by their key codes (1 left button, 27 Esc, 37..40 arrows, 384 + i
    // touch i, 432 the close button ...).
    void PressKey(int key);
    void ReleaseKey(int key);
    // Pressed and released before the next update: one hit, not held.
    void TapKey(int key);
    void TypeChar(int character);
    void ReleaseAll();

    // Pointer in virtual pixels.
    void MovePointer(float x, float y);
    void PressPointer(float x, float y);
    void ReleasePointer();

    std::vector<DrawCommand> Commands() const;
    std::vector<DrawCommand> Commands(float kind) const;

    // Renders one frame through the renderer and returns its pixels
    // (0xAARRGGBB words, top row first); Width/Height give the frame size.
    std::vector<unsigned> RenderAndReadPixels();
    int FrameWidth() const { return frameWidth_; }
    int FrameHeight() const { return frameHeight_; }

private:
    GameHarness();
    void WaitForSize(int width, int height);

    GLFWwindow* window_ = nullptr;
    RecordingHost* host_ = nullptr;
    std::string workDir_;
    int frameWidth_ = 0;
    int frameHeight_ = 0;
};

inline GameHarness& Game() { return GameHarness::Instance(); }

class GameTest : public ::testing::Test {
protected:
    void SetUp() override { Game().Reset(); }

    c_MyApp* App() const { return Game().App(); }
    void RunFrames(int n = 1) { Game().RunFrames(n); }
    void RunUpdates(int n = 1) { Game().RunUpdates(n); }
    void PressKey(int key) { Game().PressKey(key); }
    void ReleaseKey(int key) { Game().ReleaseKey(key); }
    void TapKey(int key) { Game().TapKey(key); }
    void PressPointer(float x, float y) { Game().PressPointer(x, y); }
    void MovePointer(float x, float y) { Game().MovePointer(x, y); }
    void ReleasePointer() { Game().ReleasePointer(); }
};

// Pixel channels of a 0xAARRGGBB word.
inline int Red(unsigned p) { return (p >> 16) & 255; }
inline int Green(unsigned p) { return (p >> 8) & 255; }
inline int Blue(unsigned p) { return p & 255; }
