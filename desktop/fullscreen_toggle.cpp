#include "desktop/fullscreen_toggle.h"

#include <GLFW/glfw3.h>
#define GLFW_EXPOSE_NATIVE_X11
#include <GLFW/glfw3native.h>

#include <algorithm>
#include <vector>

namespace {

long long Overlap(const ScreenRect& a, const ScreenRect& b) {
    long long w = std::min(a.x + a.width, b.x + b.width) - std::max(a.x, b.x);
    long long h = std::min(a.y + a.height, b.y + b.height) - std::max(a.y, b.y);
    return w > 0 && h > 0 ? w * h : 0;
}

// Without the RandR extension the window library invents a monitor whose
// position it never fills in, and places a fullscreen window at whatever
// that position happens to be, often far off the screen.
bool HasMonitorInformation() {
    Display* display = glfwGetX11Display();
    int opcode = 0, event = 0, error = 0;
    return display && XQueryExtension(display, "RANDR", &opcode, &event, &error);
}

}  // namespace

int MonitorUnder(const ScreenRect& window, std::span<const ScreenRect> monitors) {
    if (monitors.empty()) return -1;
    int best = 0;
    long long bestArea = 0;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        long long area = Overlap(window, monitors[i]);
        if (area > bestArea) best = static_cast<int>(i), bestArea = area;
    }
    return best;
}

void FullscreenToggle::Toggle() {
    if (!window_ || !HasMonitorInformation()) return;
    if (glfwGetWindowMonitor(window_) == nullptr) {
        Enter();
        return;
    }
    glfwSetWindowMonitor(window_, nullptr, windowed_.x, windowed_.y, windowed_.width, windowed_.height,
                         GLFW_DONT_CARE);
}

void FullscreenToggle::Enter() {
    int count = 0;
    GLFWmonitor** all = glfwGetMonitors(&count);
    std::vector<GLFWmonitor*> monitors;
    std::vector<ScreenRect> areas;
    for (int i = 0; i < count; ++i) {
        const GLFWvidmode* mode = glfwGetVideoMode(all[i]);
        if (!mode) continue;
        ScreenRect area{0, 0, mode->width, mode->height};
        glfwGetMonitorPos(all[i], &area.x, &area.y);
        monitors.push_back(all[i]);
        areas.push_back(area);
    }
    ScreenRect window;
    glfwGetWindowPos(window_, &window.x, &window.y);
    glfwGetWindowSize(window_, &window.width, &window.height);
    int chosen = MonitorUnder(window, areas);
    if (chosen < 0) return;
    windowed_ = window;
    const GLFWvidmode* mode = glfwGetVideoMode(monitors[chosen]);
    glfwSetWindowMonitor(window_, monitors[chosen], 0, 0, mode->width, mode->height, mode->refreshRate);
}
