#include "game/steering.h"

#include <cmath>

namespace {

constexpr int kDefaultMoveSpeed = 5;

float HeldToUnit(float v) {
    if (std::isnan(v)) return 0;
    if (v < -1) return -1;
    if (v > 1) return 1;
    return v;
}

// The deflection scaled to the given length; a zero one stays zero.
Deflection WithLength(Deflection d, float length) {
    float now = std::hypot(d.x, d.y);
    if (now == 0) return {};
    return {d.x * (length / now), d.y * (length / now)};
}

Deflection AtMostFullTilt(Deflection d) { return std::hypot(d.x, d.y) > 1 ? WithLength(d, 1) : d; }

float Direction(bool negative, bool positive) { return (positive ? 1.0f : 0.0f) - (negative ? 1.0f : 0.0f); }

}  // namespace

float DragDivisor(int moveSpeed) {
    float d = 18 - 2 * static_cast<float>(moveSpeed);
    return d > 0 ? d : 18 - 2 * kDefaultMoveSpeed;
}

Deflection StickDeflection(float x, float y) {
    Deflection d{HeldToUnit(x), HeldToUnit(y)};
    float length = std::hypot(d.x, d.y);
    if (length <= kStickDeadZone) return {};
    float beyond = (length - kStickDeadZone) / (1 - kStickDeadZone);
    return WithLength(d, beyond < 1 ? beyond : 1);
}

Deflection DigitalDeflection(bool left, bool right, bool up, bool down) {
    return AtMostFullTilt({Direction(left, right), Direction(up, down)});
}

Deflection CombinedDeflection(Deflection a, Deflection b) { return AtMostFullTilt({a.x + b.x, a.y + b.y}); }

float SteeringVelocity(float deflection, int moveSpeed) { return deflection * kFullTiltDrag / DragDivisor(moveSpeed); }
