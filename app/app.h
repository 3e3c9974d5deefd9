// c_App: the base of an application. Creating one creates the single
// c_GameDelegate and hands it to the host; the delegate then calls these
// operations in its fixed order. Each returns 0, which nobody reads.
#pragma once
#include "runtime/object.h"

class c_App : public Object {
public:
    // Raises "App has already been created" for a second application.
    c_App();
    virtual int OnCreate() { return 0; }
    virtual int OnSuspend() { return 0; }
    virtual int OnResume() { return 0; }
    virtual int OnUpdate() { return 0; }
    // Called instead of OnRender when the renderer reports that it is still
    // loading (never with this system's renderer).
    virtual int OnLoading() { return 0; }
    virtual int OnRender() { return 0; }
    // The window has lost the keyboard focus or been minimised (before the
    // suspension that minimising brings).
    virtual int OnFocusLost() { return 0; }
};
