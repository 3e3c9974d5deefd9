#include "host/pacing_report.h"

#include <cstdio>
#include <cstdlib>

PacingReport::PacingReport(bool enabled, double start)
    : enabled_(enabled), start_(start), nextLine_(start + kInterval) {}

bool PacingReport::Requested() { return std::getenv("SOLBRIM_PACING_LOG") != nullptr; }

void PacingReport::AfterRender(double now, const FrameScheduler& scheduler) {
    ++renders_;
    if (!enabled_ || now < nextLine_) return;
    nextLine_ += kInterval;
    std::string line = Line(now - start_, scheduler.UpdatesRun(), renders_, scheduler.DroppedUpdates());
    // Flushed at once: whoever reads it may stop the program any time.
    std::fprintf(stdout, "%s\n", line.c_str());
    std::fflush(stdout);
}

std::string PacingReport::Line(double seconds, long long updates, long long renders, long long dropped) {
    char text[128];
    std::snprintf(text, sizeof text, "pacing: %.0f s, %lld updates, %lld renders, %lld dropped", seconds, updates,
                  renders, dropped);
    return text;
}
