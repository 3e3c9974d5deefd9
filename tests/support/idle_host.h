// A desktop host without a window, for tests that need a host only for its
// services (files): an HxGlfwGame on a window
// that never has events, never closes and whose clock stands at 0, and on
// no joysticks. Made once per process and never destroyed, like the
// program's host; it is HxGame::Current() from then on.
#pragma once
#include <span>

#include "host/host_window.h"
#include "host/hx_glfw_game.h"
#include "host/joystick_source.h"

class IdleWindow : public HostWindow {
public:
    void Attach(HxGlfwGame*) override {}
    void PollEvents() override {}
    void WaitEvents() override {}
    bool IsOpen() override { return true; }
    bool IsIconified() override { return false; }
    bool IsActive() override { return true; }
    double Now() override { return 0; }
    void Sleep(double) override {}
    void SetCursorVisible(bool) override {}
};

class NoJoysticks : public JoystickSource {
public:
    bool Present(int) override { return false; }
    std::span<const float> Axes(int) override { return {}; }
    std::span<const bool> Buttons(int) override { return {}; }
};

HxGlfwGame& IdleHost();
