// A run of draws must report exactly the draws one-by-one drawing would
// give the value, and leave the seed where they leave it: the play field's
// coins and everything drawn after them depend on it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "game/game_globals.h"
#include "runtime/random.h"
#include "game/random_run.h"

namespace {

struct Outcome {
    std::vector<int> hits;
    int seed;
};

Outcome OneByOne(int seed, int count, int lo, int hi, int value) {
    randomSeed = seed;
    Outcome out;
    for (int i = 0; i < count; ++i)
        if (RandomIntOfFraction(RandomFraction(), lo, hi) == value) out.hits.push_back(i);
    out.seed = randomSeed;
    return out;
}

Outcome AsRun(int seed, int count, const RandomRun& run) {
    randomSeed = seed;
    Outcome out;
    run.Draw(count, [&](int i) { out.hits.push_back(i); });
    out.seed = randomSeed;
    return out;
}

TEST(RandomRun, GivesTheDrawsAndSeedOfSingleDraws) {
    struct Case {
        int lo, hi, value;
    };
    // Common and rare values, both ends of a range, a range across zero.
    const Case cases[] = {{0, 3, 2}, {0, 5000, 1}, {0, 5000, 0}, {0, 5000, 5000}, {-45, 45, -45}, {-45, 45, 45},
                          {-3, -1, -2}};
    const int counts[] = {1, 37, 127, RandomRun::kMaxRun};
    for (const Case& c : cases) {
        const RandomRun run(c.lo, c.hi, c.value);
        int totalHits = 0;
        for (int seed = -7919 * 40; seed < 7919 * 40; seed += 7919) {
            for (int count : counts) {
                Outcome want = OneByOne(seed, count, c.lo, c.hi, c.value);
                Outcome got = AsRun(seed, count, run);
                ASSERT_EQ(got.hits, want.hits) << c.lo << ".." << c.hi << " = " << c.value << ", seed " << seed
                                               << ", " << count << " draws";
                ASSERT_EQ(got.seed, want.seed);
                totalHits += static_cast<int>(want.hits.size());
            }
        }
        EXPECT_GT(totalHits, 0) << "no case drew " << c.value << " in " << c.lo << ".." << c.hi;
    }
}

// The seed whose next state is `state` (the step inverted modulo 2^32).
int SeedBefore(uint32_t state) {
    uint32_t inverse = kRandomMultiplier;  // Newton's iteration for 1 / a
    for (int i = 0; i < 5; ++i) inverse *= 2u - kRandomMultiplier * inverse;
    return static_cast<int>((state - kRandomIncrement) * inverse);
}

TEST(RandomRun, AgreesOnBothSidesOfEveryEdgeOfAValue) {
    struct Case {
        int lo, hi, value;
    };
    for (Case c : {Case{0, 5000, 1}, Case{0, 3, 2}, Case{-45, 45, 0}}) {
        const RandomRun run(c.lo, c.hi, c.value);
        const float width = (c.hi + 0.99f) - c.lo;
        int given = 0;
        for (int edge : {c.value, c.value + 1}) {
            const double top = (edge - c.lo) / width * 16777216.0;
            for (int k = static_cast<int>(top) - 4; k <= static_cast<int>(top) + 4; ++k) {
                const int seed = SeedBefore((static_cast<uint32_t>(k) << 8) | 0x5Au);
                Outcome want = OneByOne(seed, 1, c.lo, c.hi, c.value);
                ASSERT_EQ(AsRun(seed, 1, run).hits, want.hits) << c.value << " near top bits " << k;
                given += static_cast<int>(want.hits.size());
            }
        }
        EXPECT_GT(given, 2);  // both sides of both edges were met
        EXPECT_LT(given, 16);
    }
}

TEST(RandomRun, AValueOutsideTheRangeIsNeverDrawnButTheSeedMovesOn) {
    const RandomRun run(0, 3, 7);
    Outcome got = AsRun(2024, 100, run);
    EXPECT_TRUE(got.hits.empty());
    EXPECT_EQ(got.seed, OneByOne(2024, 100, 0, 3, 7).seed);
    EXPECT_EQ(AsRun(2024, 0, run).seed, 2024);
}

// ---- calls the run does not serve ------------------------------------------

// In a death test's child: the banner on standard error, no debug console,
// and the crash report kept out of the player's folder.
void AsFailingChild() {
    std::fflush(stdout);
    dup2(2, 1);
    std::freopen("/dev/null", "r", stdin);
    setenv("XDG_STATE_HOME", "/nonexistent/solbrim-test", 1);
}

void BuildRun(int lo, int hi, int value) {
    AsFailingChild();
    const RandomRun run(lo, hi, value);
    std::exit(0);
}

void DrawRun(int count) {
    AsFailingChild();
    const RandomRun run(0, 3, 2);
    run.Draw(count, [](int) {});
    std::exit(0);
}

TEST(RandomRunDeathTest, AReversedRangeIsARuntimeErrorNamingTheCall) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(BuildRun(5, 2, 3), testing::ExitedWithCode(255),
                "Vellum Runtime Error : RandomRun\\(5, 2, 3\\): lo is above hi");
    EXPECT_EXIT(BuildRun(3, 2, 2), testing::ExitedWithCode(255), "lo is above hi");
    EXPECT_EXIT(BuildRun(2, 2, 2), testing::ExitedWithCode(0), "");  // a one-value range is fine
}

TEST(RandomRunDeathTest, TheLargestIntCannotBeTheValue) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(BuildRun(0, 3, INT_MAX), testing::ExitedWithCode(255), "value must be below INT_MAX");
    EXPECT_EXIT(BuildRun(0, 3, INT_MAX - 1), testing::ExitedWithCode(0), "");
}

TEST(RandomRunDeathTest, DrawsOutside0To128AreARuntimeError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(DrawRun(RandomRun::kMaxRun + 1), testing::ExitedWithCode(255),
                "RandomRun::Draw\\(129\\): a run is 0..128 draws");
    EXPECT_EXIT(DrawRun(-1), testing::ExitedWithCode(255), "RandomRun::Draw\\(-1\\)");
    EXPECT_EXIT(DrawRun(RandomRun::kMaxRun), testing::ExitedWithCode(0), "");
}

}  // namespace
