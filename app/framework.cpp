#include "app/framework.h"

#include "audio/audio.h"
#include "graphics/graphics_globals.h"
#include "input/input.h"

Global<Ref<c_App>> gApp;
Global<Ref<c_GameDelegate>> gGameDelegate;
int gUpdateRate = 0;
Global<Ref<c_Stack>> gAsyncEventSources;
Global<Ref<c_IAsyncEventSource>> gCurrentEventSource;

void InitFrameworkGlobals() {
    gApp = nullptr;
    gGameDelegate = nullptr;
    graphicsDevice = nullptr;
    renderDevice = nullptr;
    gAudioDevice = nullptr;
    gInputDevice = nullptr;
    gUpdateRate = 0;
    gAsyncEventSources = new c_Stack();
    gCurrentEventSource = nullptr;
    InitGraphicsGlobals();
}

int SetUpdateRate(int rate) {
    gUpdateRate = rate;
    HxGame::Current()->SetUpdateRate(rate);
    return 0;
}

int Millisecs() { return HxGame::Current()->Millisecs(); }

int UpdateAsyncEvents() {
    // A source's own update may end up here again; it is not re-entered.
    if (gCurrentEventSource) return 0;
    int i = 0;
    while (i < gAsyncEventSources->Length()) {
        gCurrentEventSource = gAsyncEventSources->Get(i);
        gCurrentEventSource->UpdateAsyncEvents();
        // A source that unregisters itself clears the current source; the
        // next one has then moved into its place.
        if (gCurrentEventSource) ++i;
    }
    gCurrentEventSource = nullptr;
    return 0;
}

int SaveState(const String& state) { return HxGame::Current()->SaveState(state); }

String LoadState() { return HxGame::Current()->LoadState(); }
