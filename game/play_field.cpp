#include "game/my_app.h"

// Not built yet: these operations do nothing until their screen exists.

void c_MyApp::NewGame() {}
void c_MyApp::PlayUpdate() {}
