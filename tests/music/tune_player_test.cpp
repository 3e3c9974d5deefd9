// The player's timing, arrangement and sound, on a hand-driven clock and the
// real audio device: what each row tells its channel (sample, gain, pitch,
// pan), rows due by the clock, pause and music-off, bars and sections
// reseeded from the song seed.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "audio/audio.h"
#include "game/game_globals.h"
#include "runtime/random.h"
#include "tests/music/player_fixture.h"

namespace {

constexpr int kLead = 2, kAccompaniment = 3, kBass = 4;

const gxtkSample* SampleOn(int channel) { return gAudioDevice->ChannelRecord(channel).sample.get(); }

// --- One row on one channel -----------------------------------------------------

class PlayRowTest : public PlayerTest {};

TEST_F(PlayRowTest, VolumeThirtyUnderMasterHalfGivesHalfAndVolumeOneGivesSilence) {
    c_TunePlayer* p = PlayingPlayer();
    p->PlayRow(kAccompaniment, 13, 30, 0, 0);
    EXPECT_FLOAT_EQ(Gain(AudioChannel(kAccompaniment)), 0.5f);
    EXPECT_FLOAT_EQ(p->levels[kAccompaniment], 1.0f);
    p->PlayRow(kAccompaniment, 13, 1, 0, 0);
    EXPECT_FLOAT_EQ(Gain(AudioChannel(kAccompaniment)), 0.0f);
    p->masterVolume = 0.25f;
    p->PlayRow(kAccompaniment, 0, 30, 0, 0);
    EXPECT_FLOAT_EQ(Gain(AudioChannel(kAccompaniment)), 0.25f);
    p->PlayRow(kAccompaniment, 0, 16, 0, 0);
    EXPECT_FLOAT_EQ(Gain(AudioChannel(kAccompaniment)), 0.25f * 15.0f / 29.0f);
}

TEST_F(PlayRowTest, VolumeThirtyOneSilencesTheChannel) {
    c_TunePlayer* p = PlayingPlayer();
    p->PlayRow(kLead, 13, 30, 0, 0);
    ASSERT_FLOAT_EQ(Gain(AudioChannel(kLead)), 0.5f);
    p->PlayRow(kLead, 0, 31, 0, 0);
    EXPECT_EQ(p->levels[kLead], 0.0f);
    EXPECT_FLOAT_EQ(Gain(AudioChannel(kLead)), 0.0f);
    EXPECT_FLOAT_EQ(p->envelopes[kLead], 1.4f) << "restarted at 1.5, one row's fall";
    // Later rows scale nothing back up.
    for (int i = 0; i < 10; ++i) p->PlayRow(kLead, 0, 0, 0, 0);
    EXPECT_FLOAT_EQ(Gain(AudioChannel(kLead)), 0.0f);
}

TEST_F(PlayRowTest, StruckNoteHoldsAboutFiveRowsThenFadesToNothing) {
    c_TunePlayer* p = PlayingPlayer();
    p->PlayRow(kBass, 13, 30, 0, 0);
    std::vector<float> gains;
    for (int i = 0; i < 16; ++i) {
        p->PlayRow(kBass, 0, 0, 0, 0);
        gains.push_back(Gain(AudioChannel(kBass)));
    }
    // The note restarts the envelope at 1.5 after its row's fall: five rows
    // at full level (1.4 .. 1.0), then 0.9, 0.8 ... of the level before.
    for (int i = 0; i < 5; ++i) EXPECT_FLOAT_EQ(gains[i], 0.5f) << "row " << i + 1;
    EXPECT_NEAR(gains[5], 0.5f * 0.9f, 1e-5);
    EXPECT_NEAR(gains[6], 0.5f * 0.9f * 0.8f, 1e-5);
    for (int i = 5; i < 16; ++i) EXPECT_LE(gains[i], gains[i - 1]);
    EXPECT_EQ(gains[15], 0.0f);
    // A volume alone holds the sounding note again.
    p->PlayRow(kBass, 0, 30, 0, 0);
    EXPECT_FLOAT_EQ(Gain(AudioChannel(kBass)), 0.5f);
    EXPECT_EQ(State(AudioChannel(kBass)), 1);
}

TEST_F(PlayRowTest, MelodicNoteLoopsItsVoiceAtTheNoteRateTimesTheProgressionLetter) {
    c_TunePlayer* p = PlayingPlayer();
    p->PlayRow(kBass, 25, 30, 0, 0);
    int channel = AudioChannel(kBass);
    EXPECT_EQ(channel, 27);
    EXPECT_EQ(State(channel), 1);
    EXPECT_EQ(gAudioDevice->ChannelRecord(channel).flags, 1) << "looping";
    EXPECT_EQ(SampleOn(channel), p->voices[4]->sample.get());
    EXPECT_FLOAT_EQ(Pitch(channel), 2.0f);
    EXPECT_EQ(p->channelBusy[kBass], 1);

    p->progression = String("jqq");
    p->PlayRow(kLead, 13, 30, 0, 0);
    EXPECT_FLOAT_EQ(p->transpose, 0.891f);
    EXPECT_FLOAT_EQ(Pitch(AudioChannel(kLead)), 0.891f);
    EXPECT_EQ(SampleOn(AudioChannel(kLead)), p->voices[2]->sample.get());
    p->progression = String("b");
    p->PlayRow(kAccompaniment, 15, 30, 0, 0);
    EXPECT_FLOAT_EQ(Pitch(AudioChannel(kAccompaniment)), 0.749f * 1.122f);
    // While stopped, progressions do not transpose.
    p->playState = 0;
    p->PlayRow(kAccompaniment, 15, 30, 0, 0);
    EXPECT_FLOAT_EQ(Pitch(AudioChannel(kAccompaniment)), 1.122f);
}

TEST_F(PlayRowTest, DrumNotesStrikeTheirKitSamplesPannedApart) {
    c_TunePlayer* p = PlayingPlayer();
    const int notes[8] = {13, 15, 17, 18, 20, 22, 24, 25};
    for (int k = 0; k < 8; ++k) {
        p->PlayRow(0, notes[k], 30, 0, 0);
        EXPECT_EQ(SampleOn(31), p->kitA[k + 1]->sample.get()) << "note " << notes[k];
        p->PlayRow(1, notes[k], 30, 0, 0);
        EXPECT_EQ(SampleOn(30), p->kitB[k + 1]->sample.get()) << "note " << notes[k];
    }
    EXPECT_EQ(gAudioDevice->ChannelRecord(31).flags, 0) << "one-shot";
    EXPECT_NEAR(PanX(31), std::sin(-0.35f), 1e-5);
    EXPECT_NEAR(PanX(30), std::sin(0.35f), 1e-5);
    EXPECT_FLOAT_EQ(p->rates[0], 1.0f);

    // Outside the map: the channel is cut, nothing starts, the envelope is
    // still the drum's long one.
    p->PlayRow(0, 14, 0, 0, 0);
    EXPECT_EQ(State(31), 0);
    EXPECT_FLOAT_EQ(p->envelopes[0], 3.9f);
    // A kit without the sample plays nothing either.
    p->kitB[3] = nullptr;
    p->PlayRow(1, 17, 30, 0, 0);
    EXPECT_EQ(State(30), 0);
}

TEST_F(PlayRowTest, RestingChannelStaysQuietUnlessItLeadsIntoTheNextSection) {
    c_TunePlayer* p = PlayingPlayer();
    p->mutedNow[kLead] = 1;
    p->barsLeft = 1;
    p->row = 60;
    p->PlayRow(kLead, 13, 30, 0, 0);
    EXPECT_EQ(State(AudioChannel(kLead)), 0);
    EXPECT_EQ(p->channelBusy[kLead], 0);

    p->leadIn[kLead] = 1;
    p->mutedNext[kLead] = 0;
    p->PlayRow(kLead, 13, 30, 0, 0);
    EXPECT_EQ(State(AudioChannel(kLead)), 1) << "the last eight rows before the section it plays in";

    StopChannel(AudioChannel(kLead));
    p->row = 55;
    p->PlayRow(kLead, 13, 30, 0, 0);
    EXPECT_EQ(State(AudioChannel(kLead)), 0) << "too early for the lead-in";

    p->row = 60;
    p->mutedNow[0] = 1;
    p->PlayRow(0, 13, 30, 0, 0);
    EXPECT_EQ(State(31), 0) << "drum channel without a lead-in";
}

TEST_F(PlayRowTest, RateCommandsSlideWithinAQuarterAndFourTimes) {
    c_TunePlayer* p = PlayingPlayer();
    int channel = AudioChannel(kLead);
    p->PlayRow(kLead, 13, 30, 0, 0);
    p->PlayRow(kLead, 0, 0, 1, 18);
    EXPECT_NEAR(Pitch(channel), 1.1f, 1e-5);
    p->PlayRow(kLead, 0, 0, 2, 36);
    EXPECT_NEAR(Pitch(channel), 0.9f, 1e-5);
    p->PlayRow(kLead, 0, 0, 3, 15);
    EXPECT_NEAR(Pitch(channel), 1.9f, 1e-5);
    for (int i = 0; i < 5; ++i) p->PlayRow(kLead, 0, 0, 3, 30);
    EXPECT_FLOAT_EQ(Pitch(channel), 4.0f);
    for (int i = 0; i < 10; ++i) p->PlayRow(kLead, 0, 0, 4, 30);
    EXPECT_FLOAT_EQ(Pitch(channel), 0.25f);
    for (int i = 0; i < 100; ++i) p->PlayRow(kLead, 0, 0, 2, 31);
    EXPECT_FLOAT_EQ(Pitch(channel), 0.25f);
    // A note with a slide: the slide applies after the note's rate.
    p->PlayRow(kLead, 25, 30, 1, 18);
    EXPECT_NEAR(Pitch(channel), 2.1f, 1e-5);
    // Other commands leave the channel's rate alone.
    SetChannelRate(channel, 1.7f);
    for (int command : {0, 5, 8, 27, 31}) p->PlayRow(kLead, 0, 0, command, 9);
    EXPECT_FLOAT_EQ(Pitch(channel), 1.7f);
}

// --- Rows by the clock -----------------------------------------------------------

class TimingTest : public PlayerTest {};

TEST_F(TimingTest, RowsFollowEightThousandOverTempoMilliseconds) {
    c_TunePlayer* p = PlayingPlayer();
    ASSERT_EQ(p->nextRowTime, 100);
    EXPECT_EQ(RunUntil(p, 100), 0) << "not due until the clock passes it";
    EXPECT_EQ(RunUntil(p, 100 + 84 * 10), 10);
    EXPECT_EQ(p->row, 10);
    EXPECT_EQ(p->nextRowTime, 100 + 84 * 10);
    p->tempo = 190;
    RunUntil(p, 100 + 84 * 10 + 1);
    EXPECT_EQ(p->nextRowTime, 100 + 84 * 10 + 42);
}

TEST_F(TimingTest, PauseStopsEveryChannelAndHoldsTheNextRowAHundredAndFiftyMsAway) {
    c_TunePlayer* p = PlayingPlayer();
    SetCell(p, 0, 0, 0, 13, 30);
    SetCell(p, 0, kLead, 0, 13, 30);
    SetCell(p, 0, kBass, 0, 13, 30);
    RunUntil(p, 101);
    ASSERT_EQ(State(AudioChannel(kLead)), 1);
    ASSERT_EQ(State(AudioChannel(kBass)), 1);

    SetClock(500);
    p->Update(1, 1);
    for (int c = 0; c < 5; ++c) {
        EXPECT_EQ(State(AudioChannel(c)), 0) << "channel " << c;
        EXPECT_EQ(p->channelBusy[c], 0);
    }
    EXPECT_EQ(p->nextRowTime, 650);
    EXPECT_EQ(p->playState, 2) << "paused, not stopped";
    int row = p->row;
    EXPECT_EQ(RunUntil(p, 650), 0);
    EXPECT_EQ(p->row, row);
    EXPECT_EQ(RunUntil(p, 651), 1);
}

TEST_F(TimingTest, MusicOffSilencesAndResumesOnTheBeatWithoutRushing) {
    c_TunePlayer* p = PlayingPlayer();
    SetCell(p, 0, kLead, 1, 13, 30);
    RunUntil(p, 200);
    ASSERT_EQ(p->row, 2);
    ASSERT_EQ(State(AudioChannel(kLead)), 1);
    SetClock(201);
    p->Update(0, 0);
    EXPECT_EQ(State(AudioChannel(kLead)), 0);
    for (int t = 202; t < 10000; t += 16) {
        SetClock(t);
        p->Update(0, 0);
    }
    EXPECT_EQ(p->row, 2) << "no rows while the music is off";
    // Back on ten seconds later: one row now, the next a row's length later.
    SetClock(10000);
    p->Update(0, 1);
    EXPECT_EQ(p->row, 3);
    EXPECT_EQ(p->nextRowTime, 10084);
    EXPECT_EQ(RunUntil(p, 10084), 0);
    EXPECT_EQ(RunUntil(p, 10085), 1);
}

TEST_F(TimingTest, TimeFarAheadCountsAsDueAndTheBeatRestartsFromNow) {
    c_TunePlayer* p = PlayingPlayer();
    SetClock(1000);
    p->nextRowTime = 1000 + 123456;
    p->Tick();
    EXPECT_EQ(p->row, 0) << "123456 ahead is still not due";
    p->nextRowTime = 1000 + 123457;
    p->Tick();
    EXPECT_EQ(p->row, 1);
    EXPECT_EQ(p->nextRowTime, 1084);
    p->Tick();
    EXPECT_EQ(p->row, 1) << "one row, not a race through the distance";
}

TEST_F(TimingTest, ClockWrappingPastTheLargestIntKeepsTheBeat) {
    c_TunePlayer* p = PlayingPlayer();
    SetClock(2147483647 - 100);
    p->nextRowTime = 2147483647 - 90;
    int rows = 0;
    for (int i = 0; i < 400; ++i) {
        SetClock(static_cast<int>(static_cast<unsigned>(Clock()) + 1u));
        int before = p->row;
        p->Update(0, 1);
        rows += p->row != before;
    }
    EXPECT_EQ(rows, 5) << "rows at -89, -5, +79, +163, +247 around the wrap";
}

TEST_F(TimingTest, NothingPlaysWhileLoadingOrStopped) {
    c_TunePlayer* p = PlayingPlayer();
    SetCell(p, 0, kLead, 0, 13, 30);
    p->loadStep = 5;
    EXPECT_EQ(RunUntil(p, 1000), 0);
    p->loadStep = 0;
    p->playState = 0;
    EXPECT_EQ(RunUntil(p, 2000), 0);
    EXPECT_EQ(State(AudioChannel(kLead)), 0);
}

TEST_F(TimingTest, StopAllStopsOnlyWhatThePlayerStarted) {
    c_TunePlayer* p = PlayingPlayer();
    SetCell(p, 0, kLead, 0, 13, 30);
    RunUntil(p, 101);
    ASSERT_EQ(State(AudioChannel(kLead)), 1);
    // Someone else's sound on a player channel that the player left idle.
    PlaySoundOnChannel(p->voices[3], AudioChannel(kAccompaniment), 1);
    p->StopAll(0);
    EXPECT_EQ(State(AudioChannel(kLead)), 0);
    EXPECT_EQ(State(AudioChannel(kAccompaniment)), 1);
    EXPECT_EQ(p->playState, 2);
    p->StopAll(1);
    EXPECT_EQ(p->playState, 0);
}

// --- Bars, breaks and sections -----------------------------------------------------

struct SectionChoice {
    std::vector<int> patterns, muted;
    bool operator==(const SectionChoice&) const = default;
};

class ArrangementTest : public PlayerTest {
protected:
    // Patterns 0..5 on every channel.
    static void FillSixPatterns(c_TunePlayer* p) {
        for (int f = 0; f < 6; ++f) {
            for (int c = 0; c < 5; ++c) SetCell(p, f, c, 0, 13, 10 + f);
        }
    }

    // Plays until `sections` sections have begun, recording each one's
    // choice, with `gameDraws` draws of the shared generator between rows.
    std::vector<SectionChoice> PlaySections(c_TunePlayer* p, int sections, int gameDraws) {
        std::vector<SectionChoice> choices;
        int seen = p->sectionCount;
        while (static_cast<int>(choices.size()) < sections) {
            NextRow(p);
            for (int i = 0; i < gameDraws; ++i) RandomFraction();
            if (p->sectionCount == seen) continue;
            seen = p->sectionCount;
            SectionChoice s;
            for (int c = 0; c < 5; ++c) {
                s.patterns.push_back(p->patternOf[c]);
                s.muted.push_back(p->mutedNow[c]);
            }
            choices.push_back(s);
        }
        return choices;
    }
};

TEST_F(ArrangementTest, BreakOnRowTenMakesTheNextRowRowZeroOfTheNextBar) {
    c_TunePlayer* p = PlayingPlayer();
    SetCell(p, 0, 0, 10, 13, 30, 8, 0);
    SetCell(p, 0, kLead, 0, 13, 30);
    for (int i = 0; i < 10; ++i) NextRow(p);
    ASSERT_EQ(p->row, 10);
    ASSERT_EQ(p->sectionCount, 0);
    NextRow(p);
    EXPECT_EQ(p->row, 0);
    EXPECT_EQ(p->sectionCount, 1) << "the bar ended: the first section began";
    StopChannel(AudioChannel(kLead));
    p->mutedNow[kLead] = 0;
    NextRow(p);
    EXPECT_EQ(p->row, 1);
    EXPECT_EQ(State(AudioChannel(kLead)), 1) << "row 0 was played next";
}

TEST_F(ArrangementTest, EveryChannelPlaysTheRowThatBreaks) {
    c_TunePlayer* p = PlayingPlayer();
    SetCell(p, 0, 0, 10, 13, 30, 8, 0);
    SetCell(p, 0, kBass, 10, 25, 30);
    SetCell(p, 0, kBass, 63, 1, 30);
    p->row = 10;
    SetClock(p->nextRowTime + 1);
    p->Tick();
    EXPECT_FLOAT_EQ(Pitch(AudioChannel(kBass)), 2.0f) << "row 10 of the bass, not its row 63";
    EXPECT_EQ(p->row, 0);
}

TEST_F(ArrangementTest, SongWithValuesOnlyInPatternZeroStaysOnPatternZero) {
    c_TunePlayer* p = PlayingPlayer();
    p->songSeed = 5;
    for (int c = 0; c < 5; ++c) SetCell(p, 0, c, 0, 13, 30);
    for (int i = 0; i < 40 * 64; ++i) {
        NextRow(p);
        for (int c = 0; c < 5; ++c) ASSERT_EQ(p->patternOf[c], 0);
    }
    EXPECT_GE(p->sectionCount, 10);
}

TEST_F(ArrangementTest, TwoPlayersWithTheSameSongAndSeedArrangeTheSameWay) {
    c_TunePlayer* first = PlayingPlayer();
    c_TunePlayer* second = PlayingPlayer();
    c_TunePlayer* other = PlayingPlayer();
    for (c_TunePlayer* p : {first, second, other}) FillSixPatterns(p);
    first->songSeed = second->songSeed = 2024;
    other->songSeed = 2025;
    randomSeed = 1;
    std::vector<SectionChoice> a = PlaySections(first, 60, 0);
    randomSeed = 99999;
    std::vector<SectionChoice> b = PlaySections(second, 60, 3);
    std::vector<SectionChoice> c = PlaySections(other, 60, 0);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, c);

    // The choices vary, and the two drum channels never rest together.
    std::vector<int> patternsSeen(6), restingSections(5);
    for (const SectionChoice& s : a) {
        for (int ch = 0; ch < 5; ++ch) {
            ++patternsSeen[s.patterns[ch]];
            restingSections[ch] += s.muted[ch];
        }
        EXPECT_FALSE(s.muted[0] == 1 && s.muted[1] == 1);
    }
    for (int f = 0; f < 6; ++f) EXPECT_GT(patternsSeen[f], 0) << "pattern " << f;
    for (int ch = 0; ch < 5; ++ch) {
        EXPECT_GT(restingSections[ch], 0) << "channel " << ch;
        EXPECT_LT(restingSections[ch], 60) << "channel " << ch;
    }
}

TEST_F(ArrangementTest, SectionsLastTwoOrFourBarsAndProgressionsMoveOneLetterPerBar) {
    c_TunePlayer* p = PlayingPlayer();
    p->progression = String("q");
    FillSixPatterns(p);
    std::vector<int> barLengths;
    std::vector<int> lettersPerBar;
    int bars = 0;
    int sections = 0;
    for (int i = 0; i < 64 * 60; ++i) {
        NextRow(p);
        if (p->row != 0) continue;
        ++bars;
        ASSERT_GE(p->progression.Length(), 1);
        ASSERT_LE(p->progression.Length(), 4);
        lettersPerBar.push_back(p->progression.Length());
        EXPECT_GT(p->LetterRatio(p->progression[0]), 0.0f);
        if (p->sectionCount != sections) {
            sections = p->sectionCount;
            barLengths.push_back(p->barsLeft);
        }
    }
    EXPECT_EQ(bars, 60);
    for (int n : barLengths) EXPECT_TRUE(n == 2 || n == 4) << n;
    // 4, 3, 2, 1, 4, 3, ...: the last letter is played before a refill.
    for (std::size_t i = 0; i < lettersPerBar.size(); ++i) EXPECT_EQ(lettersPerBar[i], 4 - static_cast<int>(i % 4));
}

TEST_F(ArrangementTest, PatternStepMovesToThePartnerInOddOrEvenBarsAndStaysInsideTheSong) {
    c_TunePlayer* p = PlayingPlayer();
    SetCell(p, 0, kLead, 0, 13, 30, 27, 1);
    SetCell(p, 1, kLead, 0, 25, 30, 27, 2);
    p->barsLeft = 3;
    SetClock(p->nextRowTime + 1);
    p->Tick();
    EXPECT_EQ(p->patternOf[kLead], 1) << "odd bar: step up";
    EXPECT_FLOAT_EQ(Pitch(AudioChannel(kLead)), 2.0f) << "the partner's row is the one played";
    p->row = 0;
    p->barsLeft = 3;
    SetClock(p->nextRowTime + 1);
    p->Tick();
    EXPECT_EQ(p->patternOf[kLead], 1) << "its own step is for even bars";
    p->row = 0;
    p->barsLeft = 2;
    SetClock(p->nextRowTime + 1);
    p->Tick();
    EXPECT_EQ(p->patternOf[kLead], 0);

    // A step down from pattern 0, or up from the last, stays in the song.
    SetCell(p, 0, kLead, 0, 13, 30, 27, 2);
    p->row = 0;
    SetClock(p->nextRowTime + 1);
    p->Tick();
    EXPECT_EQ(p->patternOf[kLead], 0);
    p->patternOf[kLead] = 63;
    SetCell(p, 63, kLead, 0, 13, 30, 27, 1);
    p->row = 0;
    p->barsLeft = 1;
    SetClock(p->nextRowTime + 1);
    p->Tick();
    EXPECT_EQ(p->patternOf[kLead], 63);
}

}  // namespace
