#include "glfw/fullscreen_shortcut.h"

#include <GLFW/glfw3.h>

FullscreenShortcut::Action FullscreenShortcut::Feed(int key, int action, int mods) {
    if (key == GLFW_KEY_F11) return action == GLFW_PRESS ? Action::kToggle : Action::kSwallow;
    if (key != GLFW_KEY_ENTER) return Action::kPassOn;
    if (action == GLFW_PRESS && (mods & GLFW_MOD_ALT) != 0) {
        enterTaken_ = true;
        return Action::kToggle;
    }
    if (!enterTaken_) return Action::kPassOn;
    if (action == GLFW_RELEASE) enterTaken_ = false;
    return Action::kSwallow;
}
