// The game as a desktop player meets it, under the test's 1280 x 1024 X
// screen: F11 and Alt+Enter toggle fullscreen without the game seeing the
// keys, Escape still pauses in fullscreen, and switching away during play
// opens the pause menu. Without monitor information (no RandR) F11 does
// nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>

#include "desktop/entry_point.h"
#include "tests/e2e/game_process.h"
#include "tests/e2e/game_process_test.h"
#include "tests/e2e/loading_screen.h"
#include "tests/host/scoped_env.h"

namespace {

// Where the game's screens show in a screenshot of a w x h window. The
// virtual screen, the window's first size, is scaled by the larger of the
// two ratios and centred, so design points are taken from the centre and
// the right edge.
struct Layout {
    int w, h;
    double s;
    explicit Layout(int width, int height)
        : w(width), h(height), s(std::max(width / double(kWindowWidth), height / double(kWindowHeight))) {}
    int FromCentreX(double dx) const { return static_cast<int>(w / 2 + dx * s); }
    int FromCentreY(double dy) const { return static_cast<int>(h / 2 + dy * s); }
};

// Mean brightness 0..1 of the strip along the right edge, top half: the
// title's navy score panel there is dark even with clouds drifting behind
// it; the play field's sky is light.
double RightStripBrightness(const std::string& shot, const Layout& at) {
    int x = at.w - static_cast<int>(60 * at.s), width = static_cast<int>(40 * at.s), height = at.h / 2;
    std::string out = RunHelper("convert " + ShellQuote(shot) + " -crop " + std::to_string(width) + "x" +
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

bool IsTitle(const std::string& shot, const Layout& at) {
    double brightness = RightStripBrightness(shot, at);
    // Not black either: a window not yet drawn.
    return brightness > 0.12 && brightness < 0.45 && !IsPauseMenu(shot, at) && !ShowsLoading(shot);
}

bool IsPlay(const std::string& shot, const Layout& at) { return RightStripBrightness(shot, at) > 0.6; }

class DesktopTest : public GameProcessTest {
protected:
    void SetUp() override {
        GameProcessTest::SetUp();
        if (HasFatalFailure()) return;
        WindowGeometry screen = ScreenSize();
        screenW = screen.width;
        screenH = screen.height;
        windowed = game.Geometry();
        game.Focus();
        ASSERT_TRUE(WaitFor(IsTitle)) << "no title";
    }

    using Screen = bool (*)(const std::string&, const Layout&);

    // Whether a screenshot at the window's current size shows the screen.
    std::function<bool()> Showing(Screen shows) {
        return [this, shows] {
            WindowGeometry g = game.Geometry();
            return shows(Shot("shot"), Layout(g.width, g.height));
        };
    }
    bool WaitFor(Screen shows, double seconds = 30) { return WaitUntilSteady(seconds, Showing(shows)); }
    bool KeepsShowing(Screen shows, double seconds) { return KeepsHolding(seconds, Showing(shows)); }
    bool WaitForGeometry(int x, int y, int w, int h) {
        return WaitUntil(10, [&] {
            WindowGeometry g = game.Geometry();
            return g.x == x && g.y == y && g.width == w && g.height == h;
        });
    }
    bool WaitForFullscreen() { return WaitForGeometry(0, 0, screenW, screenH); }
    bool WaitForWindowed() { return WaitForGeometry(windowed.x, windowed.y, kWindowWidth, kWindowHeight); }

    // Held over several updates until the game shows the screen, as a
    // player presses it: a tap shorter than one update is not a press the
    // controls see.
    void Hold(const std::string& key, Screen until) {
        EXPECT_TRUE(game.HoldKey(key, 30, Showing(until))) << key << " did not act";
    }

    int screenW = 0, screenH = 0;
    WindowGeometry windowed;
};

TEST_F(DesktopTest, F11FillsTheScreenAndF11AgainRestoresTheWindow) {
    ASSERT_EQ(screenW, 1280);
    ASSERT_EQ(screenH, 1024);
    game.Key("F11");
    ASSERT_TRUE(WaitForFullscreen()) << "the window never filled the screen";
    ASSERT_TRUE(WaitFor(IsTitle)) << "no title";  // drawn at the new size: the panel sits at the screen's right edge
    EXPECT_GT(CountColours(Shot("fullscreen")), 200);
    EXPECT_EQ(game.Title(), "Sol Brim");
    game.Key("F11");
    ASSERT_TRUE(WaitForWindowed()) << "the window never went back to its first place and size";
    EXPECT_TRUE(WaitFor(IsTitle)) << "no title";
}

TEST_F(DesktopTest, AltEnterTogglesLikeF11) {
    game.Key("alt+Return");
    ASSERT_TRUE(WaitForFullscreen()) << "the window never filled the screen";
    ASSERT_TRUE(WaitFor(IsTitle)) << "no title";
    game.Key("alt+Return");
    ASSERT_TRUE(WaitForWindowed()) << "the window never went back to its first place and size";
    EXPECT_TRUE(WaitFor(IsTitle)) << "no title";
}

TEST_F(DesktopTest, AltEnterNeverStartsAGameOnTheTitle) {
    // A window already the screen's size: fullscreen changes no size, so no
    // reload swallows the key, and an Enter that got through would start a
    // game within an update while it is held.
    RunHelper("xdotool windowmove " + game.WindowId() + " 0 0 windowsize " + game.WindowId() + " " +
               std::to_string(screenW) + " " + std::to_string(screenH));
    ASSERT_TRUE(WaitForFullscreen()) << "the window never filled the screen";
    ASSERT_TRUE(WaitFor(IsTitle)) << "no title";
    game.KeyDown("alt");
    game.KeyDown("Return");
    EXPECT_TRUE(KeepsShowing(IsTitle, 1.5)) << "the title gave way";
    game.KeyUp("Return");
    game.KeyUp("alt");
    // Enter alone still starts a game.
    Hold("Return", IsPlay);
}

TEST_F(DesktopTest, EscapeInFullscreenPlayPausesAndStaysFullscreen) {
    Hold("Return", IsPlay);
    game.Key("F11");
    ASSERT_TRUE(WaitForFullscreen()) << "the window never filled the screen";
    Hold("Escape", IsPauseMenu);
    EXPECT_TRUE(WaitForFullscreen()) << "the window left fullscreen";
}

TEST_F(DesktopTest, ThePauseIconAnswersThePointerInFullscreen) {
    Hold("Return", IsPlay);
    game.Key("F11");
    ASSERT_TRUE(WaitForFullscreen()) << "the window never filled the screen";
    ASSERT_TRUE(WaitFor(IsPlay)) << "no play field";
    // The icon's centre, 16 design pixels from the corner, scaled.
    int at = static_cast<int>(16 * Layout(screenW, screenH).s);
    EXPECT_TRUE(game.HoldButton(at, at, 30, Showing(IsPauseMenu)));
}

TEST_F(DesktopTest, TogglingQuicklyAndWhileLoadingKeepsEveryTexture) {
    for (int i = 0; i < 7; ++i) game.Key("F11");
    ASSERT_TRUE(WaitForFullscreen()) << "the window never filled the screen";
    ASSERT_TRUE(WaitFor(IsTitle)) << "no title";
    EXPECT_GT(CountColours(Shot("after-seven")), 200);
    game.Key("F11");
    ASSERT_TRUE(WaitForWindowed()) << "the window never went back to its first place and size";
    ASSERT_TRUE(WaitFor(IsTitle)) << "no title";
    EXPECT_TRUE(game.Running());
}

class DesktopLoadingTest : public GameProcessTest {};

TEST_F(DesktopLoadingTest, TogglingDuringLoadingEndsOnATitleWithEveryTexture) {
    game.Focus();
    for (int i = 0; i < 3; ++i) game.Key("F11");  // the window is up; loading takes most of a second
    WindowGeometry screen = ScreenSize();
    int w = screen.width, h = screen.height;
    ASSERT_TRUE(WaitUntil(10, [&] {
        WindowGeometry g = game.Geometry();
        return g.width == w && g.height == h;
    })) << "the window never filled the screen";
    std::string shot;
    ASSERT_TRUE(WaitUntilSteady(15, [&] { return IsTitle(shot = Shot("title"), Layout(w, h)); })) << "no title";
    EXPECT_GT(CountColours(shot), 200);
}

TEST_F(DesktopTest, SwitchingAwayDuringPlayOpensThePauseMenuAndComingBackKeepsIt) {
    Hold("Return", IsPlay);
    RunHelper(DROP_FOCUS);
    ASSERT_TRUE(WaitFor(IsPauseMenu)) << "no pause menu";
    game.Focus();
    EXPECT_TRUE(KeepsShowing(IsPauseMenu, 1.5)) << "the pause menu closed";
}

TEST_F(DesktopTest, SwitchingAwayOnTheTitleChangesNothing) {
    RunHelper(DROP_FOCUS);
    EXPECT_TRUE(KeepsShowing(IsTitle, 1.5)) << "the title gave way";
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
