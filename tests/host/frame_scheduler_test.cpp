#include "host/frame_scheduler.h"

#include <gtest/gtest.h>

#include "host/pacing_report.h"

namespace {

constexpr double kPeriod = 1.0 / 60;

struct SchedulerTest : ::testing::Test {
    double now = 10.0;
    FrameScheduler scheduler{[this] { return now; }};
    int updates = 0;
    std::function<void()> update = [this] { ++updates; };
};

TEST_F(SchedulerTest, SettingARateSchedulesTheFirstUpdateOnePeriodAhead) {
    scheduler.SetRate(60);
    EXPECT_DOUBLE_EQ(scheduler.Period(), kPeriod);
    EXPECT_DOUBLE_EQ(scheduler.NextUpdateTime(), 10.0 + kPeriod);
    EXPECT_GT(scheduler.TimeUntilDue(), 0);
}

TEST_F(SchedulerTest, RateZeroKeepsPeriodAndDueTime) {
    scheduler.SetRate(60);
    double due = scheduler.NextUpdateTime();
    now = 20;
    scheduler.SetRate(0);
    EXPECT_EQ(scheduler.Rate(), 0);
    EXPECT_DOUBLE_EQ(scheduler.Period(), kPeriod);
    EXPECT_DOUBLE_EQ(scheduler.NextUpdateTime(), due);
}

TEST_F(SchedulerTest, OnTimeRunsOneUpdateAndAdvancesByExactlyOnePeriod) {
    scheduler.SetRate(60);
    for (int frame = 1; frame <= 120; ++frame) {
        now = 10.0 + frame * kPeriod + 1e-9;
        ASSERT_LE(scheduler.TimeUntilDue(), 0);
        ASSERT_EQ(scheduler.RunDueUpdates(update), 1) << "frame " << frame;
        scheduler.DropBacklogIfBehind();
        ASSERT_NEAR(scheduler.NextUpdateTime(), 10.0 + (frame + 1) * kPeriod, 1e-9);
    }
    EXPECT_EQ(updates, 120);
}

TEST_F(SchedulerTest, LateByHundredMillisecondsRunsFourUpdatesThenResetsToNow) {
    scheduler.SetRate(60);
    now = scheduler.NextUpdateTime() + 0.100;
    EXPECT_EQ(scheduler.RunDueUpdates(update), 4);
    EXPECT_EQ(updates, 4);
    EXPECT_NEAR(scheduler.NextUpdateTime(), 10.0 + 5 * kPeriod, 1e-9);  // before the drop
    scheduler.DropBacklogIfBehind();
    EXPECT_DOUBLE_EQ(scheduler.NextUpdateTime(), now);
}

TEST_F(SchedulerTest, ModeratelyLateCatchesUpWithoutDroppingTheSchedule) {
    scheduler.SetRate(60);
    double first = scheduler.NextUpdateTime();
    now = first + 1.5 * kPeriod;  // due: first, first+p (and first+2p still ahead)
    EXPECT_EQ(scheduler.RunDueUpdates(update), 2);
    scheduler.DropBacklogIfBehind();
    EXPECT_NEAR(scheduler.NextUpdateTime(), first + 2 * kPeriod, 1e-9);
}

TEST_F(SchedulerTest, FourthUpdateThatCatchesUpKeepsTheSchedule) {
    scheduler.SetRate(60);
    double first = scheduler.NextUpdateTime();
    now = first + 3.5 * kPeriod;
    EXPECT_EQ(scheduler.RunDueUpdates(update), 4);
    scheduler.DropBacklogIfBehind();
    EXPECT_NEAR(scheduler.NextUpdateTime(), first + 4 * kPeriod, 1e-9);
}

// An update due exactly now runs in this pass. A rate of 4 makes the period
// (0.25 s) and every due time exact in binary, so "exactly" means exactly.
TEST_F(SchedulerTest, AnUpdateDueExactlyNowRunsInThisPass) {
    const struct {
        double now;
        int updates;
    } cases[] = {{10.5 - 1.0 / 1024, 1}, {10.5, 2}, {10.5 + 1.0 / 1024, 2}, {10.75, 3}};
    for (auto c : cases) {
        now = 10.0;
        scheduler.SetRate(4);  // first update due at 10.25, the second at 10.5
        now = c.now;
        EXPECT_EQ(scheduler.RunDueUpdates(update), c.updates) << "now " << c.now;
        EXPECT_DOUBLE_EQ(scheduler.NextUpdateTime(), 10.0 + 0.25 * (c.updates + 1)) << "now " << c.now;
    }
}

TEST_F(SchedulerTest, RateSetToZeroInsideAnUpdateStopsTheRun) {
    scheduler.SetRate(60);
    now = scheduler.NextUpdateTime() + 1.0;  // far behind
    int n = scheduler.RunDueUpdates([&] {
        ++updates;
        scheduler.SetRate(0);
    });
    EXPECT_EQ(n, 1);
    EXPECT_EQ(updates, 1);
    double due = scheduler.NextUpdateTime();
    scheduler.DropBacklogIfBehind();  // rate 0: nothing dropped
    EXPECT_DOUBLE_EQ(scheduler.NextUpdateTime(), due);
}

TEST_F(SchedulerTest, NewRateInsideAnUpdateRestartsTheScheduleFromNow) {
    scheduler.SetRate(60);
    now = scheduler.NextUpdateTime() + 1.0;
    int n = scheduler.RunDueUpdates([&] { scheduler.SetRate(30); });
    EXPECT_EQ(n, 1);
    EXPECT_DOUBLE_EQ(scheduler.NextUpdateTime(), now + 1.0 / 30);
}

TEST_F(SchedulerTest, SlowUpdatesAreCountedAgainstTheClockAsTheyRun) {
    scheduler.SetRate(60);
    double first = scheduler.NextUpdateTime();
    now = first + kPeriod;
    // Each update takes 0.4 periods: after the first (schedule first + p,
    // clock first + 1.4p) the loop is behind; after the second (first + 2p
    // against first + 1.8p) it has caught up.
    int n = scheduler.RunDueUpdates([&] { now += 0.4 * kPeriod; });
    EXPECT_EQ(n, 2);
}

TEST_F(SchedulerTest, DroppedUpdatesCountTheWholePeriodsOfABacklog) {
    scheduler.SetRate(60);
    const double first = scheduler.NextUpdateTime();
    // 100 ms late: 7 updates due (first .. first + 6p); 4 run, the one due
    // at the reset runs in the next pass, 2 are dropped.
    now = first + 0.100;
    scheduler.RunDueUpdates(update);
    scheduler.DropBacklogIfBehind();
    EXPECT_EQ(scheduler.DroppedUpdates(), 2);
    // Caught up in the next pass: nothing more is dropped.
    scheduler.RunDueUpdates(update);
    scheduler.DropBacklogIfBehind();
    EXPECT_EQ(scheduler.DroppedUpdates(), 2);
    // 7.5 periods late: 8 due, 4 run, 1 in the next pass, 3 more dropped.
    now = scheduler.NextUpdateTime() + 7.5 * kPeriod;
    EXPECT_EQ(scheduler.RunDueUpdates(update), 4);
    scheduler.DropBacklogIfBehind();
    EXPECT_EQ(scheduler.DroppedUpdates(), 5);
    EXPECT_EQ(scheduler.UpdatesRun(), 9);
    EXPECT_EQ(updates, 9);
}

TEST_F(SchedulerTest, FourUpdatesThatCatchUpDropNothing) {
    scheduler.SetRate(60);
    now = scheduler.NextUpdateTime() + 3.5 * kPeriod;
    scheduler.RunDueUpdates(update);
    scheduler.DropBacklogIfBehind();
    EXPECT_EQ(scheduler.DroppedUpdates(), 0);
    EXPECT_EQ(scheduler.UpdatesRun(), 4);
}

TEST_F(SchedulerTest, RestartAfterResumeDropsTheTimeSpentSuspended) {
    scheduler.SetRate(60);
    now += 30.0;  // suspended for half a minute
    scheduler.Restart();
    EXPECT_DOUBLE_EQ(scheduler.NextUpdateTime(), now);
    EXPECT_EQ(scheduler.RunDueUpdates(update), 1);
    EXPECT_NEAR(scheduler.NextUpdateTime(), now + kPeriod, 1e-9);
    EXPECT_EQ(scheduler.DroppedUpdates(), 0);  // suspension is not a backlog
}

TEST(PacingReport, ALineEveryTenSecondsWithTheCountsSoFar) {
    double now = 5.0;
    FrameScheduler scheduler{[&] { return now; }};
    scheduler.SetRate(60);
    PacingReport report(false, now);
    for (int pass = 0; pass < 3; ++pass) {
        now += kPeriod;
        scheduler.RunDueUpdates([] {});
        report.AfterRender(now, scheduler);
    }
    EXPECT_EQ(report.Renders(), 3);
    EXPECT_EQ(PacingReport::Line(59.6, scheduler.UpdatesRun(), report.Renders(), 12),
              "pacing: 60 s, 3 updates, 3 renders, 12 dropped");
}

}  // namespace
