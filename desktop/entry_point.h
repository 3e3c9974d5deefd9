// The start-up of the desktop program, in its fixed order, for main():
//
//   InstallFailureReports();                    // crash reports and fault handlers, first
//   GameFiles files = LocateGameFilesOrExit();  // data folder and record, or exit 1
//   GLFWwindow* window = OpenGameWindow(files.dataFolder);
//   HxGame* host = new HxDesktopGame(files, window);
//   InitProgram(argc, argv, InitGlobals, CreateApp);
//   RunAndExit(host);
//
// RunProgram(argc, argv, InitGlobals, CreateApp) performs all six.
#pragma once
#include "desktop/game_window.h"
#include "host/program.h"

// Readies the crash reports and turns faults into reported runtime errors
// (host/runtime_error.h), before anything else can fault.
void InstallFailureReports();

// The whole program on the desktop: the six steps above, in order.
[[noreturn]] void RunProgram(int argc, char** argv, void (*initGlobals)(), void (*createApp)());
