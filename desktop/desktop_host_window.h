// DesktopHostWindow: the game window on the Linux desktop, whose
// fullscreen shortcut takes the whole monitor (see fullscreen_toggle.h).
#pragma once
#include "desktop/fullscreen_toggle.h"
#include "glfw/glfw_host_window.h"

class DesktopHostWindow : public GlfwHostWindow {
public:
    explicit DesktopHostWindow(GLFWwindow* window) : GlfwHostWindow(window), fullscreen_(window) {}

protected:
    void ToggleFullscreen() override { fullscreen_.Toggle(); }

private:
    FullscreenToggle fullscreen_;
};
