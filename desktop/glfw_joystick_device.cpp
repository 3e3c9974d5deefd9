#include <GLFW/glfw3.h>

#include "desktop/glfw_joystick_device.h"

#ifndef __EMSCRIPTEN__  // the browser's window library has no gamepad API
static_assert(GamepadReading::kLeftX == GLFW_GAMEPAD_AXIS_LEFT_X &&
              GamepadReading::kRightTrigger == GLFW_GAMEPAD_AXIS_RIGHT_TRIGGER &&
              GamepadReading::kAxisCount == GLFW_GAMEPAD_AXIS_LAST + 1);
static_assert(GamepadReading::kA == GLFW_GAMEPAD_BUTTON_A && GamepadReading::kBack == GLFW_GAMEPAD_BUTTON_BACK &&
              GamepadReading::kGuide == GLFW_GAMEPAD_BUTTON_GUIDE &&
              GamepadReading::kLeftStick == GLFW_GAMEPAD_BUTTON_LEFT_THUMB &&
              GamepadReading::kDpadUp == GLFW_GAMEPAD_BUTTON_DPAD_UP &&
              GamepadReading::kDpadLeft == GLFW_GAMEPAD_BUTTON_DPAD_LEFT &&
              GamepadReading::kButtonCount == GLFW_GAMEPAD_BUTTON_LAST + 1);
#endif

bool GlfwJoystickDevice::Present(int port) {
    return port >= GLFW_JOYSTICK_1 && port <= GLFW_JOYSTICK_LAST && glfwJoystickPresent(port) == GLFW_TRUE;
}

std::span<const float> GlfwJoystickDevice::RawAxes(int port) {
    int count = 0;
    const float* axes = glfwGetJoystickAxes(port, &count);
    if (!axes || count <= 0) return {};
    return std::span<const float>(axes, static_cast<std::size_t>(count));
}

std::span<const unsigned char> GlfwJoystickDevice::RawButtons(int port) {
    int count = 0;
    const unsigned char* buttons = glfwGetJoystickButtons(port, &count);
    if (!buttons || count <= 0) return {};
    return std::span<const unsigned char>(buttons, static_cast<std::size_t>(count));
}

bool GlfwJoystickDevice::ReadGamepad(int port, GamepadReading* reading) {
#ifdef __EMSCRIPTEN__
    // The browser's window library has no mapping database: every pad takes
    // the raw path, in the layout the browser gives it.
    (void)port, (void)reading;
    return false;
#else
    GLFWgamepadstate state;
    if (glfwJoystickIsGamepad(port) != GLFW_TRUE || glfwGetGamepadState(port, &state) != GLFW_TRUE) return false;
    for (int i = 0; i < GamepadReading::kAxisCount; ++i) reading->axes[i] = state.axes[i];
    for (int i = 0; i < GamepadReading::kButtonCount; ++i) reading->buttons[i] = state.buttons[i] == GLFW_PRESS;
    return true;
#endif
}
