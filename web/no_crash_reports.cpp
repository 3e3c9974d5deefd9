// The browser build writes no crash reports: the page shows a runtime error
// or a crash over the canvas and in the console instead, and the report
// writer's directory and signal calls do not exist there.
#include "desktop/crash_report.h"

void InstallCrashReports(const char* /*folder*/) {}
void SetCrashReportWindowSize(int /*width*/, int /*height*/) {}
void SetCrashReportResolutionLevel(int /*level*/) {}
void WriteCrashReport(const char* /*message*/, int /*signal*/) {}
