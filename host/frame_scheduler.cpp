#include "host/frame_scheduler.h"

#include <cmath>
#include <utility>

FrameScheduler::FrameScheduler(std::function<double()> now) : now_(std::move(now)) {}

void FrameScheduler::SetRate(int rate) {
    rate_ = rate;
    if (rate == 0) return;
    period_ = 1.0 / rate;
    next_ = now_() + period_;
}

double FrameScheduler::TimeUntilDue() const { return next_ - now_(); }

void FrameScheduler::Restart() { next_ = now_(); }

int FrameScheduler::RunDueUpdates(const std::function<void()>& update) {
    behind_ = false;
    int count = 0;
    while (count < kMaxUpdatesPerFrame) {
        next_ += period_;
        update();
        ++count;
        ++updatesRun_;
        if (rate_ == 0) return count;
        if (next_ - now_() > 0) return count;
    }
    behind_ = true;
    return count;
}

void FrameScheduler::DropBacklogIfBehind() {
    if (rate_ != 0 && behind_) {
        const double now = now_();
        // A hair of slack, so that a backlog of exactly n periods counts n.
        dropped_ += static_cast<long long>(std::floor((now - next_) / period_ + 1e-6));
        next_ = now;
    }
    behind_ = false;
}
