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

const float kRates[32] = {0.5f,   0.5295f, 0.561f, 0.5945f, 0.63f,  0.6675f, 0.707f, 0.749f,
                          0.7935f, 0.841f, 0.891f, 0.944f,  1.0f,   1.059f,  1.122f, 1.189f,
                          1.26f,  1.335f,  1.414f, 1.498f,  1.587f, 1.682f,  1.782f, 1.888f,
                          2.0f,   2.118f,  2.244f, 2.378f,  2.52f,  2.67f,   2.828f, 2.996f};

TEST_F(TuneTablesTest, NoteRatiosAreSemitonesAroundNoteThirteen) {
    for (int n = 1; n <= 32; ++n) EXPECT_FLOAT_EQ(Player()->NoteRatio(n), kRates[n - 1]) << "note " << n;
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
