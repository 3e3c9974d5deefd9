// JoystickSource: where the host reads joysticks from. The platform hands
// the host a GlfwJoystickSource over its device; tests hand the host a fake
// source, or the real source a fake device.
//
// Axis values are -1..1 with every odd-numbered axis (the y of each stick)
// positive up.
#pragma once
#include <memory>
#include <span>

#include "host/joystick_device.h"

class JoystickSource {
public:
    virtual ~JoystickSource() = default;
    virtual bool Present(int port) = 0;
    // Valid until the next call for the same port.
    virtual std::span<const float> Axes(int port) = 0;
    virtual std::span<const bool> Buttons(int port) = 0;
};

// A pad that the window library's mapping database knows is read through its
// mapping and delivered in the layout the game reads: six axes (left stick
// x, y, left trigger, right stick x, y, right trigger; triggers 0 released
// .. 1 full) and the buttons A, B, X, Y, left and right shoulder, back,
// start, d-pad left, up, right, down, left and right stick, guide. Any other
// joystick delivers its own axes and buttons unchanged but for the y sign.
class GlfwJoystickSource : public JoystickSource {
public:
    static constexpr int kMaxAxes = 16;
    static constexpr int kMaxButtons = 64;

    explicit GlfwJoystickSource(std::unique_ptr<JoystickDevice> device);

    bool Present(int port) override;
    std::span<const float> Axes(int port) override;
    std::span<const bool> Buttons(int port) override;

private:
    std::unique_ptr<JoystickDevice> device_;
    float axes_[kMaxAxes] = {};
    bool buttons_[kMaxButtons] = {};
};

// GLFW 2.7, which the game's controls were written against, delivered each
// odd (y) axis positive upwards; GLFW 3 delivers it positive downwards. Copies
// raw into out with the odd axes negated, reproducing the older library;
// returns the number copied (at most out.size()).
int ToYUpAxes(std::span<const float> raw, std::span<float> out);
