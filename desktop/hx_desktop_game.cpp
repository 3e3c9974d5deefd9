#include "desktop/hx_desktop_game.h"

#include <memory>
#include <utility>

#include "desktop/glfw_host_window.h"
#include "desktop/glfw_joystick_device.h"

HxDesktopGame::HxDesktopGame(GameFiles files, GLFWwindow* window)
    : HxVellumGame(std::move(files), std::make_unique<GlfwHostWindow>(window),
                   std::make_unique<GlfwJoystickSource>(std::make_unique<GlfwJoystickDevice>())) {}
