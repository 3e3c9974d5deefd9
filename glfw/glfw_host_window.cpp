#include "glfw/glfw_host_window.h"

#include <GLFW/glfw3.h>

#include <cerrno>
#include <ctime>

#include "host/hx_glfw_game.h"
#include "host/key_translation.h"

// The host translates the library's key numbers without its header.
static_assert(window_key::kSpace == GLFW_KEY_SPACE && window_key::kGraveAccent == GLFW_KEY_GRAVE_ACCENT &&
              window_key::kEscape == GLFW_KEY_ESCAPE && window_key::kEnd == GLFW_KEY_END &&
              window_key::F(1) == GLFW_KEY_F1 && window_key::F(12) == GLFW_KEY_F12 &&
              window_key::kLeftShift == GLFW_KEY_LEFT_SHIFT && window_key::kRightControl == GLFW_KEY_RIGHT_CONTROL &&
              window_key::kLast == GLFW_KEY_LAST && 'A' == GLFW_KEY_A && '9' == GLFW_KEY_9);

GlfwHostWindow::GlfwHostWindow(GLFWwindow* window) : window_(window) {}

GlfwHostWindow* GlfwHostWindow::From(GLFWwindow* w) {
    return static_cast<GlfwHostWindow*>(glfwGetWindowUserPointer(w));
}

void GlfwHostWindow::Attach(HxGlfwGame* game) {
    game_ = game;
    if (!window_) return;
    // GLFW 3 repeats keys by itself (GLFW_REPEAT) and polls only when asked.
    glfwSetWindowUserPointer(window_, this);
    glfwSetKeyCallback(window_, OnKey);
    glfwSetCharCallback(window_, OnChar);
    glfwSetMouseButtonCallback(window_, OnMouseButton);
    glfwSetCursorPosCallback(window_, OnCursorPos);
    glfwSetWindowCloseCallback(window_, OnClose);
    // The host's failure reports name the window's size, so it is told of
    // every change.
    glfwSetFramebufferSizeCallback(window_, OnFramebufferSize);
    int width = 0, height = 0;
    glfwGetFramebufferSize(window_, &width, &height);
    game_->SetWindowSize(width, height);
}

void GlfwHostWindow::PollEvents() { glfwPollEvents(); }

void GlfwHostWindow::WaitEvents() { glfwWaitEvents(); }

bool GlfwHostWindow::IsOpen() { return window_ && !glfwWindowShouldClose(window_); }

bool GlfwHostWindow::IsIconified() { return window_ && glfwGetWindowAttrib(window_, GLFW_ICONIFIED); }

bool GlfwHostWindow::IsActive() { return window_ && glfwGetWindowAttrib(window_, GLFW_FOCUSED); }

double GlfwHostWindow::Now() { return glfwGetTime(); }

void GlfwHostWindow::Sleep(double seconds) {
    if (seconds <= 0) return;
    timespec t;
    t.tv_sec = static_cast<time_t>(seconds);
    t.tv_nsec = static_cast<long>((seconds - static_cast<double>(t.tv_sec)) * 1e9);
    while (nanosleep(&t, &t) != 0 && errno == EINTR) {
    }
}

void GlfwHostWindow::SetCursorVisible(bool visible) {
    if (window_) glfwSetInputMode(window_, GLFW_CURSOR, visible ? GLFW_CURSOR_NORMAL : GLFW_CURSOR_HIDDEN);
}

void GlfwHostWindow::ToFramebuffer(double x, double y, float* fx, float* fy) const {
    int ww = 0, wh = 0, fw = 0, fh = 0;
    glfwGetWindowSize(window_, &ww, &wh);
    glfwGetFramebufferSize(window_, &fw, &fh);
    double sx = ww > 0 ? static_cast<double>(fw) / ww : 1.0;
    double sy = wh > 0 ? static_cast<double>(fh) / wh : 1.0;
    *fx = static_cast<float>(x * sx);
    *fy = static_cast<float>(y * sy);
}

void GlfwHostWindow::OnKey(GLFWwindow* w, int key, int /*scancode*/, int action, int mods) {
    GlfwHostWindow* self = From(w);
    if (!self || !self->game_) return;
    switch (self->fullscreenKeys_.Feed(key, action, mods)) {
        case FullscreenShortcut::Action::kToggle:
            self->ToggleFullscreen();
            return;
        case FullscreenShortcut::Action::kSwallow:
            return;
        case FullscreenShortcut::Action::kPassOn:
            break;
    }
    self->game_->OnKey(key, action != GLFW_RELEASE);
}

void GlfwHostWindow::OnChar(GLFWwindow* w, unsigned int codepoint) {
    GlfwHostWindow* self = From(w);
    if (self && self->game_) self->game_->OnChar(codepoint);
}

void GlfwHostWindow::OnMouseButton(GLFWwindow* w, int button, int action, int /*mods*/) {
    GlfwHostWindow* self = From(w);
    if (!self || !self->game_) return;
    double x = 0, y = 0;
    glfwGetCursorPos(w, &x, &y);
    float fx, fy;
    self->ToFramebuffer(x, y, &fx, &fy);
    self->game_->OnMouseButton(button, action == GLFW_PRESS, fx, fy);
}

void GlfwHostWindow::OnCursorPos(GLFWwindow* w, double x, double y) {
    GlfwHostWindow* self = From(w);
    if (!self || !self->game_) return;
    float fx, fy;
    self->ToFramebuffer(x, y, &fx, &fy);
    self->game_->OnMouseMove(fx, fy);
}

void GlfwHostWindow::OnClose(GLFWwindow* w) {
    // The application decides; the window stays open.
    glfwSetWindowShouldClose(w, GLFW_FALSE);
    GlfwHostWindow* self = From(w);
    if (self && self->game_) self->game_->OnCloseRequest();
}

void GlfwHostWindow::OnFramebufferSize(GLFWwindow* w, int width, int height) {
    GlfwHostWindow* self = From(w);
    if (self && self->game_) self->game_->SetWindowSize(width, height);
}
