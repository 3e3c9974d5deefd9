#include "desktop/entry_point.h"

#include <utility>

#include "desktop/crash_report.h"
#include "desktop/fault_handlers.h"
#include "desktop/hx_desktop_game.h"
#include "host/game_files.h"
#include "host/runtime_error.h"

void InstallFailureReports() {
    InstallCrashReports();
    SetFailureReportWriter(WriteCrashReport);
    InstallFaultHandlers();
}

void RunProgram(int argc, char** argv, void (*initGlobals)(), void (*createApp)()) {
    InstallFailureReports();
    GameFiles files = LocateGameFilesOrExit();
    GLFWwindow* window = OpenGameWindow(files.dataFolder);
    HxGame* host = new HxDesktopGame(std::move(files), window);
    InitProgram(argc, argv, initGlobals, createApp);
    RunAndExit(host);
}
