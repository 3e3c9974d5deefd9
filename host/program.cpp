#include "host/program.h"

#include <cstdlib>

#include "host/hx_game.h"
#include "runtime/gc.h"

namespace {
int gArgc = 0;
char** gArgv = nullptr;
}  // namespace

void InitProgram(int argc, char** argv, void (*initGlobals)(), void (*createApp)()) {
    try {
        gArgc = argc;
        gArgv = argv;
        gc::Init();
        if (initGlobals) initGlobals();
        gc::MarkRoots();
        if (createApp) createApp();
    } catch (Object* exception) {
        HxGame::Current()->Die(exception);
    } catch (...) {
        HxGame::Current()->Die(nullptr);
    }
}

void RunAndExit(HxGame* host) {
    if (host->Delegate()) host->Run();
    std::exit(0);
}

int ProgramArgc() { return gArgc; }
char** ProgramArgv() { return gArgv; }
