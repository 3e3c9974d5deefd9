// PacingReport: how well the main loop keeps its 60 updates a second, for
// whoever watches a long run (the soak, a frame-pacing check). When the
// environment sets SOLBRIM_PACING_LOG, the loop prints one line to standard
// output every 10 s of run time with its counts since the start:
//
//   pacing: 60 s, 3600 updates, 3598 renders, 0 dropped
//
// "dropped" counts the updates the fixed-step loop discarded with a backlog
// it could not catch up. Without the variable nothing is printed.
#pragma once
#include <string>

#include "host/frame_scheduler.h"

class PacingReport {
public:
    static constexpr double kInterval = 10.0;

    // enabled: print the lines; start: the clock at the start of the loop.
    PacingReport(bool enabled, double start);
    // Whether the environment asks for the lines.
    static bool Requested();

    // After each loop pass that rendered a frame.
    void AfterRender(double now, const FrameScheduler& scheduler);
    long long Renders() const { return renders_; }

    static std::string Line(double seconds, long long updates, long long renders, long long dropped);

private:
    bool enabled_;
    double start_;
    double nextLine_;
    long long renders_ = 0;
};
