// The random numbers of the game and its music: one linear congruential
// generator over the shared `randomSeed` (multiplier 1664525, increment
// 1013904223, modulo 2^32). Every draw advances the one seed, so the order of
// draws is part of the game's behaviour. The music reseeds this same
// generator at the start of every bar (from its song's seed), so a game's
// draws after a bar start follow from the song, not from the game's earlier
// draws.
#pragma once
#include <cstdint>

// The seed a run starts with.
constexpr int kFirstRandomSeed = 1234;

// The one seed every random draw advances.
extern int randomSeed;

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

// lo..hi inclusive, from one generator step.
int RandomInt(int lo, int hi);
