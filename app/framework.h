// The framework globals and functions every application uses. The globals
// that hold objects are collector roots; InitFrameworkGlobals, part of the
// global initialiser, gives them their start values before the application
// is constructed. The device globals live beside their devices
// (graphics/graphics_globals.h, audio/audio.h, input/input.h).
#pragma once
#include "app/app.h"
#include "app/async_event_source.h"
#include "app/game_delegate.h"
#include "app/stack.h"
#include "host/hx_game.h"
#include "runtime/ref.h"
#include "runtime/string.h"

// The one application and its delegate, set when the application is created.
extern Global<Ref<c_App>> gApp;
extern Global<Ref<c_GameDelegate>> gGameDelegate;
// Updates per second last asked for (0: no fixed updates).
extern int gUpdateRate;
// Asynchronous event sources (empty) and the one being served.
extern Global<Ref<c_Stack>> gAsyncEventSources;
extern Global<Ref<c_IAsyncEventSource>> gCurrentEventSource;

// Framework globals to their defaults, the graphics context included.
void InitFrameworkGlobals();

// Stores the rate and hands it to the host.
int SetUpdateRate(int rate);
// The host's millisecond clock.
int Millisecs();
// Serves every asynchronous event source once; called once per update.
int UpdateAsyncEvents();
// The host's state file: 0 written, -1 cannot create, -2 failed write.
int SaveState(const String& state);
String LoadState();
