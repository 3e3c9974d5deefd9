// The sound-mode rules shared by the title screen, the pause menu, PlaySfx
// and the music generator. A saved record may hold any int as the mode, so
// the extremes must come out in range without overflowing (the sanitizer
// build traps on signed overflow).
#include <gtest/gtest.h>

#include <climits>

#include "game/game_constants.h"
#include "game/sound_mode.h"

namespace {

TEST(SoundMode, EachModeSwitchesEffectsAndMusicAsNamed) {
    struct Row {
        int mode;
        bool effects, music;
    };
    const Row rows[] = {{0, false, false}, {1, true, true},   {2, true, false},
                        {3, false, true},  {4, false, false}, {-1, false, false}};
    for (const Row& r : rows) {
        EXPECT_EQ(SoundEffectsOn(r.mode), r.effects) << r.mode;
        EXPECT_EQ(MusicOn(r.mode), r.music) << r.mode;
    }
}

TEST(SoundMode, WithTheMusicGeneratorAClickCyclesAllFourModes) {
    int mode = 0;
    for (int expected : {1, 2, 3, 0, 1}) {
        mode = ClickedSoundMode(mode, true);
        EXPECT_EQ(mode, expected);
    }
    // Damaged saved modes land in 0..3 as the next mode after theirs.
    EXPECT_EQ(ClickedSoundMode(-1, true), 0);
    EXPECT_EQ(ClickedSoundMode(-6, true), 3);
    EXPECT_EQ(ClickedSoundMode(7, true), 0);
    EXPECT_EQ(ClickedSoundMode(INT_MAX, true), 0);
    EXPECT_EQ(ClickedSoundMode(INT_MIN, true), 1);
    EXPECT_EQ(NextSoundMode(INT_MAX), 0);
}

TEST(SoundMode, WithoutItAClickSwitchesBetweenOnAndOff) {
    EXPECT_EQ(ClickedSoundMode(0, false), 1);
    EXPECT_EQ(ClickedSoundMode(1, false), 0);
    // Effects-only and music-only have no place in the two-way switch.
    for (int mode : {2, 3, -1, 17, INT_MAX, INT_MIN}) EXPECT_EQ(ClickedSoundMode(mode, false), 0) << mode;
}

TEST(SoundMode, TheButtonIsCrossedOutOnlyWhileSilent) {
    EXPECT_EQ(SoundButtonIcon(0), kIconSoundOff);
    for (int mode : {1, 2, 3, -1}) EXPECT_EQ(SoundButtonIcon(mode), kIconSoundOn) << mode;
}

}  // namespace
