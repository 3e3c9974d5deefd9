// The start-up steps of the program, in their fixed order, for main():
//
//   GameFiles files = LocateGameFilesOrExit();  // data folder and record, or exit 1
//   OpenGameWindow(files.dataFolder);           // library, window, centred, titled, icon
//   HxGame* host = new HxDesktopGame(files, window);
//   InitProgram(argc, argv, InitGlobals, CreateApp);
//   RunAndExit(host);
//
// RunProgram(argc, argv, InitGlobals, CreateApp) performs all five.
#pragma once
#include <string>

struct GLFWwindow;
class HxGame;

constexpr int kWindowWidth = 640;
constexpr int kWindowHeight = 480;
inline constexpr const char* kWindowTitle = "Sol Brim";

// Initialises the window library and opens the 640 x 480 resizable game
// window without depth or stencil buffer, centred on the primary monitor's
// desktop mode, titled "Sol Brim" and given the icon files of dataFolder;
// its context is made current. The
// library is terminated when the process exits. On
// failure prints "glfwInit failed" or "glfwOpenWindow failed" and exits with
// code -1.
GLFWwindow* OpenGameWindow(const std::string& dataFolder);

// The window position that centres a window on a desktop (integer division
// toward zero; negative on a desktop smaller than the window).
void CentredWindowPosition(int desktopWidth, int desktopHeight, int* x, int* y);

// Program initialisation, inside a guard that passes anything thrown to the
// host's Die: keeps the arguments, installs the fault handlers, initialises
// the collector, runs initGlobals, enqueues the roots, then runs createApp
// (which constructs the application and hands its delegate to the host).
void InitProgram(int argc, char** argv, void (*initGlobals)(), void (*createApp)());

// Runs the host's loop if it has a delegate, then exits with code 0.
[[noreturn]] void RunAndExit(HxGame* host);

// The whole program on the desktop host: the five steps above, in order.
[[noreturn]] void RunProgram(int argc, char** argv, void (*initGlobals)(), void (*createApp)());

int ProgramArgc();
char** ProgramArgv();
