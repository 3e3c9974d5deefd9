#include "web/web_joystick_device.h"

#include <emscripten.h>

#include "web/standard_gamepad.h"

namespace {

// The port keeps no mapping name, so the browser is asked directly.
EM_JS(int, PadHasStandardLayout, (int port), {
    var pads = navigator.getGamepads ? navigator.getGamepads() : [];
    var pad = pads ? pads[port] : null;
    return pad && pad.mapping === "standard" ? 1 : 0;
});

}  // namespace

bool WebJoystickDevice::ReadGamepad(int port, GamepadReading* reading) {
    if (!PadHasStandardLayout(port)) return false;
    return ReadStandardGamepad(RawAxes(port), RawButtons(port), reading);
}
