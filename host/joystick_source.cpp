#include "host/joystick_source.h"

#include <algorithm>

namespace {

using Pad = GamepadReading;

// The game's button numbers, in order, and the pad button each one reads.
constexpr Pad::Button kGameButtons[] = {
    Pad::kA,        Pad::kB,         Pad::kX,         Pad::kY,          Pad::kLeftShoulder,
    Pad::kRightShoulder, Pad::kBack, Pad::kStart,     Pad::kDpadLeft,   Pad::kDpadUp,
    Pad::kDpadRight, Pad::kDpadDown, Pad::kLeftStick, Pad::kRightStick, Pad::kGuide,
};
static_assert(std::size(kGameButtons) == Pad::kButtonCount);

float TriggerPull(float axis) { return (axis + 1.0f) * 0.5f; }

}  // namespace

int ToYUpAxes(std::span<const float> raw, std::span<float> out) {
    int n = static_cast<int>(std::min(raw.size(), out.size()));
    for (int i = 0; i < n; ++i) out[i] = (i & 1) ? -raw[i] : raw[i];
    return n;
}

GlfwJoystickSource::GlfwJoystickSource(std::unique_ptr<JoystickDevice> device) : device_(std::move(device)) {}

bool GlfwJoystickSource::Present(int port) { return device_->Present(port); }

std::span<const float> GlfwJoystickSource::Axes(int port) {
    Pad pad;
    if (device_->ReadGamepad(port, &pad)) {
        // Sticks' y negated like the raw odd axes, so both paths agree.
        const float sixAxes[6] = {
            pad.axes[Pad::kLeftX],  -pad.axes[Pad::kLeftY],  TriggerPull(pad.axes[Pad::kLeftTrigger]),
            pad.axes[Pad::kRightX], -pad.axes[Pad::kRightY], TriggerPull(pad.axes[Pad::kRightTrigger]),
        };
        std::copy(std::begin(sixAxes), std::end(sixAxes), axes_);
        return std::span<const float>(axes_, 6);
    }
    int n = ToYUpAxes(device_->RawAxes(port), axes_);
    return std::span<const float>(axes_, static_cast<std::size_t>(n));
}

std::span<const bool> GlfwJoystickSource::Buttons(int port) {
    Pad pad;
    if (device_->ReadGamepad(port, &pad)) {
        for (std::size_t i = 0; i < std::size(kGameButtons); ++i) buttons_[i] = pad.buttons[kGameButtons[i]];
        return std::span<const bool>(buttons_, std::size(kGameButtons));
    }
    std::span<const unsigned char> raw = device_->RawButtons(port);
    std::size_t n = std::min<std::size_t>(raw.size(), kMaxButtons);
    for (std::size_t i = 0; i < n; ++i) buttons_[i] = raw[i] != 0;
    return std::span<const bool>(buttons_, n);
}
