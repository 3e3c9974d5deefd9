#include "input/joy_state.h"

c_JoyState::c_JoyState()
    : joyx(kSticks), joyy(kSticks), joyz(kSticks), buttons(kButtons) {}

void c_JoyState::Mark() {
    gc_mark(joyx);
    gc_mark(joyy);
    gc_mark(joyz);
    gc_mark(buttons);
}
