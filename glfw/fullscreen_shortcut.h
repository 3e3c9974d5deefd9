// The fullscreen shortcut: F11 and Alt+Enter switch the game between its
// window and full screen, on every platform; what "full screen" means is
// the platform's own (see GlfwHostWindow::ToggleFullscreen).
//
// Rule: the shortcut's keys never reach the game: not the press, nor its
// repeats, nor the release (an Enter that started a game on the title, or
// an F11 the game might one day read, would act behind the player's back).
#pragma once

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
