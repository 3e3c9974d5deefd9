#include "game/my_app.h"

// Not built yet: these operations do nothing until their screen exists.

void c_MyApp::DecodeWordList() {}
void c_MyApp::DecodeMapImage(int /*imageIndex*/, int /*frame*/) {}
