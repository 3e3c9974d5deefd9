// The fullscreen shortcut's keys and the choice of monitor.
#include "desktop/fullscreen_toggle.h"
#include "glfw/fullscreen_shortcut.h"

#include <GLFW/glfw3.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

using Action = FullscreenShortcut::Action;

TEST(FullscreenShortcut, F11TogglesOnEachPressAndNeverReachesTheGame) {
    FullscreenShortcut keys;
    EXPECT_EQ(keys.Feed(GLFW_KEY_F11, GLFW_PRESS, 0), Action::kToggle);
    EXPECT_EQ(keys.Feed(GLFW_KEY_F11, GLFW_REPEAT, 0), Action::kSwallow);
    EXPECT_EQ(keys.Feed(GLFW_KEY_F11, GLFW_REPEAT, 0), Action::kSwallow);
    EXPECT_EQ(keys.Feed(GLFW_KEY_F11, GLFW_RELEASE, 0), Action::kSwallow);
    EXPECT_EQ(keys.Feed(GLFW_KEY_F11, GLFW_PRESS, GLFW_MOD_SHIFT), Action::kToggle);
    EXPECT_EQ(keys.Feed(GLFW_KEY_F10, GLFW_PRESS, 0), Action::kPassOn);
}

TEST(FullscreenShortcut, AltEnterIsTakenFromPressToReleaseEvenIfAltGoesFirst) {
    FullscreenShortcut keys;
    EXPECT_EQ(keys.Feed(GLFW_KEY_ENTER, GLFW_PRESS, GLFW_MOD_ALT | GLFW_MOD_SHIFT), Action::kToggle);
    EXPECT_EQ(keys.Feed(GLFW_KEY_ENTER, GLFW_REPEAT, GLFW_MOD_ALT), Action::kSwallow);
    EXPECT_EQ(keys.Feed(GLFW_KEY_ENTER, GLFW_REPEAT, 0), Action::kSwallow);  // Alt let go first
    EXPECT_EQ(keys.Feed(GLFW_KEY_ENTER, GLFW_RELEASE, 0), Action::kSwallow);
    // A plain Enter afterwards is the game's, all of it.
    EXPECT_EQ(keys.Feed(GLFW_KEY_ENTER, GLFW_PRESS, 0), Action::kPassOn);
    EXPECT_EQ(keys.Feed(GLFW_KEY_ENTER, GLFW_REPEAT, 0), Action::kPassOn);
    EXPECT_EQ(keys.Feed(GLFW_KEY_ENTER, GLFW_RELEASE, GLFW_MOD_ALT), Action::kPassOn);
}

TEST(FullscreenShortcut, EnterHeldBeforeAltStaysTheGames) {
    FullscreenShortcut keys;
    EXPECT_EQ(keys.Feed(GLFW_KEY_ENTER, GLFW_PRESS, 0), Action::kPassOn);
    EXPECT_EQ(keys.Feed(GLFW_KEY_ENTER, GLFW_REPEAT, GLFW_MOD_ALT), Action::kPassOn);
    EXPECT_EQ(keys.Feed(GLFW_KEY_ENTER, GLFW_RELEASE, GLFW_MOD_ALT), Action::kPassOn);
    EXPECT_EQ(keys.Feed(GLFW_KEY_SPACE, GLFW_PRESS, GLFW_MOD_ALT), Action::kPassOn);
    EXPECT_EQ(keys.Feed(GLFW_KEY_ESCAPE, GLFW_PRESS, 0), Action::kPassOn);
}

TEST(MonitorUnder, TheMonitorHoldingMostOfTheWindowWins) {
    const std::vector<ScreenRect> monitors = {{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}, {-1024, 200, 1024, 768}};
    EXPECT_EQ(MonitorUnder({100, 100, 640, 480}, monitors), 0);
    EXPECT_EQ(MonitorUnder({1600, 100, 640, 480}, monitors), 0);  // 320 columns on each: a tie stays first
    EXPECT_EQ(MonitorUnder({1601, 100, 640, 480}, monitors), 1);
    EXPECT_EQ(MonitorUnder({1599, 100, 640, 480}, monitors), 0);
    EXPECT_EQ(MonitorUnder({-700, 300, 640, 480}, monitors), 2);
}

// Diagonal neighbours share no column and no row: a monitor beside the window
// on both axes overlaps it by nothing, not by a product of two negative spans.
TEST(MonitorUnder, DiagonalMonitorsCountOnlyWhatTheyTrulyCover) {
    const std::vector<ScreenRect> monitors = {{0, 0, 1920, 1080}, {1920, 1080, 1920, 1080}};
    EXPECT_EQ(MonitorUnder({100, 100, 640, 480}, monitors), 0);
    EXPECT_EQ(MonitorUnder({-300, -200, 640, 480}, monitors), 0);  // half off the desktop, beside only the first
    EXPECT_EQ(MonitorUnder({3000, 1500, 640, 480}, monitors), 1);
    // Straddling the shared corner: 220 x 180 on the first, 420 x 300 on the second.
    EXPECT_EQ(MonitorUnder({1700, 900, 640, 480}, monitors), 1);
    // And the other way round: 500 x 460 on the first, 140 x 20 on the second.
    EXPECT_EQ(MonitorUnder({1420, 620, 640, 480}, monitors), 0);
}

TEST(MonitorUnder, AWindowOffEveryMonitorGoesToTheFirstAndNoMonitorsMeansNone) {
    const std::vector<ScreenRect> monitors = {{0, 0, 1280, 1024}, {1280, 0, 1280, 1024}};
    EXPECT_EQ(MonitorUnder({5000, 5000, 640, 480}, monitors), 0);
    EXPECT_EQ(MonitorUnder({1280, 1024, 640, 480}, monitors), 0);  // touching corners only
    EXPECT_EQ(MonitorUnder({100, 100, 640, 480}, {}), -1);
}

}  // namespace
