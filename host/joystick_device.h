// JoystickDevice: one joystick port exactly as the window library reports
// it: raw axes (y positive down), raw buttons, and, for a pad its mapping
// database knows, the same pad read through that mapping. Each platform
// brings the real one; tests feed the joystick source a fake.
#pragma once
#include <span>

// A mapped gamepad's reading, in the window library's standard layout.
struct GamepadReading {
    enum Axis { kLeftX, kLeftY, kRightX, kRightY, kLeftTrigger, kRightTrigger, kAxisCount };
    enum Button {
        kA, kB, kX, kY, kLeftShoulder, kRightShoulder, kBack, kStart, kGuide,
        kLeftStick, kRightStick, kDpadUp, kDpadRight, kDpadDown, kDpadLeft, kButtonCount
    };
    // Sticks -1..1 with y positive down; triggers -1 released .. 1 full.
    float axes[kAxisCount] = {};
    bool buttons[kButtonCount] = {};
};

class JoystickDevice {
public:
    virtual ~JoystickDevice() = default;
    virtual bool Present(int port) = 0;
    // Valid until the next call for the same port.
    virtual std::span<const float> RawAxes(int port) = 0;
    virtual std::span<const unsigned char> RawButtons(int port) = 0;
    // True and *reading filled when the mapping database knows the pad.
    virtual bool ReadGamepad(int port, GamepadReading* reading) = 0;
};
