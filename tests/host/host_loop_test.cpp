// The main loop and the event dispatch, driven through a scripted window.
#include <gtest/gtest.h>

#include <algorithm>

#include "runtime/gc.h"
#include "tests/host/fake_host.h"

namespace {

constexpr double kPeriod = 1.0 / 60;

struct HostLoopTest : ::testing::Test {
    FakeHost host;
    FakeWindow& window = *host.window;
    HxGlfwGame& game = *host.game;
    RecordingDelegate& delegate = *host.delegate;

    // The calls after index `from`, without the ones a test is not about.
    std::vector<std::string> CallsFrom(size_t from) const {
        return std::vector<std::string>(delegate.calls.begin() + static_cast<long>(from), delegate.calls.end());
    }
    void StartAt60() {
        delegate.hook = [this](const std::string& call) {
            if (call == "StartGame") game.SetUpdateRate(60);
        };
    }
};

TEST_F(HostLoopTest, FirstFrameIsRenderedBeforeTheFirstUpdate) {
    StartAt60();
    window.closeAfterPolls = 3;
    game.Run();
    ASSERT_GE(delegate.calls.size(), 3u);
    EXPECT_EQ(delegate.calls[0], "StartGame");
    EXPECT_EQ(delegate.calls[1], "RenderGame");
    EXPECT_EQ(window.attached, &game);
    auto firstUpdate = std::find(delegate.calls.begin(), delegate.calls.end(), "UpdateGame");
    ASSERT_NE(firstUpdate, delegate.calls.end());
    EXPECT_GT(firstUpdate - delegate.calls.begin(), 1);
}

TEST_F(HostLoopTest, AheadOfScheduleSleepsExactlyTheRemainingTime) {
    StartAt60();
    window.closeAfterPolls = 2;
    window.now = 5.0;
    game.Run();
    ASSERT_EQ(window.sleeps.size(), 1u);
    EXPECT_NEAR(window.sleeps[0], kPeriod, 1e-12);
    EXPECT_EQ(delegate.Count("UpdateGame"), 0);
}

TEST_F(HostLoopTest, OnTimeLoopRunsOneUpdateAndOneRenderPerPeriod) {
    delegate.hook = [&](const std::string& call) {
        if (call == "StartGame") game.SetUpdateRate(60);
        if (call == "UpdateGame" && delegate.Count("UpdateGame") == 60) window.closeAfterPolls = 0;
    };
    game.Run();
    EXPECT_EQ(delegate.Count("UpdateGame"), 60);
    EXPECT_EQ(delegate.Count("RenderGame"), 61);  // plus the first frame
    EXPECT_NEAR(window.now, 60 * kPeriod, 1e-9);
    // Every update is followed by its render: never two updates in a pass.
    for (size_t i = 0; i + 1 < delegate.calls.size(); ++i)
        if (delegate.calls[i] == "UpdateGame") {
            EXPECT_EQ(delegate.calls[i + 1], "RenderGame");
        }
}

TEST_F(HostLoopTest, HundredMillisecondFrameGivesFourUpdatesOneRenderAndAReset) {
    bool slow = false;
    delegate.hook = [&](const std::string& call) {
        if (call == "StartGame") game.SetUpdateRate(60);
        // The frame after the first update takes 100 ms.
        if (call == "UpdateGame" && delegate.Count("UpdateGame") == 1) slow = true;
        if (call == "RenderGame" && slow) {
            window.now += 0.100;
            slow = false;
        }
    };
    window.closeAfterPolls = 4;  // pass 1 sleeps, 2 updates once, 3 catches up
    game.Run();
    EXPECT_EQ(CallsFrom(delegate.calls.size() - 5),
              (std::vector<std::string>{"UpdateGame", "UpdateGame", "UpdateGame", "UpdateGame", "RenderGame"}));
    EXPECT_EQ(delegate.Count("UpdateGame"), 5);
    EXPECT_DOUBLE_EQ(game.Scheduler().NextUpdateTime(), window.now);
}

TEST_F(HostLoopTest, RateSetToZeroInsideAnUpdateSwitchesToRenderPerMessage) {
    delegate.hook = [&](const std::string& call) {
        if (call == "StartGame") game.SetUpdateRate(60);
        if (call == "UpdateGame") game.SetUpdateRate(0);
    };
    window.now = 0;
    window.onPoll = [&](int) { window.now += 1.0; };  // always far behind
    window.closeAfterPolls = 6;
    game.Run();
    EXPECT_EQ(delegate.Count("UpdateGame"), 1);
    // From then on: one render per wait for a window message.
    EXPECT_GE(window.waits, 1);
    EXPECT_EQ(delegate.Count("RenderGame"), 2 + window.waits);
}

TEST_F(HostLoopTest, IdleWithoutRateRendersAndWaitsForMessages) {
    window.closeAfterPolls = 7;  // each idle pass polls twice
    game.Run();
    EXPECT_EQ(window.waits, 3);
    EXPECT_EQ(delegate.Count("RenderGame"), 1 + 3);
    EXPECT_EQ(delegate.Count("UpdateGame"), 0);
}

TEST_F(HostLoopTest, MinimisingSuspendsOnceAndStopsRenderingUntilRestored) {
    StartAt60();
    window.onPoll = [&](int poll) {
        window.now += 0.5;
        if (poll == 3) window.iconified = true;
        if (poll == 11) window.iconified = false;
    };
    window.closeAfterPolls = 16;
    game.Run();
    EXPECT_EQ(delegate.Count("SuspendGame"), 1);
    EXPECT_EQ(delegate.Count("ResumeGame"), 1);
    auto suspend = std::find(delegate.calls.begin(), delegate.calls.end(), "SuspendGame");
    auto resume = std::find(delegate.calls.begin(), delegate.calls.end(), "ResumeGame");
    EXPECT_EQ(std::count(suspend, resume, "RenderGame"), 0);
    EXPECT_EQ(std::count(suspend, resume, "UpdateGame"), 0);
    EXPECT_GT(std::count(resume, delegate.calls.end(), "UpdateGame"), 0);
    EXPECT_FALSE(game.Iconified());
}

TEST_F(HostLoopTest, RestoredButInactiveWindowStaysSuspended) {
    StartAt60();
    window.onPoll = [&](int poll) {
        if (poll == 2) window.iconified = true;
        if (poll == 4) {
            window.iconified = false;
            window.active = false;
        }
    };
    window.closeAfterPolls = 10;
    game.Run();
    EXPECT_EQ(delegate.Count("SuspendGame"), 1);
    EXPECT_EQ(delegate.Count("ResumeGame"), 0);
    EXPECT_TRUE(game.Suspended());
    // Still counted as minimised until it resumes: nothing is rendered.
    EXPECT_EQ(std::count(std::find(delegate.calls.begin(), delegate.calls.end(), "SuspendGame"),
                         delegate.calls.end(), "RenderGame"),
              0);
}

TEST_F(HostLoopTest, LosingTheFocusIsReportedOncePerLossAndRegainingItResumesNothing) {
    StartAt60();
    window.onPoll = [&](int poll) {
        window.now += 0.02;
        if (poll == 3) window.active = false;
        if (poll == 7) window.active = true;
        if (poll == 9) window.active = false;
    };
    window.closeAfterPolls = 14;
    game.Run();
    EXPECT_EQ(delegate.Count("FocusLost"), 2);
    EXPECT_EQ(delegate.Count("SuspendGame"), 0);
    EXPECT_EQ(delegate.Count("ResumeGame"), 0);
    // Play goes on while unfocused; pausing is the application's choice.
    auto lost = std::find(delegate.calls.begin(), delegate.calls.end(), "FocusLost");
    EXPECT_GT(std::count(lost, delegate.calls.end(), "UpdateGame"), 2);
}

TEST_F(HostLoopTest, MinimisingReportsTheFocusLossBeforeSuspending) {
    StartAt60();
    window.onPoll = [&](int poll) {
        if (poll == 3) window.iconified = true;  // still active, as some window systems leave it
    };
    window.closeAfterPolls = 6;
    game.Run();
    EXPECT_EQ(delegate.Count("FocusLost"), 1);
    auto lost = std::find(delegate.calls.begin(), delegate.calls.end(), "FocusLost");
    auto suspend = std::find(delegate.calls.begin(), delegate.calls.end(), "SuspendGame");
    EXPECT_LT(lost, suspend);
}

TEST_F(HostLoopTest, AWindowThatNeverHadTheFocusLosesNothing) {
    StartAt60();
    window.active = false;
    window.onPoll = [&](int) { window.now += 0.02; };
    window.closeAfterPolls = 5;
    game.Run();
    EXPECT_EQ(delegate.Count("FocusLost"), 0);
}

TEST_F(HostLoopTest, ResumeRestartsTheScheduleFromTheMomentOfResuming) {
    StartAt60();
    window.onPoll = [&](int poll) {
        if (poll == 2) window.iconified = true;
        if (poll == 4) {
            window.now += 100.0;  // a long time minimised
            window.iconified = false;
        }
    };
    size_t resumeIndex = 0;
    int updatesAfterResume = -1;
    delegate.hook = [&](const std::string& call) {
        if (call == "StartGame") game.SetUpdateRate(60);
        if (call == "ResumeGame") resumeIndex = delegate.calls.size();
    };
    window.closeAfterPolls = 5;
    game.Run();
    updatesAfterResume = static_cast<int>(std::count(delegate.calls.begin() + static_cast<long>(resumeIndex),
                                                     delegate.calls.end(), "UpdateGame"));
    // One update is due right away, none of the 6000 missed ones.
    EXPECT_EQ(updatesAfterResume, 1);
}

TEST_F(HostLoopTest, LoopEndsWhenTheWindowIsGone) {
    window.closeAfterPolls = 1;
    game.Run();
    EXPECT_EQ(window.polls, 1);
}

// ---- dispatch guards ------------------------------------------------------------

TEST_F(HostLoopTest, EventsBeforeStartAreDropped) {
    game.KeyEvent(EVENT_KEY_DOWN, 65);
    game.MouseEvent(EVENT_MOUSE_MOVE, -1, 1, 2);
    game.TouchEvent(7, 0, 1, 2);
    game.MotionEvent(10, 0, 1, 2, 3);
    game.RenderGame();
    game.UpdateGame();
    game.SuspendGame();
    game.ResumeGame();
    game.DiscardGraphics();
    EXPECT_TRUE(delegate.calls.empty());
    EXPECT_FALSE(game.Started());
}

TEST_F(HostLoopTest, StartHappensOnceAndSuspendResumeAlternate) {
    game.StartGame();
    game.StartGame();
    game.ResumeGame();  // not suspended: ignored
    game.SuspendGame();
    game.SuspendGame();
    game.UpdateGame();  // suspended: ignored
    game.RenderGame();  // still runs while suspended
    game.KeyEvent(EVENT_KEY_DOWN, 65);
    game.ResumeGame();
    game.UpdateGame();
    EXPECT_EQ(delegate.calls, (std::vector<std::string>{"StartGame", "SuspendGame", "RenderGame",
                                                         "KeyEvent(1,65)", "ResumeGame", "UpdateGame"}));
}

TEST_F(HostLoopTest, EveryEventKindReachesTheDelegateUnchanged) {
    game.StartGame();
    game.TouchEvent(7, 3, 10, 20);
    game.MotionEvent(10, 0, 1, 2, 3);
    game.DiscardGraphics();
    EXPECT_EQ(CallsFrom(1), (std::vector<std::string>{"TouchEvent(7,3,10,20)", "MotionEvent(10,0,1,2,3)",
                                                       "DiscardGraphics"}));
}

TEST_F(HostLoopTest, ACollectorStepFollowsEveryDispatch) {
    game.StartGame();
    gc::SetForce();  // the next step is a full collection, which clears the flag
    game.KeyEvent(EVENT_KEY_DOWN, 1);
    EXPECT_FALSE(gc::GetStats().forceFlag);
    // The delegate is marked by the host and survives the full collection.
    EXPECT_TRUE(gc::IsLive(&delegate));
    gc::SetForce();
    game.RenderGame();
    EXPECT_FALSE(gc::GetStats().forceFlag);
}

TEST_F(HostLoopTest, GuardedEventsDoNotStepTheCollector) {
    gc::SetForce();
    game.UpdateGame();  // not started: returns before the step
    EXPECT_TRUE(gc::GetStats().forceFlag);
    gc::CollectStep();
}

using HostDeathTest = HostLoopTest;

TEST_F(HostDeathTest, AnExceptionEscapingTheDelegateEndsTheProgramThroughDie) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            delegate.hook = [](const std::string& call) {
                if (call == "UpdateGame") throw 42;
            };
            game.StartGame();
            game.UpdateGame();
        },
        ::testing::ExitedWithCode(255), "");
}

// ---- platform services through the fakes ------------------------------------

TEST_F(HostLoopTest, MillisecsTruncatesTheClockTowardZero) {
    window.now = 1.2349;
    EXPECT_EQ(game.Millisecs(), 1234);
    window.now = 0;
    EXPECT_EQ(game.Millisecs(), 0);
}

TEST_F(HostLoopTest, MouseVisibilityGoesToTheWindow) {
    game.SetMouseVisible(false);
    EXPECT_FALSE(window.cursorVisible);
    game.SetMouseVisible(true);
    EXPECT_TRUE(window.cursorVisible);
}

TEST_F(HostLoopTest, TheOneHostIsReachedThroughTheInterface) {
    EXPECT_EQ(HxGame::Current(), &game);
}

TEST_F(HostLoopTest, KeyboardFlagIsOnlyStored) {
    EXPECT_FALSE(game.KeyboardEnabled());
    game.SetKeyboardEnabled(true);
    EXPECT_TRUE(game.KeyboardEnabled());
}

}  // namespace
