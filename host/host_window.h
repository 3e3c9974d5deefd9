// HostWindow: what the main loop needs from the window system. The GLFW
// window is the real one; tests drive the loop with a scripted fake.
#pragma once

class HxGlfwGame;

class HostWindow {
public:
    virtual ~HostWindow() = default;
    // Turns on key repeat and routes window callbacks to the game's On*
    // handlers (called only from inside PollEvents / WaitEvents).
    virtual void Attach(HxGlfwGame* game) = 0;
    virtual void PollEvents() = 0;
    // Blocks until at least one event arrives and handles it.
    virtual void WaitEvents() = 0;
    virtual bool IsOpen() = 0;
    virtual bool IsIconified() = 0;
    virtual bool IsActive() = 0;
    // Seconds on the window library's clock (0 before it is initialised).
    virtual double Now() = 0;
    virtual void Sleep(double seconds) = 0;
    virtual void SetCursorVisible(bool visible) = 0;
};
