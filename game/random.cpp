#include "game/random.h"

#include <cstdint>

#include "game/game_globals.h"

float RandomFraction() {
    // Unsigned arithmetic wraps modulo 2^32 without signed overflow.
    uint32_t seed = static_cast<uint32_t>(randomSeed) * 1664525u + 1013904223u;
    randomSeed = static_cast<int32_t>(seed);
    return static_cast<float>(seed >> 8) / 16777216.0f;
}
