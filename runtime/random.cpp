#include "runtime/random.h"

#include <cmath>

int randomSeed = kFirstRandomSeed;

float RandomFraction() {
    uint32_t seed = NextRandomState(static_cast<uint32_t>(randomSeed));
    randomSeed = static_cast<int32_t>(seed);
    return FractionOfState(seed);
}

int RandomIntOfFraction(float f, int lo, int hi) {
    return static_cast<int>(std::floor(lo + ((hi + 0.99f) - lo) * f));
}

int RandomInt(int lo, int hi) { return RandomIntOfFraction(RandomFraction(), lo, hi); }
