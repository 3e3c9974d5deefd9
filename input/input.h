// The input operations the game calls; each forwards to the input device.
// Before the device exists they read as nothing pressed, all zero.
#pragma once
#include "input/input_device.h"
#include "runtime/ref.h"

// The one input device, created when the game starts.
extern Global<Ref<c_InputDevice>> gInputDevice;

bool KeyDown(int key);
int KeyHit(int key);
int GetChar();
float MouseX();
float MouseY();
// The left mouse button (key 1).
bool MouseDown();
int MouseHit();
// Touch index as key 384 + index.
bool TouchDown(int index);
float TouchX(int index);
float TouchY(int index);
// Stick 0 of joystick port 0.
float JoyX();
float JoyY();
// Whether joystick port 0 answered this update's poll (its values and
// buttons are otherwise those it had when it went away).
bool JoyPresent();
float AccelX();
float AccelY();
int EnableKeyboard();
int DisableKeyboard();
