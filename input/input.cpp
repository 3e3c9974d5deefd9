#include "input/input.h"

Global<Ref<c_InputDevice>> gInputDevice;

namespace {
constexpr int kLeftButton = c_InputDevice::kMouseLeft;
}  // namespace

bool KeyDown(int key) { return gInputDevice && gInputDevice->KeyDown(key); }
int KeyHit(int key) { return gInputDevice ? gInputDevice->KeyHit(key) : 0; }
int GetChar() { return gInputDevice ? gInputDevice->GetChar() : 0; }
float MouseX() { return gInputDevice ? gInputDevice->MouseX() : 0.0f; }
float MouseY() { return gInputDevice ? gInputDevice->MouseY() : 0.0f; }
bool MouseDown() { return KeyDown(kLeftButton); }
int MouseHit() { return KeyHit(kLeftButton); }
bool TouchDown(int index) { return KeyDown(c_InputDevice::kTouchKeyBase + index); }
float TouchX(int index) { return gInputDevice ? gInputDevice->TouchX(index) : 0.0f; }
float TouchY(int index) { return gInputDevice ? gInputDevice->TouchY(index) : 0.0f; }
float JoyX() { return gInputDevice ? gInputDevice->JoyX(0, 0) : 0.0f; }
float JoyY() { return gInputDevice ? gInputDevice->JoyY(0, 0) : 0.0f; }
bool JoyPresent() { return gInputDevice && gInputDevice->JoyPresent(0); }
float AccelX() { return gInputDevice ? gInputDevice->AccelX() : 0.0f; }
float AccelY() { return gInputDevice ? gInputDevice->AccelY() : 0.0f; }
int EnableKeyboard() { return gInputDevice ? gInputDevice->SetKeyboardEnabled(true) : 0; }
int DisableKeyboard() { return gInputDevice ? gInputDevice->SetKeyboardEnabled(false) : 0; }
