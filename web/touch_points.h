// TouchPoints: the page's touches as the game's touch points 0..31, in the
// window pixels the game scales from (the canvas's drawing buffer, the same
// space the mouse reports in).
//
// Invariants:
// - a browser touch identifier holds at most one point, and a point at most
//   one identifier;
// - a touch that starts on the canvas takes the lowest free point; when all
//   32 are held it gets none and stays ignored until it ends, so a press
//   never appears in the middle of a drag;
// - every point that went down goes up exactly once: when its touch ends or
//   is cancelled, or when a complete list of the screen's touches leaves it
//   out (an end the page never saw);
// - touches that hold no point (started elsewhere on the page, or beyond the
//   32nd) send nothing.
#pragma once
#include <array>
#include <functional>
#include <span>

#include "input/input_device.h"

// One touch as a browser touch event lists it.
struct PageTouch {
    long id = 0;
    // CSS pixels from the canvas's top-left corner.
    double x = 0, y = 0;
    // Among the touches the event is about (started, moved or ended).
    bool changed = false;
};

enum class TouchPhase { kStart, kMove, kEnd, kCancel };

// Window pixels per CSS pixel of the canvas.
struct CanvasScale {
    double x = 1, y = 1;
};
// The scale of a canvas whose buffer is bufferWidth x bufferHeight drawn at
// cssWidth x cssHeight on the page; 1 on an axis the page shows at no size.
CanvasScale ScaleOf(int bufferWidth, int bufferHeight, double cssWidth, double cssHeight);

class TouchPoints {
public:
    static constexpr int kPoints = c_InputDevice::kTouches;
    // Receives host touch events: 7 down, 8 up, 9 move (host/hx_game.h).
    using Sink = std::function<void(int event, int point, float x, float y)>;

    // One browser touch event. `listed` holds its changed touches and the
    // others still on the screen; `complete` says whether that is all of
    // them (the page's list has room for 32).
    void Handle(TouchPhase phase, std::span<const PageTouch> listed, bool complete, CanvasScale scale,
                const Sink& sink);

    // The point the touch holds, or -1.
    int PointOf(long id) const;
    int HeldCount() const;

private:
    struct Slot {
        bool held = false;
        long id = 0;
    };

    void LiftUnlisted(std::span<const PageTouch> listed, const Sink& sink);
    void Lift(int point, float x, float y, const Sink& sink);
    int LowestFree() const;

    std::array<Slot, kPoints> slots_{};
};
