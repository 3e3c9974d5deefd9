// WebHostWindow: the GLFW window of Emscripten's port (the page's canvas),
// seen by the loop as a window that never blocks, since the browser calls
// each frame itself, and that is iconified while the page is hidden. The
// page decides the canvas's size; the window follows it.
#pragma once
#include "glfw/glfw_host_window.h"

class WebHostWindow : public GlfwHostWindow {
public:
    using GlfwHostWindow::GlfwHostWindow;

    void WaitEvents() override {}
    void Sleep(double /*seconds*/) override {}
    bool IsIconified() override;
    bool IsActive() override;

protected:
    // The page goes full screen by itself (its button, Alt+Enter, the
    // browser's F11); the window only keeps the shortcut's keys from the game.
    void ToggleFullscreen() override {}
};

// Starts the window library and opens the game window on the canvas, with
// the drawing buffer of width x height pixels the page fitted it to.
GLFWwindow* OpenCanvasWindow(int width, int height);
// Gives the canvas a drawing buffer of width x height pixels and makes that
// the window's size, so the game lays itself out again as after a desktop
// resize. Before the window is open only the canvas changes.
void ResizeCanvas(int width, int height);
// The canvas's drawing buffer as it is.
void CanvasSize(int* width, int* height);
