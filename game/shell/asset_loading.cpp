#include "game/my_app.h"

// Not built yet: these operations do nothing until their screen exists.

void c_MyApp::PrepareLoading() {}
void c_MyApp::LoadStep() {}
void c_MyApp::LoadScaledImage(int /*index*/, const String& /*name*/, int /*frameWidth*/, int /*frameHeight*/, int /*frameCount*/, int /*flags*/) {}
void c_MyApp::LoadFont(int /*index*/, const String& /*name*/, int /*advance*/, int /*lineHeight*/) {}
void c_MyApp::LoadImageUnscaled(int /*index*/, const String& /*name*/, int /*frameWidth*/, int /*frameHeight*/, int /*frameCount*/, int /*flags*/) {}
void c_MyApp::LoadSfx(int /*number*/) {}
void c_MyApp::DrawBackdrop(int /*mode*/) {}
