#include "input/input_device.h"

#include "host/hx_game.h"

c_InputDevice::c_InputDevice()
    : joyStates(kJoyPorts),
      keyDown(kKeyCount),
      keyHit(kKeyCount),
      charQueue(kCharQueueSize),
      touchX(kTouches),
      touchY(kTouches) {
    for (int port = 0; port < kJoyPorts; ++port) joyStates[port] = new c_JoyState();
}

void c_InputDevice::Mark() {
    gc_mark(joyStates);
    gc_mark(keyDown);
    gc_mark(keyHit);
    gc_mark(charQueue);
    gc_mark(touchX);
    gc_mark(touchY);
}

// ---- per update -------------------------------------------------------------

void c_InputDevice::BeginUpdate() {
    joyPortsPresent = 0;
    HxGame* host = HxGame::Current();
    if (!host) return;
    for (int port = 0; port < kJoyPorts; ++port) {
        c_JoyState* joy = joyStates[port];
        // Ports are numbered without gaps: the first absent one ends the scan.
        if (!host->PollJoystick(port, joy->joyx, joy->joyy, joy->joyz, joy->buttons)) return;
        ApplyJoyButtons(port);
        joyPortsPresent = port + 1;
    }
}

// Joystick buttons are levels, not events: a button counts as pressed only in
// the update in which it is first seen down.
void c_InputDevice::ApplyJoyButtons(int port) {
    Array<bool> buttons = joyStates[port]->buttons;
    for (int b = 0; b < c_JoyState::kButtons; ++b) {
        int key = kJoyKeyBase + c_JoyState::kButtons * port + b;
        if (!buttons[b]) {
            keyDown[key] = false;
        } else if (!keyDown[key]) {
            keyDown[key] = true;
            keyHit[key] += 1;
        }
    }
}

void c_InputDevice::EndUpdate() {
    for (int key = 0; key < kKeyCount; ++key) keyHit[key] = 0;
    charGet = charPut = 0;
}

// ---- events -----------------------------------------------------------------

int c_InputDevice::MirrorOf(int key) {
    if (key == kMouseLeft) return kTouchKeyBase;
    if (key == kTouchKeyBase) return kMouseLeft;
    return 0;
}

void c_InputDevice::Press(int key) {
    if (!ValidKey(key)) return;
    keyDown[key] = true;
    keyHit[key] += 1;
    if (int mirror = MirrorOf(key)) {
        keyDown[mirror] = true;
        keyHit[mirror] += 1;
    }
}

void c_InputDevice::Release(int key) {
    if (!ValidKey(key)) return;
    keyDown[key] = false;
    if (int mirror = MirrorOf(key)) keyDown[mirror] = false;
}

void c_InputDevice::KeyEvent(int event, int data) {
    switch (event) {
        case EVENT_KEY_DOWN:
            Press(data);
            break;
        case EVENT_KEY_UP:
            Release(data);
            break;
        case EVENT_KEY_CHAR:
            // The queue holds one update's typing; more is dropped.
            if (charPut < kCharQueueSize) charQueue[charPut++] = data;
            break;
        default:
            break;
    }
}

void c_InputDevice::StorePointer(float x, float y) {
    mouseX = x;
    mouseY = y;
    touchX[0] = x;
    touchY[0] = y;
}

void c_InputDevice::StoreTouch(int index, float x, float y) {
    touchX[index] = x;
    touchY[index] = y;
    if (index == 0) {
        mouseX = x;
        mouseY = y;
    }
}

void c_InputDevice::MouseEvent(int event, int data, float x, float y) {
    switch (event) {
        case EVENT_MOUSE_DOWN:
            KeyEvent(EVENT_KEY_DOWN, data + 1);
            StorePointer(x, y);
            break;
        case EVENT_MOUSE_UP:
            KeyEvent(EVENT_KEY_UP, data + 1);
            break;
        case EVENT_MOUSE_MOVE:
            StorePointer(x, y);
            break;
        default:
            break;
    }
}

void c_InputDevice::TouchEvent(int event, int index, float x, float y) {
    if (!ValidTouch(index)) return;
    switch (event) {
        case EVENT_TOUCH_DOWN:
            KeyEvent(EVENT_KEY_DOWN, kTouchKeyBase + index);
            StoreTouch(index, x, y);
            break;
        case EVENT_TOUCH_UP:
            KeyEvent(EVENT_KEY_UP, kTouchKeyBase + index);
            break;
        case EVENT_TOUCH_MOVE:
            StoreTouch(index, x, y);
            break;
        default:
            break;
    }
}

void c_InputDevice::MotionEvent(int event, int /*data*/, float x, float y, float z) {
    if (event != EVENT_MOTION_ACCEL) return;
    accelX = x;
    accelY = y;
    accelZ = z;
}

int c_InputDevice::SetKeyboardEnabled(bool enabled) {
    if (HxGame* host = HxGame::Current()) host->SetKeyboardEnabled(enabled);
    return 1;
}

// ---- queries ----------------------------------------------------------------

int c_InputDevice::GetChar() {
    if (charGet == charPut) return 0;
    return charQueue[charGet++];
}

int c_InputDevice::KeyHit(int key) { return ValidKey(key) ? keyHit[key] : 0; }
bool c_InputDevice::KeyDown(int key) { return ValidKey(key) && keyDown[key]; }
float c_InputDevice::MouseX() { return mouseX; }
float c_InputDevice::MouseY() { return mouseY; }
float c_InputDevice::TouchX(int index) { return ValidTouch(index) ? touchX[index] : 0.0f; }
float c_InputDevice::TouchY(int index) { return ValidTouch(index) ? touchY[index] : 0.0f; }

c_JoyState* c_InputDevice::Joy(int stick, int port) {
    bool inRange = static_cast<unsigned>(stick) < static_cast<unsigned>(c_JoyState::kSticks) &&
                   static_cast<unsigned>(port) < static_cast<unsigned>(kJoyPorts);
    return inRange ? joyStates[port].get() : nullptr;
}

float c_InputDevice::JoyX(int stick, int port) {
    c_JoyState* joy = Joy(stick, port);
    return joy ? joy->joyx[stick] : 0.0f;
}

float c_InputDevice::JoyY(int stick, int port) {
    c_JoyState* joy = Joy(stick, port);
    return joy ? joy->joyy[stick] : 0.0f;
}

bool c_InputDevice::JoyPresent(int port) { return port >= 0 && port < joyPortsPresent; }

float c_InputDevice::AccelX() { return accelX; }
float c_InputDevice::AccelY() { return accelY; }
