// The GLFW window as the host sees it, under the test's X server: real X
// input (XTEST through xdotool) and a real WM_DELETE_WINDOW request become
// the host's key, mouse and close events, and the fullscreen shortcut goes
// to the platform's switch instead of the game.
#include <gtest/gtest.h>

#define GLFW_EXPOSE_NATIVE_X11
#include <GLFW/glfw3.h>
#include <GLFW/glfw3native.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>

#include "desktop/glfw_joystick_device.h"
#include "glfw/glfw_host_window.h"
#include "tests/host/fake_host.h"
#include "tests/support/test_gl_window.h"

namespace {

using Calls = std::vector<std::string>;

// The shared window with a fullscreen switch that only counts: what the
// shortcut switches is each platform's own.
class CountingHostWindow : public GlfwHostWindow {
public:
    using GlfwHostWindow::GlfwHostWindow;
    int toggles = 0;

protected:
    void ToggleFullscreen() override { ++toggles; }
};

struct GlfwWindowTest : ::testing::Test {
    GLFWwindow* window = nullptr;
    CountingHostWindow* hostWindow = nullptr;  // owned by game
    std::unique_ptr<HxGlfwGame> game;
    Global<Ref<RecordingDelegate>> delegate;
    std::string id;

    void SetUp() override {
        ASSERT_TRUE(StartTestWindowLibrary());
        glfwDefaultWindowHints();
        glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
        window = glfwCreateWindow(320, 240, "host window test", nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        glfwSetWindowPos(window, 0, 0);
        auto counting = std::make_unique<CountingHostWindow>(window);
        hostWindow = counting.get();
        game = std::make_unique<HxGlfwGame>(std::move(counting),
                                            std::make_unique<GlfwJoystickSource>(std::make_unique<GlfwJoystickDevice>()));
        delegate = new RecordingDelegate();
        game->SetDelegate(delegate);
        id = std::to_string(glfwGetX11Window(window));
        AttachAndStart();
        Run("xdotool windowfocus --sync " + id);
        PollFor(0.3, [] { return false; });
        delegate->calls.clear();
    }
    // The library stays started until the process ends: terminating it
    // unloads the GL driver, whose own leaks the leak checker then cannot
    // tell from the program's.
    void TearDown() override {
        game.reset();
        if (window) glfwDestroyWindow(window);
    }
    void AttachAndStart();
    // An X client, run to its end; it fails the test if it fails.
    static void Run(const std::string& command) {
        ASSERT_EQ(std::system((command + " >/dev/null 2>&1").c_str()), 0) << command;
    }
    // Polls window events until done() or the time is up.
    bool PollFor(double seconds, const std::function<bool()>& done) {
        auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (std::chrono::steady_clock::now() < end) {
            glfwPollEvents();
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    Calls KeyCalls() const {
        Calls out;
        for (const auto& c : delegate->calls)
            if (c.rfind("KeyEvent", 0) == 0) out.push_back(c);
        return out;
    }
    Calls MouseCalls() const {
        Calls out;
        for (const auto& c : delegate->calls)
            if (c.rfind("MouseEvent", 0) == 0) out.push_back(c);
        return out;
    }
};

void GlfwWindowTest::AttachAndStart() {
    // Run() attaches and starts; a window that reports itself closed makes
    // it return right after the first frame.
    glfwSetWindowShouldClose(window, GLFW_TRUE);
    game->Run();
    glfwSetWindowShouldClose(window, GLFW_FALSE);
}

TEST_F(GlfwWindowTest, CloseRequestBecomesTheCloseKeyAndTheWindowStaysOpen) {
    std::string helper = std::string(SOLBRIM_BUILD_DIR) + "/tests/e2e/send_close_request";
    Run(helper + " " + id);
    ASSERT_TRUE(PollFor(5, [&] { return delegate->calls.size() >= 2; }));
    EXPECT_EQ(KeyCalls(), (Calls{"KeyEvent(1,432)", "KeyEvent(2,432)"}));
    EXPECT_FALSE(glfwWindowShouldClose(window));
}

TEST_F(GlfwWindowTest, TypedLetterGivesKeyDownCharacterAndKeyUp) {
    Run("xdotool key a");
    ASSERT_TRUE(PollFor(5, [&] { return KeyCalls().size() >= 3; }));
    EXPECT_EQ(KeyCalls(), (Calls{"KeyEvent(1,65)", "KeyEvent(3,97)", "KeyEvent(2,65)"}));
}

TEST_F(GlfwWindowTest, ShiftedLetterGivesTheShiftKeyAndTheCapitalCharacter) {
    Run("xdotool key shift+b");
    ASSERT_TRUE(PollFor(5, [&] { return KeyCalls().size() >= 5; }));
    Calls calls = KeyCalls();
    EXPECT_EQ(Calls(calls.begin(), calls.begin() + 3), (Calls{"KeyEvent(1,16)", "KeyEvent(1,66)", "KeyEvent(3,66)"}));
    // xdotool may let go of either key first.
    std::sort(calls.begin() + 3, calls.end());
    EXPECT_EQ(Calls(calls.begin() + 3, calls.end()), (Calls{"KeyEvent(2,16)", "KeyEvent(2,66)"}));
}

TEST_F(GlfwWindowTest, EditingKeysAndIgnoredKeys) {
    Run("xdotool key Delete Left Alt_L KP_Enter Escape");
    ASSERT_TRUE(PollFor(5, [&] { return KeyCalls().size() >= 9; }));
    EXPECT_EQ(KeyCalls(), (Calls{"KeyEvent(1,46)", "KeyEvent(3,127)", "KeyEvent(2,46)", "KeyEvent(1,37)",
                                 "KeyEvent(3,65573)", "KeyEvent(2,37)", "KeyEvent(1,27)", "KeyEvent(3,27)",
                                 "KeyEvent(2,27)"}));
}

TEST_F(GlfwWindowTest, TheFullscreenShortcutSwitchesOncePerPressAndNeverReachesTheGame) {
    Run("xdotool key F11 alt+Return Return F11");
    ASSERT_TRUE(PollFor(5, [&] { return hostWindow->toggles >= 3 && KeyCalls().size() >= 3; }));
    PollFor(0.3, [] { return false; });
    EXPECT_EQ(hostWindow->toggles, 3);
    // Only the plain Enter between the shortcuts is the game's.
    EXPECT_EQ(KeyCalls(), (Calls{"KeyEvent(1,13)", "KeyEvent(3,13)", "KeyEvent(2,13)"}));
}

TEST_F(GlfwWindowTest, MouseMoveAndClickInFramebufferPixels) {
    Run("xdotool mousemove --window " + id + " 100 50");
    ASSERT_TRUE(PollFor(5, [&] { return !MouseCalls().empty(); }));
    EXPECT_EQ(MouseCalls().back(), "MouseEvent(6,-1,100,50)");
    delegate->calls.clear();
    Run("xdotool click 1 click 3 click 2");
    ASSERT_TRUE(PollFor(5, [&] { return MouseCalls().size() >= 6; }));
    EXPECT_EQ(MouseCalls(), (Calls{"MouseEvent(4,0,100,50)", "MouseEvent(5,0,100,50)", "MouseEvent(4,1,100,50)",
                                   "MouseEvent(5,1,100,50)", "MouseEvent(4,2,100,50)", "MouseEvent(5,2,100,50)"}));
}

TEST_F(GlfwWindowTest, ExtraMouseButtonsAndTheWheelSendNothing) {
    Run("xdotool mousemove --window " + id + " 10 10");
    PollFor(0.5, [] { return false; });
    delegate->calls.clear();
    Run("xdotool click 4 click 5 click 8 click 9");
    PollFor(0.5, [] { return false; });
    EXPECT_TRUE(MouseCalls().empty());
}

TEST_F(GlfwWindowTest, MillisecsFollowsTheLibraryClock) {
    int a = game->Millisecs();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    int b = game->Millisecs();
    EXPECT_GE(b - a, 45);
    EXPECT_LT(b - a, 1000);
}

TEST_F(GlfwWindowTest, CursorCanBeHiddenAndShown) {
    game->SetMouseVisible(false);
    EXPECT_EQ(glfwGetInputMode(window, GLFW_CURSOR), GLFW_CURSOR_HIDDEN);
    game->SetMouseVisible(true);
    EXPECT_EQ(glfwGetInputMode(window, GLFW_CURSOR), GLFW_CURSOR_NORMAL);
}

}  // namespace
