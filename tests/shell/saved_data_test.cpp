// Saved data on the game object: the state file it writes and reads, the
// messages per block, the corrections, and the entry of finished games.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "game/game_globals.h"
#include "game/shell/saved_record.h"
#include "runtime/recent_lines.h"
#include "tests/game/game_fixture.h"

namespace {

const char* const kStateFile = ".vellumstate";

std::string ReadStateFile() {
    std::ifstream in(kStateFile, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteStateFile(const std::string& bytes) {
    std::ofstream out(kStateFile, std::ios::binary | std::ios::trunc);
    out << bytes;
}

class SavedDataTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        App()->screen = 0;  // no screen runs unless a test starts one
    }

    // The arrays as OnCreate leaves them before it loads.
    void ClearLikeStartUp() {
        c_MyApp* app = App();
        for (int i = 0; i < 25; ++i) app->settings[i] = 0;
        app->settings[kSettingSoundMode] = 1;
        for (int i = 0; i < 256; ++i) app->badgeFlags[i] = false;
        for (int i = 0; i < 150; ++i) app->highScores[i] = 0;
    }

    // Loads the state file; what the loader printed.
    std::string Load() {
        ClearLikeStartUp();
        testing::internal::CaptureStdout();
        App()->LoadSavedData();
        return testing::internal::GetCapturedStdout();
    }

    void FillRandomly(unsigned seed) {
        c_MyApp* app = App();
        std::mt19937 rng(seed);
        std::uniform_int_distribution<int> value(-100000, 100000), coin(0, 1);
        for (int i = 0; i < 25; ++i) app->settings[i] = value(rng);
        app->settings[10] = 64 + coin(rng) * 500;  // in range: no correction applies
        app->settings[11] = 64 + coin(rng) * 30;
        app->settings[12] = 8 + coin(rng);
        for (int i = 0; i < 256; ++i) app->badgeFlags[i] = coin(rng) == 1;
        app->badgeFlags[31] = app->badgeFlags[255] = true;  // bit 31 of two words
        for (int i = 0; i < 150; ++i) app->highScores[i] = value(rng);
    }
};

TEST_F(SavedDataTest, AFreshStartHasTheDefaults) {
    std::string printed = Load();
    c_MyApp* app = App();
    for (int i = 0; i < 25; ++i) {
        int expected = i == 5 ? 1 : i == 10 || i == 11 ? 64 : i == 12 ? 10 : 0;
        EXPECT_EQ(app->settings[i], expected) << "setting " << i;
    }
    for (int i = 0; i < 256; ++i) EXPECT_FALSE(app->badgeFlags[i]);
    for (int i = 0; i < 60; ++i) EXPECT_EQ(app->highScores[i], 0);
    EXPECT_EQ(printed, "");  // blocks missing for lack of fields are skipped silently
}

TEST_F(SavedDataTest, SavingAndLoadingReproducesAllThreeArrays) {
    c_MyApp* app = App();
    FillRandomly(1);
    std::vector<int> settings(app->settings.begin(), app->settings.end());
    std::vector<bool> badges(app->badgeFlags.begin(), app->badgeFlags.end());
    std::vector<int> scores(app->highScores.begin(), app->highScores.begin() + 60);
    app->SaveData();
    std::string printed = Load();
    EXPECT_EQ(printed,
              "Settings Loaded\nBadges Loaded\nHighscore 0 Loaded\nHighscore 1 Loaded\nHighscore 2 Loaded\n");
    EXPECT_EQ(std::vector<int>(app->settings.begin(), app->settings.end()), settings);
    EXPECT_EQ(std::vector<bool>(app->badgeFlags.begin(), app->badgeFlags.end()), badges);
    EXPECT_EQ(std::vector<int>(app->highScores.begin(), app->highScores.begin() + 60), scores);
}

TEST_F(SavedDataTest, DebugModePrintsTheRecordWhenSavingAndLoading) {
    App()->highScores[0] = 42;
    debugMode = 1;
    testing::internal::CaptureStdout();
    App()->SaveData();
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed, ReadStateFile() + "\n");
    std::string loaded = Load();
    EXPECT_EQ(loaded.substr(0, printed.size()), printed);
    debugMode = 0;
    testing::internal::CaptureStdout();
    App()->SaveData();
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
}

TEST_F(SavedDataTest, TheRecordNeverReachesTheLinesACrashReportShows) {
    App()->highScores[0] = 4217;
    debugMode = 1;
    ForgetRecentLines();
    testing::internal::CaptureStdout();
    App()->SaveData();
    std::string printed = testing::internal::GetCapturedStdout();
    printed += Load();
    debugMode = 0;
    std::string record = ReadStateFile();
    ASSERT_NE(printed.find(record + "\n" + record), std::string::npos);
    std::string kept;
    ForEachRecentLine([](const char* line, std::size_t length, void* context) {
        static_cast<std::string*>(context)->append(line, length).append("\n");
    }, &kept);
    EXPECT_EQ(kept.find("4217"), std::string::npos) << kept;
    EXPECT_NE(kept.find("Settings Loaded"), std::string::npos) << kept;
}

TEST_F(SavedDataTest, AStateFileThatCannotBeWrittenIsReported) {
    std::remove(kStateFile);
    ASSERT_TRUE(std::filesystem::create_directory(kStateFile));  // fopen "wb" fails on a directory
    testing::internal::CaptureStdout();
    App()->SaveData();
    std::string printed = testing::internal::GetCapturedStdout();
    std::filesystem::remove(kStateFile);
    EXPECT_EQ(printed, "Saving the game state failed\n");
}

TEST_F(SavedDataTest, ADamagedTableIsResetAloneWithItsMessage) {
    c_MyApp* app = App();
    FillRandomly(2);
    app->SaveData();
    std::string text = ReadStateFile();
    // Field 35 + 21 + 4 is a value of the mode-2 table.
    size_t at = 0;
    for (int i = 0; i < 60; ++i) at = text.find('|', at) + 1;
    WriteStateFile(text.substr(0, at) + "7" + text.substr(at));
    std::string printed = Load();
    EXPECT_EQ(printed,
              "Settings Loaded\nBadges Loaded\nHighscore 0 Loaded\nHighscore 1 Checksum Invalid\n"
              "Highscore 2 Loaded\n");
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(app->highScores[10 + i], 0);
        EXPECT_EQ(app->highScores[40 + i], 0);
    }
    FillRandomly(2);  // the same values again, to compare the survivors
    std::vector<int> expected(app->highScores.begin(), app->highScores.begin() + 60);
    Load();
    for (int i : {0, 9, 20, 29, 30, 39, 50, 59}) EXPECT_EQ(app->highScores[i], expected[i]) << i;
}

TEST_F(SavedDataTest, ADamagedSettingsBlockFallsBackToTheCorrectedDefaults) {
    c_MyApp* app = App();
    app->settings[kSettingMoveSpeed] = 7;
    app->settings[kSettingSoundMode] = 2;
    app->highScores[0] = 99;
    app->SaveData();
    std::string text = ReadStateFile();
    WriteStateFile("x" + text.substr(text.find('|')) );  // setting 0: weight 0, still valid
    EXPECT_EQ(Load().substr(0, 16), "Settings Loaded\n");
    EXPECT_EQ(app->settings[kSettingMoveSpeed], 7);
    WriteStateFile(text.substr(0, text.find('|') + 1) + "8" + text.substr(text.find('|', text.find('|') + 1)));
    std::string printed = Load();
    EXPECT_EQ(printed.substr(0, 26), "Settings Checksum Invalid\n");
    EXPECT_EQ(app->settings[kSettingMoveSpeed], 0);
    EXPECT_EQ(app->settings[kSettingSoundMode], 1);
    EXPECT_EQ(app->settings[10], 64);
    EXPECT_EQ(app->settings[11], 64);
    EXPECT_EQ(app->settings[12], 10);
    EXPECT_EQ(app->highScores[0], 99);
}

// A hand-edited setting in a file whose final separator was lost: only the
// settings fall back, and the next save writes the score tables back intact.
TEST_F(SavedDataTest, AnEditedSettingInAFileWithoutItsLastSeparatorKeepsTheScores) {
    c_MyApp* app = App();
    app->settings[kSettingMoveSpeed] = 6;
    app->highScores[10] = app->highScores[40] = 730;  // modes 2 and 3 played, mode 1 not
    app->highScores[20] = app->highScores[50] = 85;
    app->SaveData();
    std::string text = ReadStateFile();
    size_t second = text.find('|', text.find('|') + 1);
    std::string edited = text.substr(0, second + 1) + "3" + text.substr(text.find('|', second + 1));
    WriteStateFile(edited.substr(0, edited.size() - 1));
    EXPECT_EQ(Load(), "Settings Checksum Invalid\nBadges Loaded\nHighscore 0 Loaded\nHighscore 1 Loaded\n"
                      "Highscore 2 Loaded\n");
    app->SaveData();
    Load();
    EXPECT_EQ(app->settings[kSettingMoveSpeed], 0);
    EXPECT_EQ(app->highScores[10], 730);
    EXPECT_EQ(app->highScores[40], 730);
    EXPECT_EQ(app->highScores[20], 85);
    EXPECT_EQ(app->highScores[50], 85);
}

TEST_F(SavedDataTest, OddStateFilesNeverCrashTheStart) {
    const std::string utf16 = std::string("\xFF\xFE", 2) + std::string("1\0|\0", 4);
    for (const std::string& bytes : {std::string(), std::string("|||"), std::string("\x80\xFF\xFE garbage"),
                                     std::string(1 << 20, '7'), utf16, std::string("-1|-1|-1|-1|-1|")}) {
        WriteStateFile(bytes);
        Load();
        c_MyApp* app = App();
        EXPECT_GE(app->settings[10], 64);
        EXPECT_GE(app->settings[12], 8);
    }
}

TEST_F(SavedDataTest, SavedSoundModeAndSpeedOutOfRangeAreHarmless) {
    c_MyApp* app = App();
    app->settings[kSettingMoveSpeed] = -40;
    app->settings[kSettingSoundMode] = 77;
    app->SaveData();
    Load();
    ASSERT_EQ(app->settings[kSettingSoundMode], 77);
    int rotor = app->sfxRotor;
    app->PlaySfx(kSoundClick, 1, 0.5f, 0);  // a mode outside 1..2 plays nothing
    EXPECT_EQ(app->sfxRotor, rotor);
    // Without the music generator, the title's sound button turns any such mode off.
    musicEnabled = 0;
    app->screen = kScreenTitle;
    RunFrames(40);
    PressPointer(32, 240);
    RunFrames(1);
    ReleasePointer();
    RunFrames(1);
    EXPECT_EQ(app->settings[kSettingSoundMode], 0);
}

// ---- entering scores -----------------------------------------------------------

class RecordScoreTest : public SavedDataTest {
protected:
    void Finish(int mode, int points) {
        App()->gameMode = mode;
        App()->score = points;
        App()->RecordScore();
    }
    int Best(int mode, int place) { return App()->highScores[kScorePlaces * (mode - 1) + place]; }
    int Latest(int mode, int game) {
        return App()->highScores[kRecentScores + kScorePlaces * (mode - 1) + game];
    }
};

TEST_F(RecordScoreTest, AnEqualScoreRanksBelowTheEntryItTies) {
    Finish(2, 500);
    Finish(2, 300);
    Finish(2, 500);
    EXPECT_EQ(Best(2, 0), 500);
    EXPECT_EQ(Best(2, 1), 500);
    EXPECT_EQ(Best(2, 2), 300);
    EXPECT_EQ(Best(2, 3), 0);
    EXPECT_EQ(Best(1, 0), 0);  // other modes untouched
    EXPECT_EQ(Best(3, 0), 0);
}

TEST_F(RecordScoreTest, ZeroIntoAnEmptyTableEntersOnlyTheLatestList) {
    Finish(1, 0);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(Best(1, i), 0);
    Finish(1, 8);
    Finish(1, 0);
    EXPECT_EQ(Best(1, 0), 8);
    EXPECT_EQ(Best(1, 1), 0);
    EXPECT_EQ(Latest(1, 0), 0);
    EXPECT_EQ(Latest(1, 1), 8);
    EXPECT_EQ(Latest(1, 2), 0);
}

TEST_F(RecordScoreTest, TheTenthEntryFallsOutAndTheLatestListKeepsTenGamesNewestFirst) {
    for (int points = 10; points <= 120; points += 10) Finish(3, points);  // 12 games
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(Best(3, i), 120 - 10 * i) << "place " << i;
        EXPECT_EQ(Latest(3, i), 120 - 10 * i) << "game " << i;
    }
    Finish(3, 55);
    EXPECT_EQ(Best(3, 6), 60);
    EXPECT_EQ(Best(3, 7), 55);
    EXPECT_EQ(Best(3, 9), 40);  // 30 fell out
    EXPECT_EQ(Latest(3, 0), 55);
    EXPECT_EQ(Latest(3, 9), 40);
}

TEST_F(RecordScoreTest, EveryFinishedGameIsSaved) {
    Finish(2, 1234);
    SavedRecordLoad load = ReadSavedRecord(String(ReadStateFile().c_str()));
    ASSERT_EQ(load.tables[1], BlockResult::Loaded);
    EXPECT_EQ(load.record.best[1][0], 1234);
    EXPECT_EQ(load.record.recent[1][0], 1234);
    // A mode no title offers enters nothing and writes nothing out of bounds.
    std::vector<int> before(App()->highScores.begin(), App()->highScores.end());
    Finish(0, 50);
    Finish(4, 50);
    EXPECT_EQ(std::vector<int>(App()->highScores.begin(), App()->highScores.end()), before);
}

}  // namespace
