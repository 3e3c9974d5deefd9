// The one game window on the desktop: the window library started, the
// game window (glfw/glfw_game_window.h) opened, centred and given its icon.
#pragma once
#include <string>

#include "glfw/glfw_game_window.h"

// Initialises the window library and opens the game window centred on the
// primary monitor's desktop mode, with the icon files of dataFolder and
// the user's extra gamepad mappings. The library is terminated when the
// process exits. On failure prints "glfwInit failed" or "glfwOpenWindow
// failed" and exits with code -1.
GLFWwindow* OpenGameWindow(const std::string& dataFolder);

// The window position that centres a window on a desktop (integer division
// toward zero; negative on a desktop smaller than the window).
void CentredWindowPosition(int desktopWidth, int desktopHeight, int* x, int* y);
