#include "web/standard_gamepad.h"

#include <iterator>

namespace {

using Pad = GamepadReading;

constexpr std::size_t kAxes = 4;
constexpr std::size_t kButtons = 16;
constexpr std::size_t kLeftTriggerButton = 6, kRightTriggerButton = 7;

// The pad button at each of the layout's button numbers; the triggers are
// read as axes.
constexpr int kTrigger = -1;
constexpr int kButtonAt[] = {
    Pad::kA,         Pad::kB,          Pad::kX,       Pad::kY,         Pad::kLeftShoulder, Pad::kRightShoulder,
    kTrigger,        kTrigger,         Pad::kBack,    Pad::kStart,     Pad::kLeftStick,    Pad::kRightStick,
    Pad::kDpadUp,    Pad::kDpadDown,   Pad::kDpadLeft, Pad::kDpadRight, Pad::kGuide,
};

float TriggerAxis(bool pressed) { return pressed ? 1.0f : -1.0f; }

}  // namespace

bool ReadStandardGamepad(std::span<const float> axes, std::span<const unsigned char> buttons,
                         GamepadReading* reading) {
    if (axes.size() < kAxes || buttons.size() < kButtons) return false;
    *reading = GamepadReading{};
    reading->axes[Pad::kLeftX] = axes[0];
    reading->axes[Pad::kLeftY] = axes[1];
    reading->axes[Pad::kRightX] = axes[2];
    reading->axes[Pad::kRightY] = axes[3];
    reading->axes[Pad::kLeftTrigger] = TriggerAxis(buttons[kLeftTriggerButton] != 0);
    reading->axes[Pad::kRightTrigger] = TriggerAxis(buttons[kRightTriggerButton] != 0);
    for (std::size_t i = 0; i < std::size(kButtonAt) && i < buttons.size(); ++i) {
        if (kButtonAt[i] != kTrigger) reading->buttons[kButtonAt[i]] = buttons[i] != 0;
    }
    return true;
}
