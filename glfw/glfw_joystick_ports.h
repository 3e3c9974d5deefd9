// GlfwJoystickPorts: the joystick ports as the window library reports
// them, raw. How a gamepad's layout is read differs by platform, so each
// one adds its own ReadGamepad.
#pragma once
#include "host/joystick_device.h"

class GlfwJoystickPorts : public JoystickDevice {
public:
    bool Present(int port) override;
    std::span<const float> RawAxes(int port) override;
    std::span<const unsigned char> RawButtons(int port) override;
};
