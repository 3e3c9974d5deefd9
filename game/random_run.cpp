#include "game/random_run.h"

namespace {

constexpr uint32_t kFractionSteps = 1u << 24;

// The lowest top-24-bit value whose draw gives at least `value`.
uint32_t FirstGivingAtLeast(int lo, int hi, int value) {
    uint32_t low = 0, high = kFractionSteps;
    while (low < high) {
        uint32_t mid = low + (high - low) / 2;
        if (RandomIntOfFraction(FractionOfState(mid << 8), lo, hi) >= value) high = mid;
        else low = mid + 1;
    }
    return low;
}

}  // namespace

RandomRun::RandomRun(int lo, int hi, int value)
    : first_(FirstGivingAtLeast(lo, hi, value)), count_(FirstGivingAtLeast(lo, hi, value + 1) - first_) {}
