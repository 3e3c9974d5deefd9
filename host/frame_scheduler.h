// FrameScheduler: the fixed-step timing decision of the main loop, kept
// apart from the window so it can be driven by a fake clock.
//
// Each update advances the schedule by exactly one period; a loop pass runs
// at most kMaxUpdatesPerFrame updates and, if still behind after that, drops
// the backlog (the game slows down instead of spiralling).
#pragma once
#include <functional>

class FrameScheduler {
public:
    static constexpr int kMaxUpdatesPerFrame = 4;

    // now: the clock in seconds.
    explicit FrameScheduler(std::function<double()> now);

    // A rate of 0 keeps the old period and due time (no fixed updates).
    void SetRate(int rate);
    int Rate() const { return rate_; }
    double Period() const { return period_; }
    double NextUpdateTime() const { return next_; }

    // Seconds until the next update is due (<= 0: due now).
    double TimeUntilDue() const;
    // Restarts the schedule from now (after a resume: no catch-up).
    void Restart();

    // Runs the updates that are due, at most kMaxUpdatesPerFrame. update may
    // change the rate (through SetRate); a rate of 0 stops the run. Returns the
    // number of updates run.
    int RunDueUpdates(const std::function<void()>& update);
    // Drops the backlog when the last RunDueUpdates ran the maximum and was
    // still behind. Called after the frame is rendered.
    void DropBacklogIfBehind();

    // Since the scheduler was made: updates run, and updates that were due
    // but dropped with a backlog (whole periods; the one due now still runs).
    long long UpdatesRun() const { return updatesRun_; }
    long long DroppedUpdates() const { return dropped_; }

private:
    std::function<double()> now_;
    int rate_ = 0;
    double period_ = 0.0;
    double next_ = 0.0;
    bool behind_ = false;
    long long updatesRun_ = 0;
    long long dropped_ = 0;
};
