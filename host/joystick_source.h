// JoystickSource: where the host reads joysticks from. The GLFW-backed
// source is the default; tests hand the host a fake one.
//
// Axis values follow the classic convention the game was tuned for: -1..1,
// with every odd-numbered axis (the y of each stick) positive up.
#pragma once
#include <span>

class JoystickSource {
public:
    virtual ~JoystickSource() = default;
    virtual bool Present(int port) = 0;
    // Valid until the next call for the same port.
    virtual std::span<const float> Axes(int port) = 0;
    virtual std::span<const bool> Buttons(int port) = 0;
};

class GlfwJoystickSource : public JoystickSource {
public:
    static constexpr int kMaxAxes = 16;
    static constexpr int kMaxButtons = 64;

    bool Present(int port) override;
    std::span<const float> Axes(int port) override;
    std::span<const bool> Buttons(int port) override;

private:
    float axes_[kMaxAxes] = {};
    bool buttons_[kMaxButtons] = {};
};

// Copies window-library axis values (y down) into out in the classic
// convention (y up); returns the number copied (at most out.size()).
int ToClassicAxes(std::span<const float> raw, std::span<float> out);
