// Test support for the music generator: players on a hand-driven clock, the
// real audio device (OpenAL Soft on its null backend) from the game harness,
// and read-back of what a channel was told (gain, pitch, position, state).
//
//   class MyTest : public PlayerTest {};
//   TEST_F(MyTest, Something) {
//       c_TunePlayer* p = NewPlayer();      // Init(32, 4, 3, 3, 4), clock at 0
//       SetClock(1000);
//       p->PlayRow(2, 13, 30, 0, 0);
//       EXPECT_FLOAT_EQ(Gain(30), 0.5f);     // player channel 2 -> audio channel 29
//   }
#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "music/tune_player.h"

class PlayerTest : public ::testing::Test {
public:
    static constexpr int kBase = 32;

protected:
    void SetUp() override;
    void TearDown() override;

    // A new player rooted for the test: Init(32, 4, 3, 3, 4), the test clock.
    c_TunePlayer* NewPlayer();
    // Its samples: the generated instruments from data/inst.
    void LoadInstruments(c_TunePlayer* player);
    // A player that is loaded (without a song image) and playing from bar 1,
    // its song cleared to `rows` set through SetCell.
    c_TunePlayer* PlayingPlayer();
    static void SetCell(c_TunePlayer* player, int pattern, int channel, int row, int note, int volume,
                        int command = 0, int parameter = 0);

    static void SetClock(int ms);
    static int Clock();
    // Advances the clock one millisecond at a time up to `ms`, calling
    // Update(0, 1) at each; returns how many rows were played.
    int RunUntil(c_TunePlayer* player, int ms);
    // Calls Tick until the next row has been played, advancing the clock
    // to the row's time.
    void NextRow(c_TunePlayer* player);

    // What the audio device holds for a channel.
    static float Gain(int channel);
    static float Pitch(int channel);
    static float PanX(int channel);
    static int State(int channel);

private:
    static int now_;
};

// The player channel's audio channel with the test base.
inline int AudioChannel(int playerChannel) { return PlayerTest::kBase - playerChannel - 1; }
