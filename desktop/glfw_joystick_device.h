// GlfwJoystickDevice: the desktop's joystick ports, with the window
// library's gamepad mapping database (and the mappings of
// gamepad_mappings.h) for the pads it knows.
#pragma once
#include "glfw/glfw_joystick_ports.h"

class GlfwJoystickDevice : public GlfwJoystickPorts {
public:
    bool ReadGamepad(int port, GamepadReading* reading) override;
};
