// A desktop host without a window, for tests that load sound files through
// the host's files. Made once per process and kept (the host is
// never destroyed in the program either).
#pragma once
#include <memory>
#include <span>

#include "host/hx_glfw_game.h"

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

inline HxGlfwGame& TestHost() {
    static HxGlfwGame* host = new HxGlfwGame(std::make_unique<IdleWindow>(), std::make_unique<NoJoysticks>());
    return *host;
}
