// RandomRun: a run of RandomInt(lo, hi) draws on the shared seed that only
// asks which of them gave one value, without taking the draws one by one.
//
// - A run of count draws leaves randomSeed exactly where count single draws
//   leave it, and reports the same draws, in the same order.
// - A draw's value depends only on the top 24 bits of its seed and never
//   falls as they grow, so the draws giving one value are those whose bits
//   lie in one range, found once when the RandomRun is made.
// - The seed i steps ahead is a_i · seed + c_i (modulo 2^32) for constants of
//   i alone, so the draws of a run do not wait on each other.
// - count is 0..kMaxRun, and onValue must not draw itself: the seed moves
//   on only at the end of the run.
// - It serves RandomInt(lo, hi) with lo <= hi and a value below INT_MAX (the
//   play field's coin draws, RandomInt(0, kCoinOdds) == 1): the draw then
//   never falls as the seed's top bits grow. A run built outside that, or
//   drawn longer than kMaxRun, is a runtime error naming the call.
#pragma once
#include <array>
#include <cstdint>

#include "game/game_globals.h"
#include "runtime/random.h"

// The longest run: a column of the play field.
constexpr int kRandomMaxRun = 128;

// The constants a_i, c_i that move a seed i steps ahead, i = 0..kRandomMaxRun.
struct RandomSteps {
    std::array<uint32_t, kRandomMaxRun + 1> a, c;
};

constexpr RandomSteps MakeRandomSteps() {
    RandomSteps s{};
    s.a[0] = 1;
    s.c[0] = 0;
    for (int i = 1; i <= kRandomMaxRun; ++i) {
        s.a[i] = s.a[i - 1] * kRandomMultiplier;
        s.c[i] = NextRandomState(s.c[i - 1]);
    }
    return s;
}

inline constexpr RandomSteps kRunSteps = MakeRandomSteps();

class RandomRun {
public:
    static constexpr int kMaxRun = kRandomMaxRun;

    RandomRun(int lo, int hi, int value);

    // Advances randomSeed by count draws and calls onValue(i) for each draw i
    // (0 for the first) that gave the value.
    template <typename OnValue>
    void Draw(int count, OnValue&& onValue) const {
        if (count < 0 || count > kMaxRun) RejectCount(count);
        const uint32_t seed = static_cast<uint32_t>(randomSeed);
        bool any = false;
        for (int i = 1; i <= count; ++i) any |= Gives(kRunSteps.a[i] * seed + kRunSteps.c[i]);
        if (any) {
            for (int i = 1; i <= count; ++i)
                if (Gives(kRunSteps.a[i] * seed + kRunSteps.c[i])) onValue(i - 1);
        }
        randomSeed = static_cast<int32_t>(kRunSteps.a[count] * seed + kRunSteps.c[count]);
    }

private:
    [[noreturn]] static void RejectCount(int count);
    bool Gives(uint32_t seed) const { return (seed >> 8) - first_ < count_; }

    uint32_t first_ = 0;  // the lowest 24-bit top of a seed giving the value
    uint32_t count_ = 0;  // how many consecutive ones do
};
