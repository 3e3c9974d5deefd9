// The level choice when a host has not every level's files yet.
#include <gtest/gtest.h>

#include <set>

#include "game/shell/resolution_level.h"

namespace {

int Usable(int wanted, int current, std::set<int> absent) {
    return UsableResolutionLevel(wanted, current, [&](int level) { return !absent.contains(level); });
}

TEST(ResolutionLevel, ThePresentWantedLevelWinsOverTheOneInUse) {
    EXPECT_EQ(Usable(4, 2, {}), 4);
    EXPECT_EQ(Usable(1, 4, {2}), 1);
}

TEST(ResolutionLevel, AnAbsentWantedLevelKeepsThePresentOneInUse) {
    EXPECT_EQ(Usable(4, 1, {4}), 1);  // even where 2 would be nearer
    EXPECT_EQ(Usable(1, 4, {1}), 4);
    // The level in use went missing too: the nearest present one.
    EXPECT_EQ(Usable(4, 1, {4, 1}), 2);
}

TEST(ResolutionLevel, AskedOnlyAboutWhatItNeeds) {
    std::set<int> asked;
    UsableResolutionLevel(2, 4, [&](int level) {
        asked.insert(level);
        return level != 2;
    });
    EXPECT_EQ(asked, (std::set<int>{2, 4}));
}

}  // namespace
