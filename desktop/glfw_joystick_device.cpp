#include "desktop/glfw_joystick_device.h"

#include <GLFW/glfw3.h>

static_assert(GamepadReading::kLeftX == GLFW_GAMEPAD_AXIS_LEFT_X &&
              GamepadReading::kRightTrigger == GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER &&
              GamepadReading::kAxisCount == GLFW_GAMEPAD_AXIS_LAST + 1);
static_assert(GamepadReading::kA == GLFW_GAMEPAD_BUTTON_A && GamepadReading::kBack == GLFW_GAMEPAD_BUTTON_BACK &&
              GamepadReading::kGuide == GLFW_GAMEPAD_BUTTON_GUIDE &&
              GamepadReading::kLeftStick == GLFW_GAMEPAD_BUTTON_LEFT_THUMB &&
              GamepadReading::kDpadUp == GLFW_GAMEPAD_BUTTON_DPAD_UP &&
              GamepadReading::kDpadLeft == GLFW_GAMEPAD_BUTTON_DPAD_LEFT &&
              GamepadReading::kButtonCount == GLFW_GAMEPAD_BUTTON_LAST + 1);

bool GlfwJoystickDevice::ReadGamepad(int port, GamepadReading* reading) {
    GLFWgamepadstate state;
    if (glfwJoystickIsGamepad(port) != GLFW_TRUE || glfwGetGamepadState(port, &state) != GLFW_TRUE) return false;
    for (int i = 0; i < GamepadReading::kAxisCount; ++i) reading->axes[i] = state.axes[i];
    for (int i = 0; i < GamepadReading::kButtonCount; ++i) reading->buttons[i] = state.buttons[i] == GLFW_PRESS;
    return true;
}
