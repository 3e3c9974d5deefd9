#include "web/web_joystick_device.h"

#include <GLFW/glfw3.h>
#include <emscripten.h>

#include "web/standard_gamepad.h"

namespace {

// The port keeps no mapping name, so the browser is asked directly.
EM_JS(int, PadHasStandardLayout, (int port), {
    var pads = navigator.getGamepads ? navigator.getGamepads() : [];
    var pad = pads ? pads[port] : null;
    return pad && pad.mapping === "standard" ? 1 : 0;
});

}  // namespace

bool WebJoystickDevice::Present(int port) {
    return port >= GLFW_JOYSTICK_1 && port <= GLFW_JOYSTICK_LAST && glfwJoystickPresent(port) == GLFW_TRUE;
}

std::span<const float> WebJoystickDevice::RawAxes(int port) {
    int count = 0;
    const float* axes = glfwGetJoystickAxes(port, &count);
    if (!axes || count <= 0) return {};
    return std::span<const float>(axes, static_cast<std::size_t>(count));
}

std::span<const unsigned char> WebJoystickDevice::RawButtons(int port) {
    int count = 0;
    const unsigned char* buttons = glfwGetJoystickButtons(port, &count);
    if (!buttons || count <= 0) return {};
    return std::span<const unsigned char>(buttons, static_cast<std::size_t>(count));
}

bool WebJoystickDevice::ReadGamepad(int port, GamepadReading* reading) {
    if (!PadHasStandardLayout(port)) return false;
    return ReadStandardGamepad(RawAxes(port), RawButtons(port), reading);
}
