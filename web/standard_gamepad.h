// The layout browsers report for a pad they know (Gamepad.mapping is
// "standard"): four axes (left stick x, y, right stick x, y; y positive
// down) and at least sixteen buttons (A, B, X, Y, left and right shoulder,
// left and right trigger, back, start, left and right stick, d-pad up, down,
// left, right; the guide button seventeenth where there is one). The
// window library's browser port gives such a pad's axes and buttons as they
// come, so this reads them into the same gamepad layout as the desktop's
// mapping database does.
#pragma once
#include <span>

#include "host/joystick_device.h"

// False, and *reading untouched, when there are too few axes or buttons
// for the layout. A trigger reads -1 released and 1 pressed: the port gives
// no pull between.
bool ReadStandardGamepad(std::span<const float> axes, std::span<const unsigned char> buttons,
                         GamepadReading* reading);
