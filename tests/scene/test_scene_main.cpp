// The framework test scene as a program of its own: the end-to-end tests of
// the host and the lifecycle run it (the game itself is game/main.cpp).
#include "app/framework.h"
#include "desktop/entry_point.h"
#include "tests/scene/test_scene_app.h"

namespace {

// Every global gets its start value before the application exists.
void InitGlobals() { InitFrameworkGlobals(); }

// The application's c_App part hands its delegate to the host.
void CreateApp() { new c_TestSceneApp(); }

}  // namespace

int main(int argc, char** argv) { RunProgram(argc, argv, InitGlobals, CreateApp); }
