// The game as a desktop player meets it, under the test's 1280 x 1024 X
// screen: F11 and Alt+Enter toggle fullscreen without the game seeing the
// keys, Escape still pauses in fullscreen, and switching away during play
// opens the pause menu. Without monitor information (no RandR) F11 does
// nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>

#include "tests/e2e/game_process.h"
#include "tests/e2e/game_process_test.h"
#include "tests/host/scoped_env.h"

namespace {

// Where the game's screens show in a screenshot of a w x h window. The
// virtual 640 x 480 screen is scaled by the larger of the two ratios and
// centred, so design points are taken from the centre and the right edge.
struct Layout {
    int w, h;
    double s;
    explicit Layout(int width, int height)
        : w(width), h(height), s(std::max(width / 640.0, height / 480.0)) {}
    int FromCentreX(double dx) const { return static_cast<int>(w / 2 + dx * s); }
    int FromCentreY(double dy) const { return static_cast<int>(h / 2 + dy * s); }
};

// Mean brightness 0..1 of the strip along the right edge, top half: the
// title's navy score panel there is dark even with clouds drifting behind
// it; the play field's sky is light.
double RightStripBrightness(const std::string& shot, const Layout& at) {
    int x = at.w - static_cast<int>(60 * at.s), width = static_cast<int>(40 * at.s), height = at.h / 2;
    std::string out = RunCommand("convert " + ShellQuote(shot) + " -crop " + std::to_string(width) + "x" +
                                 std::to_string(height) + "+" + std::to_string(x) + "+0 -format '%[fx:mean]' info:");
    return out.empty() ? -1 : std::atof(out.c_str());
}

bool IsPauseMenu(const std::string& shot, const Layout& at) {
    // The orange body of the menu left of, right of and above its resume
    // button: three points, so that no spinning coin passes for it.
    const int points[3][2] = {{-110, 35}, {110, 35}, {60, -40}};
    for (const auto& p : points) {
        Rgb c = PixelColour(shot, at.FromCentreX(p[0]), at.FromCentreY(p[1]));
        if (!(c.r > 150 && c.g > 80 && c.g < 180 && c.b < 90)) return false;
    }
    return true;
}

bool IsLoading(const std::string& shot) {
    // The loading backdrop's colour, in a corner its rings never reach.
    Rgb c = PixelColour(shot, 3, 3);
    return c.r == 40 && c.g == 40 && c.b == 80;
}

bool IsTitle(const std::string& shot, const Layout& at) {
    double brightness = RightStripBrightness(shot, at);
    // Not black either: a window not yet drawn.
    return brightness > 0.12 && brightness < 0.45 && !IsPauseMenu(shot, at) && !IsLoading(shot);
}

bool IsPlay(const std::string& shot, const Layout& at) { return RightStripBrightness(shot, at) > 0.6; }

class DesktopTest : public GameProcessTest {
protected:
    void SetUp() override {
        GameProcessTest::SetUp();
        if (HasFatalFailure()) return;
        std::istringstream screen(RunX11Command("xdotool getdisplaygeometry"));
        screen >> screenW >> screenH;
        windowed = game.Geometry();
        game.Focus();
        ASSERT_TRUE(WaitFor(IsTitle)) << "no title";
    }

    // Waits until two screenshots in a row, at the window's current size,
    // show it (one alone may be torn, see KeepsShowing).
    bool WaitFor(bool (*shows)(const std::string&, const Layout&), double seconds = 15) {
        int hits = 0;
        return WaitUntil(seconds, [&] {
            WindowGeometry g = game.Geometry();
            hits = shows(Shot("shot"), Layout(g.width, g.height)) ? hits + 1 : 0;
            return hits >= 2;
        });
    }
    // True when screenshots keep showing it for that long. One shot taken
    // while a frame is being copied into the window can be torn; only two
    // misses in a row count.
    bool KeepsShowing(bool (*shows)(const std::string&, const Layout&), double seconds) {
        int misses = 0;
        return !WaitUntil(seconds, [&] {
            WindowGeometry g = game.Geometry();
            misses = shows(Shot("shot"), Layout(g.width, g.height)) ? 0 : misses + 1;
            return misses >= 2;
        });
    }
    bool WaitForGeometry(int x, int y, int w, int h) {
        return WaitUntil(10, [&] {
            WindowGeometry g = game.Geometry();
            return g.x == x && g.y == y && g.width == w && g.height == h;
        });
    }
    bool WaitForFullscreen() { return WaitForGeometry(0, 0, screenW, screenH); }
    bool WaitForWindowed() { return WaitForGeometry(windowed.x, windowed.y, 640, 480); }

    // Held over several updates, as a player presses it: a tap shorter than
    // one update is not a press the controls see.
    void Hold(const std::string& key, bool (*until)(const std::string&, const Layout&)) {
        game.KeyDown(key);
        EXPECT_TRUE(WaitFor(until)) << key << " did not act";
        game.KeyUp(key);
    }

    int screenW = 0, screenH = 0;
    WindowGeometry windowed;
};

TEST_F(DesktopTest, F11FillsTheScreenAndF11AgainRestoresTheWindow) {
    ASSERT_EQ(screenW, 1280);
    ASSERT_EQ(screenH, 1024);
    game.Key("F11");
    ASSERT_TRUE(WaitForFullscreen());
    ASSERT_TRUE(WaitFor(IsTitle));  // drawn at the new size: the panel sits at the screen's right edge
    EXPECT_GT(CountColours(Shot("fullscreen")), 200);
    EXPECT_EQ(game.Title(), "Sol Brim");
    game.Key("F11");
    ASSERT_TRUE(WaitForWindowed());
    EXPECT_TRUE(WaitFor(IsTitle));
}

TEST_F(DesktopTest, AltEnterTogglesLikeF11) {
    game.Key("alt+Return");
    ASSERT_TRUE(WaitForFullscreen());
    ASSERT_TRUE(WaitFor(IsTitle));
    game.Key("alt+Return");
    ASSERT_TRUE(WaitForWindowed());
    EXPECT_TRUE(WaitFor(IsTitle));
}

TEST_F(DesktopTest, AltEnterNeverStartsAGameOnTheTitle) {
    // A window already the screen's size: fullscreen changes no size, so no
    // reload swallows the key, and an Enter that got through would start a
    // game within an update while it is held.
    RunCommand("xdotool windowmove " + game.WindowId() + " 0 0 windowsize " + game.WindowId() + " " +
               std::to_string(screenW) + " " + std::to_string(screenH));
    ASSERT_TRUE(WaitForFullscreen());
    ASSERT_TRUE(WaitFor(IsTitle));
    game.KeyDown("alt");
    game.KeyDown("Return");
    EXPECT_TRUE(KeepsShowing(IsTitle, 1.5));
    game.KeyUp("Return");
    game.KeyUp("alt");
    // Enter alone still starts a game.
    Hold("Return", IsPlay);
}

TEST_F(DesktopTest, EscapeInFullscreenPlayPausesAndStaysFullscreen) {
    Hold("Return", IsPlay);
    game.Key("F11");
    ASSERT_TRUE(WaitForFullscreen());
    Hold("Escape", IsPauseMenu);
    EXPECT_TRUE(WaitForFullscreen());
}

TEST_F(DesktopTest, ThePauseIconAnswersThePointerInFullscreen) {
    Hold("Return", IsPlay);
    game.Key("F11");
    ASSERT_TRUE(WaitForFullscreen());
    ASSERT_TRUE(WaitFor(IsPlay));
    // The icon's centre, 16 design pixels from the corner, scaled.
    int at = static_cast<int>(16 * Layout(screenW, screenH).s);
    game.MoveMouse(at, at);
    RunX11Command("xdotool mousedown 1");
    EXPECT_TRUE(WaitFor(IsPauseMenu));
    RunX11Command("xdotool mouseup 1");
}

TEST_F(DesktopTest, TogglingQuicklyAndWhileLoadingKeepsEveryTexture) {
    for (int i = 0; i < 7; ++i) game.Key("F11");
    ASSERT_TRUE(WaitForFullscreen());
    ASSERT_TRUE(WaitFor(IsTitle));
    EXPECT_GT(CountColours(Shot("after-seven")), 200);
    game.Key("F11");
    ASSERT_TRUE(WaitForWindowed());
    ASSERT_TRUE(WaitFor(IsTitle));
    EXPECT_TRUE(game.Running());
}

class DesktopLoadingTest : public GameProcessTest {};

TEST_F(DesktopLoadingTest, TogglingDuringLoadingEndsOnATitleWithEveryTexture) {
    game.Focus();
    for (int i = 0; i < 3; ++i) game.Key("F11");  // the window is up; loading takes most of a second
    std::istringstream screen(RunX11Command("xdotool getdisplaygeometry"));
    int w = 0, h = 0;
    screen >> w >> h;
    ASSERT_TRUE(WaitUntil(10, [&] {
        WindowGeometry g = game.Geometry();
        return g.width == w && g.height == h;
    }));
    std::string shot;
    ASSERT_TRUE(WaitUntil(15, [&] { return IsTitle(shot = Shot("title"), Layout(w, h)); }));
    EXPECT_GT(CountColours(shot), 200);
}

TEST_F(DesktopTest, SwitchingAwayDuringPlayOpensThePauseMenuAndComingBackKeepsIt) {
    Hold("Return", IsPlay);
    RunX11Command(DROP_FOCUS);
    ASSERT_TRUE(WaitFor(IsPauseMenu));
    game.Focus();
    EXPECT_TRUE(KeepsShowing(IsPauseMenu, 1.5));
}

TEST_F(DesktopTest, SwitchingAwayOnTheTitleChangesNothing) {
    RunX11Command(DROP_FOCUS);
    EXPECT_TRUE(KeepsShowing(IsTitle, 1.5));
    game.Focus();
    Hold("Return", IsPlay);  // and the title still answers
}

TEST(DesktopWithoutMonitorInformation, F11DoesNothingAndSaysNothing) {
    PrivateXServer x({"-extension", "RANDR"});
    ASSERT_FALSE(x.Display().empty());
    ScopedEnv display("DISPLAY", x.Display().c_str());  // for the game and for xdotool
    GameProcess game;
    ASSERT_TRUE(game.Start());
    ASSERT_FALSE(game.WaitForWindow().empty()) << game.Stdout() << game.Stderr();
    WindowGeometry before = game.Geometry();
    game.Focus();
    game.Key("F11");
    EXPECT_FALSE(WaitUntil(1.5, [&] {
        WindowGeometry g = game.Geometry();
        return g.x != before.x || g.y != before.y || g.width != before.width || g.height != before.height;
    }));
    EXPECT_TRUE(game.Running());
    EXPECT_EQ(game.Stdout(), "");
    EXPECT_EQ(game.Stderr(), "");
}

}  // namespace
