#include "game/my_app.h"

// Not built yet: these operations do nothing until their screen exists.

void c_MyApp::ResetDrawState() {}
void c_MyApp::BeginFrame(float /*red*/, float /*green*/, float /*blue*/, float /*alpha*/) {}
void c_MyApp::SetDrawScale(float /*x*/, float /*y*/) {}
void c_MyApp::SetDrawAlpha(float /*alpha*/) {}
void c_MyApp::SetDrawColor(float /*red*/, float /*green*/, float /*blue*/, float /*alpha*/) {}
void c_MyApp::SetDrawRotation(float /*degrees*/) {}
void c_MyApp::QueueImage(int /*image*/, float /*x*/, float /*y*/, int /*frame*/) {}
void c_MyApp::QueueRect(float /*x*/, float /*y*/, float /*width*/, float /*height*/) {}
void c_MyApp::QueueEllipse(float /*x*/, float /*y*/, float /*xRadius*/, float /*yRadius*/) {}
void c_MyApp::QueueText(float /*x*/, float /*y*/, const String& /*text*/, float /*alignX*/, float /*alignY*/) {}
int c_MyApp::ImageButton(int /*image*/, float /*x*/, float /*y*/, int /*frame*/) { return 0; }
int c_MyApp::PointerImageButton(int /*image*/, float /*x*/, float /*y*/, int /*frame*/) { return 0; }
int c_MyApp::RectButton(float /*x*/, float /*y*/, float /*width*/, float /*height*/) { return 0; }
void c_MyApp::PlaySfx(int /*sound*/, float /*rate*/, float /*volume*/, float /*pan*/) {}
int c_MyApp::RandomInt(int /*lo*/, int /*hi*/) { return 0; }
void c_MyApp::ReplayDrawList() {}
