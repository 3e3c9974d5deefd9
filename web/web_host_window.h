// WebHostWindow: the GLFW window of Emscripten's port (the page's canvas),
// seen by the loop as a window that never blocks, since the browser calls
// each frame itself, and that is iconified while the page is hidden.
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
