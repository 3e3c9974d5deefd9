#include "game/my_app.h"

// Not built yet: these operations do nothing until their screen exists.

void c_MyApp::SpawnParticles(int /*x*/, int /*y*/, int /*count*/, int /*colour*/) {}
int c_MyApp::AngleDiff(int /*a*/, int /*b*/) { return 0; }
