// The one game window: the window library started, the window opened,
// centred, titled and given its icon, its context current.
#pragma once
#include <string>

struct GLFWwindow;

constexpr int kWindowWidth = 640;
constexpr int kWindowHeight = 480;
inline constexpr const char* kWindowTitle = "Sol Brim";

// Initialises the window library and opens the 640 x 480 resizable game
// window without depth or stencil buffer, centred on the primary monitor's
// desktop mode, titled "Sol Brim" and given the icon files of dataFolder;
// its context is made current. The library is terminated when the process
// exits. On failure prints "glfwInit failed" or "glfwOpenWindow failed" and
// exits with code -1.
GLFWwindow* OpenGameWindow(const std::string& dataFolder);

// The window position that centres a window on a desktop (integer division
// toward zero; negative on a desktop smaller than the window).
void CentredWindowPosition(int desktopWidth, int desktopHeight, int* x, int* y);
