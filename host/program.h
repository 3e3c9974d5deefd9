// The platform-neutral steps of starting the program, which every platform's
// start-up runs after creating its host:
//
//   InitProgram(argc, argv, InitGlobals, CreateApp);
//   RunAndExit(host);   // where the platform's loop returns at the end
#pragma once

class HxGame;

// Program initialisation, inside a guard that passes anything thrown to the
// host's Die: keeps the arguments, initialises the collector, runs
// initGlobals, enqueues the roots, then runs createApp (which constructs the
// application and hands its delegate to the host).
void InitProgram(int argc, char** argv, void (*initGlobals)(), void (*createApp)());

// Runs the host's loop if it has a delegate, then exits with code 0.
[[noreturn]] void RunAndExit(HxGame* host);

int ProgramArgc();
char** ProgramArgv();
