#include "game/my_app.h"

// Not built yet: these operations do nothing until their screen exists.

void c_MyApp::SampleInput() {}
int c_MyApp::ControlDown(int /*n*/) { return 0; }
void c_MyApp::SetArcadeMode(int /*on*/) {}
void c_MyApp::ReadArcadeStick() {}
void c_MyApp::PlayControls() {}
void c_MyApp::PauseMenu() {}
