// WebJoystickDevice: the browser's gamepads as the window library's port
// hands them over (joystick n is navigator.getGamepads()[n]). A pad the
// browser maps to its standard layout is read through that layout, so
// Start pauses and the d-pad steers as on the desktop; any other pad takes
// the raw path with its own numbering.
#pragma once
#include "glfw/glfw_joystick_ports.h"

class WebJoystickDevice : public GlfwJoystickPorts {
public:
    bool ReadGamepad(int port, GamepadReading* reading) override;
};
