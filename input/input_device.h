// c_InputDevice: everything the game reads about keys, pointer, touches,
// accelerometer and joysticks, kept per update.
//
// Mouse buttons, keys, joystick buttons, touches and the close request share
// one key-code space, so "down" and "pressed n times since the last update"
// work alike for all of them:
//   1..3 mouse buttons, 8..255 keys, 256 + 32*port + button joystick buttons,
//   384 + index touches, 432 the close request.
// The left button (1) and touch 0 (384) mirror each other.
//
// Events accumulate between updates; EndUpdate forgets the press counts and
// typed characters. Codes, touch indices, sticks and ports out of range are
// ignored when written and read as 0 / up.
#pragma once
#include "input/joy_state.h"
#include "runtime/object.h"

class c_InputDevice : public Object {
public:
    static constexpr int kKeyCount = 512;
    static constexpr int kMouseLeft = 1;
    static constexpr int kJoyKeyBase = 256;
    static constexpr int kTouchKeyBase = 384;
    static constexpr int kTouches = 32;
    static constexpr int kJoyPorts = 4;
    static constexpr int kCharQueueSize = 32;

    c_InputDevice();
    void Mark() override;

    // Polls the joysticks through the host.
    virtual void BeginUpdate();
    // Forgets press counts and typed characters.
    virtual void EndUpdate();
    virtual void KeyEvent(int event, int data);
    virtual void MouseEvent(int event, int data, float x, float y);
    virtual void TouchEvent(int event, int index, float x, float y);
    virtual void MotionEvent(int event, int data, float x, float y, float z);
    virtual int SetKeyboardEnabled(bool enabled);
    // The next typed character, or 0.
    virtual int GetChar();
    virtual int KeyHit(int key);
    virtual float MouseX();
    virtual float MouseY();
    virtual bool KeyDown(int key);
    virtual float TouchX(int index);
    virtual float TouchY(int index);
    virtual float JoyY(int stick, int port);
    virtual float JoyX(int stick, int port);
    virtual float AccelX();
    virtual float AccelY();
    // Whether the port answered the last poll. A port that did not keeps its
    // last values, so only a present port's stick and buttons are live.
    virtual bool JoyPresent(int port);

    Array<Ref<c_JoyState>> joyStates;
    Array<bool> keyDown;
    Array<int> keyHit;
    int charGet = 0;
    int charPut = 0;
    Array<int> charQueue;
    float mouseX = 0, mouseY = 0;
    Array<float> touchX, touchY;
    float accelX = 0, accelY = 0, accelZ = 0;
    int joyPortsPresent = 0;  // ports 0..n-1 answered the last poll

private:
    static bool ValidKey(int key) { return key >= 1 && key < kKeyCount; }
    static bool ValidTouch(int index) { return static_cast<unsigned>(index) < static_cast<unsigned>(kTouches); }
    // The key the given one mirrors (left button <-> touch 0), or 0.
    static int MirrorOf(int key);
    void Press(int key);
    void Release(int key);
    void StorePointer(float x, float y);
    void StoreTouch(int index, float x, float y);
    void ApplyJoyButtons(int port);
    c_JoyState* Joy(int stick, int port);
};
