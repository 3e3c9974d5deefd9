// Steering without a pointer: a stick, a d-pad or keys deflect the ball
// the way a drag does. A deflection is a direction on the screen (x right, y
// down) of length at most 1; each update it adds deflection x K / d to the
// ball's velocity, d being the drag's divisor at the current move speed, so
// the move-speed setting scales every kind of steering alike.
//
// Rules every function here keeps:
//   - a result is finite and at most 1 long, whatever the input (NaN, huge
//     values, both opposite keys);
//   - nothing touched gives exactly (0, 0), and the game then adds nothing,
//     so an update without stick or keys is the update a drag alone makes.
#pragma once

struct Deflection {
    float x = 0, y = 0;
    bool Any() const { return x != 0 || y != 0; }
};

// Virtual pixels of drag per update that a full tilt is worth: a brisk
// drag, about half the view's width in a second. At the default move speed
// a full tilt brings the ball to its top speed in 8 updates and turns it
// round in 16, quick enough to dodge, gentle enough to aim between blocks.
constexpr float kFullTiltDrag = 6.0f;

// A resting stick rarely reads exactly 0; inside this radius it counts as
// centred.
constexpr float kStickDeadZone = 0.2f;

// The drag's divisor: 18 - 2 x move speed, 18 for a speed never set (0), 2
// for the fastest (8). A saved speed of 9 or more that the pause menu never
// corrected would make it zero or negative, steering backwards or without
// end; that plays as the pause menu's default (5) instead. Worked in floating
// point so that extreme saved values cannot overflow.
float DragDivisor(int moveSpeed);

// A stick reading as a deflection: NaN counts as 0, each axis is held to
// -1..1, the dead zone is cut out and what lies beyond it rescaled to start
// from 0, so a small push past the zone is a small deflection and a full
// tilt in any direction is 1.
Deflection StickDeflection(float x, float y);

// Held directions of a digital stick (d-pad or keys); a diagonal is as
// fast as a straight push, and opposite directions cancel.
Deflection DigitalDeflection(bool left, bool right, bool up, bool down);

// Two deflections at once (stick and keys) add up to at most a full tilt.
Deflection CombinedDeflection(Deflection a, Deflection b);

// The velocity one axis of a deflection adds in one update.
float SteeringVelocity(float deflection, int moveSpeed);
