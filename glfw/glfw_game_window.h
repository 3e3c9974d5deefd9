// The game window as every platform creates it through the window library:
// one 640 x 480 resizable window titled "Sol Brim", without depth or
// stencil buffer (the renderer draws flat 2D), hidden until the platform
// has placed and shown it, its context current. Starting the library and
// placing the window are the platform's.
#pragma once

struct GLFWwindow;

constexpr int kWindowWidth = 640;
constexpr int kWindowHeight = 480;
inline constexpr const char* kWindowTitle = "Sol Brim";

// Prints message and exits with code -1: the game cannot run without its
// window.
[[noreturn]] void WindowStartupFailed(const char* message);

// Creates the game window on the started library and makes its context
// current; on failure prints "glfwOpenWindow failed" and exits with -1.
GLFWwindow* CreateGameWindow();
