// The game object's life: construction, OnCreate, suspension, the order of
// one update, the screen dispatch, the F10 read-out and the close button.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "game/game_constants.h"
#include "game/game_globals.h"
#include "host/hx_game.h"
#include "runtime/random.h"
#include "tests/game/game_fixture.h"

namespace {

class LifecycleTest : public GameTest {};

template <typename T>
bool AllZero(const Array<T>& values) {
    for (int i = 0; i < values.Length(); ++i)
        if (values[i] != T()) return false;
    return true;
}

TEST_F(LifecycleTest, ZeroStateClearsEveryFieldAfterAGame) {
    c_MyApp* app = App();
    app->gameMode = 3;
    app->screen = kScreenNewGame;
    PressPointer(300, 200);
    for (int t = 0; t < 130; ++t) {
        MovePointer(300 + t % 37, 200 - t % 23);
        RunFrames(1);
    }
    ASSERT_EQ(app->screen, kScreenPlay);
    ASSERT_NE(app->drawCount, 0);

    app->ZeroState();
    const MyAppScalars fresh;
    EXPECT_EQ(std::memcmp(static_cast<const MyAppScalars*>(app), &fresh, sizeof fresh), 0);
    EXPECT_EQ(app->popupWidth, 160);  // a field whose constructed value is not 0
#define CHECK_ARRAY(type, name, length)                    \
    EXPECT_TRUE(AllZero(app->name)) << #name;              \
    EXPECT_EQ(app->name.Length(), length) << #name;
    SOLBRIM_MY_APP_ARRAYS(CHECK_ARRAY)
#undef CHECK_ARRAY
    EXPECT_TRUE(app->tunePlayer);
}

TEST_F(LifecycleTest, OnCreateSetsTheStartState) {
    c_MyApp* app = App();
    Game().Reset(false);
    EXPECT_EQ(app->screen, kScreenTitle);
    EXPECT_EQ(Game().Host()->UpdateRate(), 60);
    EXPECT_EQ(app->lastDeviceWidth, 640);
    EXPECT_EQ(app->lastDeviceHeight, 480);
    EXPECT_EQ(app->loadStep, 1);
    EXPECT_EQ(app->gameMode, 2);
    EXPECT_EQ(app->titleSlide, -32);
    EXPECT_EQ(app->paused, 0);
    EXPECT_EQ(app->pauseMenuDir, -1);
    EXPECT_EQ(app->pauseMenuY, -64);
    EXPECT_EQ(app->settings[kSettingSoundMode], 1);
    for (int i = 0; i < 33; ++i) EXPECT_EQ(app->channelOrder[i], i);
    EXPECT_EQ(debugMode, 0);  // the read-out starts off in every run
    EXPECT_EQ(randomSeed, 1234);
    EXPECT_EQ(musicEnabled, SOLBRIM_MUSIC);
}

TEST_F(LifecycleTest, SuspendingDuringPlayComesBackPausedWithTheMenuOpen) {
    c_MyApp* app = App();
    RecordingHost* host = Game().Host();
    app->NewGame();
    app->screen = kScreenPlay;
    app->paused = 0;
    arcadeMode = 1;
    host->SuspendGame();
    EXPECT_EQ(arcadeMode, 0);
    EXPECT_EQ(app->paused, 1);
    EXPECT_EQ(app->pauseMenuDir, 1);
    EXPECT_EQ(app->pauseMenuY, 240);
    EXPECT_EQ(host->UpdateRate(), 5);
    app->paused = 0;  // whatever happened meanwhile, resuming pauses again
    host->ResumeGame();
    EXPECT_EQ(app->paused, 1);
    EXPECT_EQ(app->pauseMenuY, 240);
    EXPECT_EQ(host->UpdateRate(), 60);
    RunFrames(3);
    EXPECT_EQ(app->paused, 1);
    EXPECT_EQ(app->pauseMenuY, 240);  // already open: it does not move
}

TEST_F(LifecycleTest, SuspendingOpensTheMenuAtHalfTheVirtualHeight) {
    c_MyApp* app = App();
    Game().ResizeWindow(1280, 480);  // a 640 x 240 virtual screen
    RunFrames(1);
    app->screen = kScreenNewGame;  // a game about to start counts as running
    Game().Host()->SuspendGame();
    EXPECT_EQ(app->pauseMenuY, 120);
    Game().Host()->ResumeGame();
    app->screen = kScreenTitle;
}

TEST_F(LifecycleTest, SuspendingOnTheTitleLeavesNothingPaused) {
    c_MyApp* app = App();
    app->paused = 1;
    app->pauseMenuDir = -1;
    app->pauseMenuY = 100;
    Game().Host()->SuspendGame();
    EXPECT_EQ(app->paused, 0);
    EXPECT_EQ(app->pauseMenuDir, 0);
    EXPECT_EQ(app->pauseMenuY, 0);
    Game().Host()->ResumeGame();
    EXPECT_EQ(app->paused, 0);
    EXPECT_EQ(app->screen, kScreenTitle);
}

TEST_F(LifecycleTest, LosingTheFocusDuringPlayOpensThePauseMenuAndComingBackLeavesItOpen) {
    c_MyApp* app = App();
    RecordingHost* host = Game().Host();
    app->NewGame();
    app->screen = kScreenPlay;
    RunFrames(2);
    app->pauseCursor = 1;
    host->FocusLost();
    EXPECT_EQ(app->paused, 1);
    EXPECT_EQ(app->pauseMenuDir, 1);
    EXPECT_EQ(app->pauseCursor, 0);
    EXPECT_EQ(app->touchLatch, 1);
    EXPECT_EQ(host->UpdateRate(), 60);  // not a suspension
    RunFrames(15);
    EXPECT_EQ(app->paused, 1);
    EXPECT_EQ(app->pauseMenuY, -64 + 13 * 24);  // slid down past the middle, and stays there
}

TEST_F(LifecycleTest, LosingTheFocusTurnsAClosingPauseMenuBack) {
    c_MyApp* app = App();
    app->NewGame();
    app->screen = kScreenPlay;
    app->paused = 1;
    app->pauseMenuDir = -1;
    app->pauseMenuY = 97;
    Game().Host()->FocusLost();
    EXPECT_EQ(app->paused, 1);
    EXPECT_EQ(app->pauseMenuDir, 1);
    RunFrames(8);
    EXPECT_EQ(app->paused, 1);
    EXPECT_EQ(app->pauseMenuY, 97 + 6 * 24);
}

TEST_F(LifecycleTest, LosingTheFocusOutsidePlayChangesNothing) {
    c_MyApp* app = App();
    RecordingHost* host = Game().Host();
    host->FocusLost();  // title
    EXPECT_EQ(app->paused, 0);
    app->creditsOpen = 1;
    host->FocusLost();
    EXPECT_EQ(app->paused, 0);
    EXPECT_EQ(app->creditsOpen, 1);
    app->creditsOpen = 0;

    app->NewGame();
    app->screen = kScreenPlay;
    app->gameOver = 1;  // the result overlay
    host->FocusLost();
    EXPECT_EQ(app->paused, 0);
    EXPECT_EQ(app->pauseMenuDir, -1);

    app->gameOver = 0;
    app->paused = 1;  // menu already open, cursor on quit
    app->pauseMenuDir = 1;
    app->pauseCursor = -1;
    host->FocusLost();
    EXPECT_EQ(app->pauseCursor, -1);
    app->screen = kScreenTitle;
    app->paused = 0;
}

TEST_F(LifecycleTest, F10TogglesTheRateReadOut) {
    c_MyApp* app = App();
    app->screen = 0;
    auto readOut = [&]() {
        // Glyphs of the read-out start at (16, height - 16), half a line lower.
        for (const DrawCommand& c : Game().Commands(kImageFont)) {
            if (c.x == 16 && c.y == virtualHeight - 16 + 5) return true;
        }
        return false;
    };
    RunFrames(1);
    EXPECT_FALSE(readOut());
    Game().TapKey(121);
    RunFrames(1);
    EXPECT_EQ(debugMode, 1);
    EXPECT_TRUE(readOut());
    // "<rate>:1.0,1.0" at scale 1: the scale is part of the text.
    int colons = 0, commas = 0;
    for (const DrawCommand& c : Game().Commands(kImageFont)) {
        colons += c.frame == ':' - 32;
        commas += c.frame == ',' - 32;
    }
    EXPECT_EQ(colons, 1);
    EXPECT_EQ(commas, 1);
    app->screen = kScreenStartGate;  // not over the start gate
    RunFrames(1);
    EXPECT_FALSE(readOut());
    app->screen = 0;
    Game().TapKey(121);
    RunFrames(1);
    EXPECT_EQ(debugMode, 0);
    app->BeginFrame(-3717, 0, 0, 0);
    RunFrames(1);
    EXPECT_FALSE(readOut());
}

TEST_F(LifecycleTest, RateMetersSurviveAClockThatStandsStillOrRunsBackwards) {
    c_MyApp* app = App();
    app->updateFps = app->updateFpsSmooth = 42;
    app->updateLastMs = Game().Host()->Millisecs() + 100000;  // "later" than now
    app->renderFps = app->renderFpsSmooth = 30;
    app->renderLastMs = Game().Host()->Millisecs() + 100000;
    RunFrames(1);
    EXPECT_EQ(app->updateFps, 42);
    EXPECT_EQ(app->updateFpsSmooth, 42);
    EXPECT_EQ(app->renderFps, 30);
    EXPECT_LE(app->updateLastMs, Game().Host()->Millisecs());
}

TEST_F(LifecycleTest, ScoreEntryLastsOneUpdateAndLoadingHoldsScreensBack) {
    c_MyApp* app = App();
    app->screen = kScreenScoreEntry;
    app->loadStep = 18;
    RunFrames(1);  // loading: no screen runs
    EXPECT_EQ(app->screen, kScreenScoreEntry);
    EXPECT_EQ(app->loadStep, 19);
    RunFrames(1);
    EXPECT_EQ(app->loadStep, 0);
    EXPECT_EQ(app->screen, kScreenScoreEntry);
    RunFrames(1);
    EXPECT_EQ(app->screen, kScreenTitle);
    app->screen = 7;  // an unknown state runs nothing
    RunFrames(2);
    EXPECT_EQ(app->screen, 7);
}

TEST_F(LifecycleTest, CreditsPanelSlidesOnEveryScreen) {
    c_MyApp* app = App();
    app->screen = 0;
    app->creditsOpen = 1;
    RunFrames(40);
    EXPECT_EQ(app->creditsSlide, 30);
    app->creditsOpen = 0;
    RunFrames(10);
    EXPECT_EQ(app->creditsSlide, 20);
}

// ---- the close button, in a child process -----------------------------------------

// An application that reports when it saves and fails loudly if a screen
// runs after the close button was hit.
class CloseProbeApp : public c_MyApp {
public:
    void SaveData() override {
        std::fprintf(stderr, "saved before quitting\n");
        c_MyApp::SaveData();
    }
    void TitleScreen() override {
        if (armed) std::abort();
    }
    void BadgePopups() override {
        if (armed) std::abort();
    }
    bool armed = false;
};

c_MyApp* MakeCloseProbe() { return new CloseProbeApp(); }

void QuitWithTheCloseButton() {
    GameHarness::SetAppFactory(MakeCloseProbe);
    Game().Reset();
    auto* app = static_cast<CloseProbeApp*>(Game().App());
    app->settings[kSettingMoveSpeed] = 7;  // changed since the last save
    app->armed = true;
    Game().TapKey(KEY_CLOSE);
    Game().RunUpdates(1);
    std::fprintf(stderr, "still running\n");
    std::exit(3);
}

TEST(CloseButtonTest, SavesAndQuitsBeforeAnyScreenRuns) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(QuitWithTheCloseButton(), testing::ExitedWithCode(0), "saved before quitting");
}

}  // namespace
