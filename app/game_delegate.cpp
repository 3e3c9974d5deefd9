#include "app/game_delegate.h"

#include "app/framework.h"
#include "audio/audio.h"
#include "graphics/drawing.h"
#include "graphics/graphics_globals.h"
#include "input/input.h"

void c_GameDelegate::Mark() {
    gc_mark(graphics);
    gc_mark(audio);
    gc_mark(input);
}

void c_GameDelegate::StartGame() {
    graphics = new gxtkGraphics();
    graphicsDevice = graphics;
    LoadDefaultFont();
    audio = new gxtkAudio();
    gAudioDevice = audio;
    input = new c_InputDevice();
    gInputDevice = input;
    gApp->OnCreate();
}

void c_GameDelegate::SuspendGame() {
    gApp->OnSuspend();
    audio->Suspend();
}

void c_GameDelegate::ResumeGame() {
    audio->Resume();
    gApp->OnResume();
}

void c_GameDelegate::UpdateGame() {
    input->BeginUpdate();
    gApp->OnUpdate();
    input->EndUpdate();
}

void c_GameDelegate::RenderGame() {
    int mode = graphics->BeginRender();
    if (mode != 0) BeginFrameDrawing();
    if (mode == 2)
        gApp->OnLoading();
    else
        gApp->OnRender();
    if (mode != 0) EndFrameDrawing();
    graphics->EndRender();
}

void c_GameDelegate::KeyEvent(int event, int data) { input->KeyEvent(event, data); }

void c_GameDelegate::MouseEvent(int event, int data, float x, float y) { input->MouseEvent(event, data, x, y); }

void c_GameDelegate::TouchEvent(int event, int data, float x, float y) { input->TouchEvent(event, data, x, y); }

void c_GameDelegate::MotionEvent(int event, int data, float x, float y, float z) {
    input->MotionEvent(event, data, x, y, z);
}

void c_GameDelegate::DiscardGraphics() { graphics->DiscardGraphics(); }

void c_GameDelegate::FocusLost() { gApp->OnFocusLost(); }
