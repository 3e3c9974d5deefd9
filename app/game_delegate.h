// c_GameDelegate: turns the host's events into calls on the three devices
// and the application, in a fixed order:
//   StartGame    graphics device, default font, audio device, input device, OnCreate
//   SuspendGame  OnSuspend, then the audio pauses
//   ResumeGame   the audio resumes, then OnResume
//   UpdateGame   input BeginUpdate (joysticks), OnUpdate, input EndUpdate
//   RenderGame   BeginRender, BeginFrameDrawing, OnRender, EndFrameDrawing, EndRender
//   FocusLost    OnFocusLost
// Key, mouse, touch and motion events go to the input device unchanged.
#pragma once
#include "audio/gxtk_audio.h"
#include "graphics/gxtk_graphics.h"
#include "host/hx_game_delegate.h"
#include "input/input_device.h"
#include "runtime/ref.h"

class c_GameDelegate : public HxGameDelegate {
public:
    c_GameDelegate() = default;
    void Mark() override;

    void StartGame() override;
    void SuspendGame() override;
    void ResumeGame() override;
    void UpdateGame() override;
    void RenderGame() override;
    void KeyEvent(int event, int data) override;
    void MouseEvent(int event, int data, float x, float y) override;
    void TouchEvent(int event, int data, float x, float y) override;
    void MotionEvent(int event, int data, float x, float y, float z) override;
    void DiscardGraphics() override;
    void FocusLost() override;

    Ref<gxtkGraphics> graphics;
    Ref<gxtkAudio> audio;
    Ref<c_InputDevice> input;
};
