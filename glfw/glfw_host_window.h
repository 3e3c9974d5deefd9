// GlfwHostWindow: the game window as GLFW 3 provides it, on the desktop
// and through Emscripten's port in a page, presented to the host as one
// window that reports everything as events: key repeat counts as a press,
// the close button becomes an event and never closes the window, and mouse
// positions are in framebuffer pixels (the renderer's device size) rather
// than window units. F11 and Alt+Enter are taken here (see
// fullscreen_shortcut.h); each platform says what they switch.
#pragma once
#include "glfw/fullscreen_shortcut.h"
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

protected:
    // The fullscreen shortcut was pressed: the platform switches between
    // its window and full screen in its own way.
    virtual void ToggleFullscreen() = 0;

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
};
