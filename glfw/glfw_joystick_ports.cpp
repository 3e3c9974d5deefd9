#include "glfw/glfw_joystick_ports.h"

#include <GLFW/glfw3.h>

bool GlfwJoystickPorts::Present(int port) {
    return port >= GLFW_JOYSTICK_1 && port <= GLFW_JOYSTICK_LAST && glfwJoystickPresent(port) == GLFW_TRUE;
}

std::span<const float> GlfwJoystickPorts::RawAxes(int port) {
    int count = 0;
    const float* axes = glfwGetJoystickAxes(port, &count);
    if (!axes || count <= 0) return {};
    return std::span<const float>(axes, static_cast<std::size_t>(count));
}

std::span<const unsigned char> GlfwJoystickPorts::RawButtons(int port) {
    int count = 0;
    const unsigned char* buttons = glfwGetJoystickButtons(port, &count);
    if (!buttons || count <= 0) return {};
    return std::span<const unsigned char>(buttons, static_cast<std::size_t>(count));
}
