#include "desktop/hx_desktop_game.h"

#include <memory>
#include <utility>

#include "desktop/crash_report.h"
#include "desktop/desktop_host_window.h"
#include "desktop/glfw_joystick_device.h"

HxDesktopGame::HxDesktopGame(GameFiles files, GLFWwindow* window)
    : HxVellumGame(std::move(files), std::make_unique<DesktopHostWindow>(window),
                   std::make_unique<GlfwJoystickSource>(std::make_unique<GlfwJoystickDevice>())) {}

void HxDesktopGame::SetWindowSize(int width, int height) { SetCrashReportWindowSize(width, height); }

void HxDesktopGame::SetResolutionLevel(int level) { SetCrashReportResolutionLevel(level); }
