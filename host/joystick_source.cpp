#include "host/joystick_source.h"

#include <GLFW/glfw3.h>

#include <algorithm>

int ToClassicAxes(std::span<const float> raw, std::span<float> out) {
    int n = static_cast<int>(std::min(raw.size(), out.size()));
    for (int i = 0; i < n; ++i) out[i] = (i & 1) ? -raw[i] : raw[i];
    return n;
}

bool GlfwJoystickSource::Present(int port) {
    return port >= GLFW_JOYSTICK_1 && port <= GLFW_JOYSTICK_LAST && glfwJoystickPresent(port) == GLFW_TRUE;
}

std::span<const float> GlfwJoystickSource::Axes(int port) {
    int count = 0;
    const float* raw = glfwGetJoystickAxes(port, &count);
    if (!raw || count <= 0) return {};
    int n = ToClassicAxes(std::span<const float>(raw, static_cast<std::size_t>(count)), axes_);
    return std::span<const float>(axes_, static_cast<std::size_t>(n));
}

std::span<const bool> GlfwJoystickSource::Buttons(int port) {
    int count = 0;
    const unsigned char* raw = glfwGetJoystickButtons(port, &count);
    if (!raw || count <= 0) return {};
    int n = std::min(count, kMaxButtons);
    for (int i = 0; i < n; ++i) buttons_[i] = raw[i] == GLFW_PRESS;
    return std::span<const bool>(buttons_, static_cast<std::size_t>(n));
}
