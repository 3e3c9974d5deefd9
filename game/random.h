// The game's random numbers: one linear congruential generator over the
// shared `randomSeed` (multiplier 1664525, increment 1013904223, modulo 2^32).
// Every draw advances the one seed, so the order of draws is part of the
// game's behaviour.
#pragma once
#include <cstdint>

constexpr uint32_t kRandomMultiplier = 1664525u;
constexpr uint32_t kRandomIncrement = 1013904223u;

// One generator step on a seed (unsigned, so it wraps modulo 2^32).
constexpr uint32_t NextRandomState(uint32_t seed) { return seed * kRandomMultiplier + kRandomIncrement; }

// The fraction in [0, 1) a seed stands for: its top 24 bits.
inline float FractionOfState(uint32_t seed) { return static_cast<float>(seed >> 8) / 16777216.0f; }

// One generator step; the fraction of the new seed.
float RandomFraction();

// The integer lo..hi a fraction gives (floor, in float arithmetic).
int RandomIntOfFraction(float f, int lo, int hi);
