// The level choice when a host has not every level's files yet.
#include <gtest/gtest.h>

#include <set>

#include "game/shell/resolution_level.h"

namespace {

int Usable(int wanted, std::set<int> absent) {
    return UsableResolutionLevel(wanted, [&](int level) { return !absent.contains(level); });
}

TEST(ResolutionLevel, ThePresentWantedLevelWins) {
    EXPECT_EQ(Usable(4, {}), 4);
    EXPECT_EQ(Usable(1, {2, 4}), 1);
    EXPECT_EQ(Usable(2, {1}), 2);
}

TEST(ResolutionLevel, AnAbsentWantedLevelGivesWayToTheLowestAboveItElseTheHighestBelow) {
    EXPECT_EQ(Usable(1, {1}), 2);
    EXPECT_EQ(Usable(1, {1, 2}), 4);
    EXPECT_EQ(Usable(2, {2}), 4);
    EXPECT_EQ(Usable(2, {2, 4}), 1);
    EXPECT_EQ(Usable(4, {4}), 2);
    EXPECT_EQ(Usable(4, {4, 2}), 1);
    EXPECT_EQ(Usable(2, {1, 2, 4}), 2);  // nothing present
}

TEST(ResolutionLevel, AsksNoFurtherOnceALevelWillDo) {
    std::set<int> asked;
    UsableResolutionLevel(2, [&](int level) {
        asked.insert(level);
        return level != 2;
    });
    EXPECT_EQ(asked, (std::set<int>{2, 4}));
}

}  // namespace
