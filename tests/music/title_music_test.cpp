// The game driving its music generator: with the music switch on, the title
// starts the title song, the end of a game stops it and the title starts it
// again with the next seed, and the sound button cycles the four sound
// modes; with the switch off the generator is never started.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "audio/audio.h"
#include "game/game_globals.h"
#include "music/tune_player.h"
#include "tests/game/game_fixture.h"

namespace {

class TitleMusicTest : public GameTest {
protected:
    c_TunePlayer* Player() const { return App()->tunePlayer; }

    // Frames until `done` holds or `seconds` of real time pass.
    template <class Done>
    bool RunFramesUntil(Done done, double seconds = 5) {
        auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) return false;
            RunFrames(1);
        }
        return true;
    }

    static bool AnyPlayerChannelSounds() {
        for (int channel = 27; channel <= 31; ++channel) {
            if (ChannelState(channel) == 1) return true;
        }
        return false;
    }

    void EndTheGame() {
        App()->screen = kScreenNewGame;
        RunUpdates(1);
        ASSERT_EQ(App()->screen, kScreenPlay);
        App()->gameOver = 1;
        App()->gameOverTimer = 88;
        RunUpdates(2);
        ASSERT_EQ(App()->screen, kScreenScoreEntry) << "the game-over phase ended";
    }
};

TEST_F(TitleMusicTest, SwitchFollowsTheBuildOption) { EXPECT_EQ(musicEnabled, SOLBRIM_MUSIC); }

#if SOLBRIM_MUSIC

TEST_F(TitleMusicTest, TitleStartsTheSongWhichLoadsDuringFramesAndPlays) {
    Player()->StopAll(1);
    int starts = Player()->titleStarts;
    RunFrames(1);
    EXPECT_EQ(Player()->playState, 2);
    EXPECT_EQ(Player()->songName, String(c_TunePlayer::kTitleSong));
    EXPECT_EQ(Player()->titleStarts, starts + 1);
    EXPECT_EQ(Player()->songSeed, c_TunePlayer::kTitleSeed + starts * c_TunePlayer::kTitleSeedStep);
    EXPECT_EQ(Player()->baseChannel, 32);
    ASSERT_TRUE(RunFramesUntil([&] { return Player()->loadStep == 0; }));
    EXPECT_EQ(Player()->lastPattern[2], 3) << "the title song's lead patterns were decoded";
    EXPECT_TRUE(RunFramesUntil([&] { return Player()->row >= 4 && AnyPlayerChannelSounds(); }))
        << "rows play and something sounds";
}

TEST_F(TitleMusicTest, EndOfAGameStopsTheMusicAndTheTitleStartsItAfreshWithoutReloading) {
    RunFrames(1);
    ASSERT_TRUE(RunFramesUntil([&] { return Player()->loadStep == 0 && Player()->playState == 2; }));
    int seed = Player()->songSeed;
    App()->screen = kScreenNewGame;
    RunUpdates(1);
    EXPECT_EQ(Player()->playState, 2) << "the music goes on into play";
    Game().Host()->ClearRecords();
    EndTheGame();
    EXPECT_EQ(Player()->playState, 0);
    EXPECT_FALSE(AnyPlayerChannelSounds());
    RunUpdates(1);
    EXPECT_EQ(App()->screen, kScreenTitle);
    RunUpdates(1);
    EXPECT_EQ(Player()->playState, 2);
    EXPECT_EQ(Player()->songSeed, seed + c_TunePlayer::kTitleSeedStep);
    EXPECT_EQ(Player()->loadStep, 0) << "the song is still loaded";
    EXPECT_EQ(Player()->sectionCount, 0);
    EXPECT_FALSE(Game().Host()->OpenedImage("song0.png"));
}

TEST_F(TitleMusicTest, SoundButtonCyclesFourModesWithMarksAndSilencesTheMusicInTwoOfThem) {
    c_MyApp* app = App();
    ASSERT_TRUE(RunFramesUntil([&] { return app->titleSlide == 0 && Player()->loadStep == 0; }));
    ASSERT_EQ(app->landscape, 1);
    const float x = 32, y = 240;  // the sound button of the landscape title
    auto click = [&] {
        PressPointer(x, y);
        RunFrames(1);
        ReleasePointer();
        RunFrames(1);
    };
    auto markFrame = [&] {
        for (const DrawCommand& c : Game().Commands(kImageIcons)) {
            if (c.x == x + 20 && c.y == y) return c.frame;
        }
        return -1;
    };
    app->settings[kSettingSoundMode] = 1;
    std::vector<int> modes, marks;
    for (int i = 0; i < 4; ++i) {
        click();
        modes.push_back(app->settings[kSettingSoundMode]);
        marks.push_back(markFrame());
        if (app->settings[kSettingSoundMode] == 0 || app->settings[kSettingSoundMode] == 2) {
            EXPECT_FALSE(AnyPlayerChannelSounds()) << "mode " << app->settings[kSettingSoundMode] << " plays no music";
        }
    }
    EXPECT_EQ(modes, (std::vector<int>{2, 3, 0, 1}));
    EXPECT_EQ(marks, (std::vector<int>{9, 10, -1, 8}));
}

#else

TEST_F(TitleMusicTest, WithoutTheSwitchTheGeneratorIsNeverStarted) {
    RunFrames(120);
    App()->screen = kScreenNewGame;
    RunUpdates(1);
    RunFrames(30);
    EXPECT_EQ(Player()->playState, 0);
    EXPECT_EQ(Player()->loadStep, 0);
    EXPECT_TRUE(Player()->songName.Empty());
    EXPECT_EQ(Player()->baseChannel, 0) << "not even Init";
    for (const std::string& path : Game().Host()->soundPaths) EXPECT_EQ(path.find("inst/"), std::string::npos);
    EXPECT_FALSE(Game().Host()->OpenedImage("song0.png"));
    EXPECT_FALSE(AnyPlayerChannelSounds());
}

TEST_F(TitleMusicTest, EndOfAGameTellsTheIdleGeneratorToStop) {
    Player()->playState = 2;  // as if something had started it
    EndTheGame();
    EXPECT_EQ(Player()->playState, 0);
    RunUpdates(3);
    EXPECT_EQ(Player()->playState, 0) << "and the title does not start it";
}

#endif

}  // namespace
