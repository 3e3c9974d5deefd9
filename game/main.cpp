// Sol Brim: the program entry point.
#include "app/framework.h"
#include "game/game_globals.h"
#include "game/my_app.h"
#include "desktop/entry_point.h"

namespace {

// Every global gets its start value before the application exists.
void InitGlobals() {
    InitFrameworkGlobals();
    InitGameGlobals();
}

// The application's c_App part hands its delegate to the host.
void CreateApp() { new c_MyApp(); }

}  // namespace

int main(int argc, char** argv) { RunProgram(argc, argv, InitGlobals, CreateApp); }
