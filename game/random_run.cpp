#include "game/random_run.h"

#include <climits>
#include <string>

#include "host/runtime_error.h"

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

// A reversed range makes the draw fall as the fraction grows, and the value
// above INT_MAX cannot be named: the search would find a wrong range silently.
int CheckedValue(int lo, int hi, int value) {
    const char* fault = lo > hi ? "lo is above hi" : value == INT_MAX ? "value must be below INT_MAX" : nullptr;
    if (fault) {
        Error(String(("RandomRun(" + std::to_string(lo) + ", " + std::to_string(hi) + ", " + std::to_string(value) +
                      "): " + fault)
                         .c_str()));
    }
    return value;
}

}  // namespace

RandomRun::RandomRun(int lo, int hi, int value)
    : first_(FirstGivingAtLeast(lo, hi, CheckedValue(lo, hi, value))),
      count_(FirstGivingAtLeast(lo, hi, value + 1) - first_) {}

void RandomRun::RejectCount(int count) {
    Error(String(("RandomRun::Draw(" + std::to_string(count) + "): a run is 0.." + std::to_string(kMaxRun) +
                  " draws")
                     .c_str()));
}
