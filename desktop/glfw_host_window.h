// GlfwHostWindow: the game window as GLFW 3 provides it, presented to the
// host as one window that reports everything as events: key repeat counts
// as a press, the close button becomes an event and never closes the
// window, and mouse positions are in framebuffer pixels (the renderer's
// device size) rather than window units. F11 and Alt+Enter are taken here
// and toggle fullscreen (see fullscreen_toggle.h).
#pragma once
#include "desktop/fullscreen_toggle.h"
#include "host/host_window.h"

struct GLFWwindow;

class GlfwHostWindow : public HostWindow {
public:
    explicit GlfwHostWindow(GLFWwindow* window);

    void Attach(HxGlfwGame* game) override;
    void PollEvents() override;
    void WaitEvents() override;
    bool IsOpen() override;
    bool IsIconified() override;
    bool IsActive() override;
    double Now() override;
    void Sleep(double seconds) override;
    void SetCursorVisible(bool visible) override;

    GLFWwindow* Window() const { return window_; }

private:
    static void OnKey(GLFWwindow* w, int key, int scancode, int action, int mods);
    static void OnChar(GLFWwindow* w, unsigned int codepoint);
    static void OnMouseButton(GLFWwindow* w, int button, int action, int mods);
    static void OnCursorPos(GLFWwindow* w, double x, double y);
    static void OnClose(GLFWwindow* w);
    static void OnFramebufferSize(GLFWwindow* w, int width, int height);
    static GlfwHostWindow* From(GLFWwindow* w);
    // Window coordinates to framebuffer pixels.
    void ToFramebuffer(double x, double y, float* fx, float* fy) const;

    GLFWwindow* window_;
    HxGlfwGame* game_ = nullptr;
    FullscreenShortcut fullscreenKeys_;
    FullscreenToggle fullscreen_;
};
