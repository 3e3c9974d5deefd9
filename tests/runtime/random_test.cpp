// The shared random generator: its sequence, its integer ranges, and one
// generator step per draw.
#include "runtime/random.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

TEST(RandomTest, GeneratorFollowsTheQuickLinearCongruentialSequence) {
    // From seed 0 the generator yields the well-known sequence of the
    // "quick and dirty" generator with these constants.
    const unsigned expected[] = {0x3C6EF35Fu, 0x47502932u, 0xD1CCF6E9u, 0xAAF95334u, 0x6252E503u};
    randomSeed = 0;
    for (unsigned value : expected) {
        float f = RandomFraction();
        EXPECT_EQ(static_cast<unsigned>(randomSeed), value);
        EXPECT_EQ(f, static_cast<float>(value >> 8) / 16777216.0f);
        EXPECT_GE(f, 0.0f);
        EXPECT_LT(f, 1.0f);
    }
}

TEST(RandomTest, RandomIntCoversItsRangeEvenly) {
    struct Range {
        int lo, hi;
    };
    for (Range r : {Range{0, 360}, Range{-45, 45}, Range{-3, -1}, Range{5, 5}}) {
        randomSeed = 1234;
        std::map<int, int> counts;
        const int draws = 200 * (r.hi - r.lo + 1);
        for (int i = 0; i < draws; ++i) counts[RandomInt(r.lo, r.hi)]++;
        EXPECT_EQ(counts.begin()->first, r.lo);
        EXPECT_EQ(counts.rbegin()->first, r.hi);
        EXPECT_EQ(static_cast<int>(counts.size()), r.hi - r.lo + 1);
        // Floor, not truncation: zero is not drawn twice as often in a range
        // that spans it.
        for (auto [value, count] : counts) {
            EXPECT_LT(count, 200 * 1.4) << value << " in " << r.lo << ".." << r.hi;
            EXPECT_GT(count, 200 * 0.6) << value << " in " << r.lo << ".." << r.hi;
        }
    }
}

TEST(RandomTest, RandomIntIsReproducibleFromASeedAndTakesOneStep) {
    randomSeed = 99;
    std::vector<int> first;
    for (int i = 0; i < 20; ++i) first.push_back(RandomInt(-45, 45));
    randomSeed = 99;
    for (int i = 0; i < 20; ++i) EXPECT_EQ(RandomInt(-45, 45), first[i]);

    randomSeed = 99;
    RandomFraction();
    int afterOneStep = randomSeed;
    randomSeed = 99;
    RandomInt(0, 10);
    EXPECT_EQ(randomSeed, afterOneStep);
}

}  // namespace
