// c_JoyState: the last values read from one joystick port.
#pragma once
#include "runtime/object.h"

class c_JoyState : public Object {
public:
    static constexpr int kSticks = 2;
    static constexpr int kButtons = 32;

    c_JoyState();
    void Mark() override;

    Array<float> joyx;  // x of stick 0 and stick 1
    Array<float> joyy;  // y of stick 0 and stick 1
    Array<float> joyz;  // triggers of stick 0 and stick 1
    Array<bool> buttons;
};
