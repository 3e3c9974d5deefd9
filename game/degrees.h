// The game measures every angle in degrees; these turn them into the
// radians <cmath> takes. Single precision throughout, as the game's fields are.
#pragma once
#include <cmath>

constexpr float kDegreesToRadians = 0.017453292f;
constexpr float kRadiansToDegrees = 57.29578f;

inline float SinDeg(float degrees) { return std::sin(degrees * kDegreesToRadians); }
inline float CosDeg(float degrees) { return std::cos(degrees * kDegreesToRadians); }
