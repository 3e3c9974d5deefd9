// The player's tables: note and letter rates and progressions.
#include <gtest/gtest.h>

#include <cmath>

#include "game/game_globals.h"
#include "music/tune_player.h"
#include "runtime/ref.h"

namespace {

Global<Ref<c_TunePlayer>> gPlayer;

class TuneTablesTest : public ::testing::Test {
protected:
    void SetUp() override { gPlayer = new c_TunePlayer(); }
    void TearDown() override { gPlayer = nullptr; }
    c_TunePlayer* Player() const { return gPlayer; }
};

TEST_F(TuneTablesTest, NoteRatiosAreSemitonesAroundNoteThirteen) {
    // Within a cent or so of equal temperament, an octave every twelve notes.
    for (int n = 1; n <= 32; ++n)
        EXPECT_NEAR(Player()->NoteRatio(n), std::pow(2.0, (n - 13) / 12.0), 0.004) << "note " << n;
    for (int n : {0, -1, 33, 1000}) EXPECT_EQ(Player()->NoteRatio(n), 0.0f) << "note " << n;
}

TEST_F(TuneTablesTest, LettersNameTheSameRatesInKeyboardOrder) {
    const char* letters = "zsxdcvgbhnjmq2w3er5t6y7ui9o0p[=]";
    for (int n = 1; n <= 32; ++n)
        EXPECT_EQ(Player()->LetterRatio(letters[n - 1]), Player()->NoteRatio(n)) << letters[n - 1];
    EXPECT_FLOAT_EQ(Player()->LetterRatio('q'), 1.0f);
    EXPECT_FLOAT_EQ(Player()->LetterRatio('j'), 0.891f);
    EXPECT_FLOAT_EQ(Player()->LetterRatio('b'), 0.749f);
    EXPECT_FLOAT_EQ(Player()->LetterRatio('z'), 0.5f);
    for (int ch : {int{'Q'}, int{'a'}, int{' '}, int{'1'}, 0, 0x71 + 0x10000}) EXPECT_EQ(Player()->LetterRatio(ch), 0.0f) << ch;
}

TEST_F(TuneTablesTest, ProgressionsByNumberWithQqjjForAnyOther) {
    const char* expected[] = {"qqqq", "qqjj", "qqbb", "qbqb", "qqqj", "qqzz"};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(Player()->Progression(k), String(expected[k])) << k;
    for (int k : {-1, 6, 99}) EXPECT_EQ(Player()->Progression(k), String("qqjj")) << k;
    // Every letter of every progression is a pitch.
    for (int k = 0; k < 6; ++k) {
        String p = Player()->Progression(k);
        for (int i = 0; i < p.Length(); ++i) EXPECT_GT(Player()->LetterRatio(p[i]), 0.0f);
    }
}

}  // namespace
