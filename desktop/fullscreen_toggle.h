// Fullscreen: F11 and Alt+Enter switch the game window between its window
// and the whole monitor it stands on.
//
// Rules:
// - The shortcut's keys never reach the game: not the press, nor its repeats,
//   nor the release (an Enter that started a game on the title, or an F11
//   the game might one day read, would act behind the player's back).
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

// Reads key events (GLFW key, action and modifier bits) and says what the
// fullscreen shortcut makes of each.
class FullscreenShortcut {
public:
    enum class Action { kPassOn, kSwallow, kToggle };
    Action Feed(int key, int action, int mods);

private:
    // Enter went down as part of Alt+Enter; its repeats and release are ours.
    bool enterTaken_ = false;
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
