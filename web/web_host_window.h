// WebHostWindow: the GLFW window of Emscripten's port (the page's canvas),
// seen by the loop as a window that never blocks, since the browser calls
// each frame itself, and that is iconified while the page is hidden. The
// page decides the canvas's size; the window follows it.
#pragma once
#include "desktop/glfw_host_window.h"

class WebHostWindow : public GlfwHostWindow {
public:
    using GlfwHostWindow::GlfwHostWindow;

    void WaitEvents() override {}
    void Sleep(double /*seconds*/) override {}
    bool IsIconified() override;
    bool IsActive() override;
};

// Gives the canvas a drawing buffer of width x height pixels and makes that
// the window's size, so the game lays itself out again as after a desktop
// resize. Before the window is open only the canvas changes.
void ResizeCanvas(int width, int height);
// The canvas's drawing buffer as it is.
void CanvasSize(int* width, int* height);
