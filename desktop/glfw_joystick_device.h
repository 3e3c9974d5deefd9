// GlfwJoystickDevice: the joystick ports as the window library reports them,
// with its gamepad mapping database where the library has one.
#pragma once
#include "host/joystick_device.h"

class GlfwJoystickDevice : public JoystickDevice {
public:
    bool Present(int port) override;
    std::span<const float> RawAxes(int port) override;
    std::span<const unsigned char> RawButtons(int port) override;
    bool ReadGamepad(int port, GamepadReading* reading) override;
};
