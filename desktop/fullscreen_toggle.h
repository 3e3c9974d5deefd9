// Fullscreen on the desktop: the fullscreen shortcut (see
// glfw/fullscreen_shortcut.h) switches the game window between its window
// and the whole monitor it stands on.
//
// Rules:
// - Fullscreen takes the monitor's current video mode, so the display never
//   switches modes; going back restores the window's last place and size.
// - The window, its title, its icon and its GL context stay the same
//   throughout, so every texture survives and the game simply sees a resize.
// - Without monitor information the toggle does nothing.
#pragma once
#include <span>

struct GLFWwindow;

struct ScreenRect {
    int x = 0, y = 0, width = 0, height = 0;
};

// Index of the monitor that holds the largest part of the window; the first
// monitor when none overlaps it; -1 without monitors.
int MonitorUnder(const ScreenRect& window, std::span<const ScreenRect> monitors);

class FullscreenToggle {
public:
    explicit FullscreenToggle(GLFWwindow* window) : window_(window) {}
    void Toggle();

private:
    void Enter();
    GLFWwindow* window_;
    ScreenRect windowed_;
};
