// app_probe: starts like the game and then creates a second application,
// which must end the program with a runtime error.
#include "app/app.h"
#include "app/framework.h"
#include "host/hx_game.h"
#include "host/program.h"

namespace {
void CreateTwoApps() {
    new c_App();
    new c_App();
}
}  // namespace

int main(int argc, char** argv) {
    new HxGame();
    InitProgram(argc, argv, InitFrameworkGlobals, CreateTwoApps);
    return 3;
}
