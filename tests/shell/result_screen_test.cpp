// The game-over overlay, the place labels and number padding, alone and in
// the loop play -> game over -> score entry -> title.
#include <algorithm>

#include "game/game_globals.h"
#include "music/tune_player.h"
#include "tests/game/game_fixture.h"
#include "tests/shell/queued_text.h"

namespace {

class ResultScreenTest : public GameTest {
protected:
    // Mode 2's best table: 100, 90, ..., 10.
    void FillModeTwo() {
        for (int i = 0; i < 10; ++i) App()->highScores[10 + i] = 100 - 10 * i;
        App()->gameMode = 2;
    }
    std::string Place(int points) {
        App()->score = points;
        return App()->PlaceName().ToUtf8();
    }
};

TEST_F(ResultScreenTest, PlaceLabelsCountAnEqualEntryAsBeaten) {
    FillModeTwo();
    const char* labels[] = {"1st!", "2nd", "3rd", "4th", "5th", "6th", "7th", "8th", "9th", "10th"};
    for (int place = 1; place <= 10; ++place) {
        EXPECT_EQ(Place(110 - 10 * place), labels[place - 1]) << "score equal to place " << place;
        EXPECT_EQ(App()->loopIndex, place);
    }
    EXPECT_EQ(Place(75), "4th");  // between the third and the fourth
    EXPECT_EQ(Place(9), "");
    EXPECT_EQ(App()->loopIndex, 0);
    App()->gameMode = 1;  // an empty table: even 0 would be first
    EXPECT_EQ(Place(0), "1st!");
}

TEST_F(ResultScreenTest, EqualToTheTenthShowsAPlaceTheTableDoesNotGive) {
    FillModeTwo();
    App()->score = 10;
    App()->gameOverTimer = 60;
    App()->screen = kScreenPlay;
    App()->BeginFrame(0, 0, 0, 1);
    App()->ResultScreen();
    std::vector<QueuedLine> lines = QueuedLines();
    EXPECT_TRUE(HasLine(lines, "NewHighscore"));
    EXPECT_TRUE(HasLine(lines, "10th"));
    App()->RecordScore();
    EXPECT_EQ(App()->highScores[19], 10);  // the old tenth stays; 10 is not greater
    EXPECT_EQ(App()->highScores[40], 10);
}

TEST_F(ResultScreenTest, PadNumberKeepsTheLastDigitsRightAligned) {
    c_MyApp* app = App();
    EXPECT_EQ(app->PadNumber(7, 3, String("0")).ToUtf8(), "007");
    EXPECT_EQ(app->PadNumber(12345, 3, String("0")).ToUtf8(), "345");
    EXPECT_EQ(app->PadNumber(1234567, 11, String(" ")).ToUtf8(), "    1234567");
    EXPECT_EQ(app->PadNumber(2147483647, 11, String(" ")).ToUtf8(), " 2147483647");
    EXPECT_EQ(app->PadNumber(-5, 4, String("0")).ToUtf8(), "00-5");
    EXPECT_EQ(app->PadNumber(0, 1, String("ab")).ToUtf8(), "0");
    EXPECT_EQ(app->PadNumber(42, 0, String("0")).ToUtf8(), "");
    EXPECT_EQ(app->PadNumber(42, -3, String("0")).ToUtf8(), "");
}

TEST_F(ResultScreenTest, TimerGrowsToNinetyHandsOverAndWithdraws) {
    c_MyApp* app = App();
    app->screen = kScreenPlay;
    app->gameOverTimer = 0;
    app->tunePlayer->playState = 2;  // as if a song were playing
    for (int i = 1; i < 90; ++i) {
        app->ResultScreen();
        ASSERT_EQ(app->gameOverTimer, i);
        ASSERT_EQ(app->screen, kScreenPlay);
    }
    EXPECT_EQ(app->tunePlayer->playState, 2);
    app->ResultScreen();
    EXPECT_EQ(app->screen, kScreenScoreEntry);
    EXPECT_EQ(app->gameOverTimer, 75);
    EXPECT_EQ(app->tunePlayer->playState, 0);  // the music generator was told to stop
    app->screen = kScreenTitle;
    int calls = 0;
    while (app->gameOverTimer > 0 && calls < 100) {
        app->ResultScreen();
        ++calls;
    }
    EXPECT_EQ(calls, 38);  // 75 down by 2, stopping at 0
    EXPECT_EQ(app->gameOverTimer, 0);
    app->ResultScreen();
    EXPECT_EQ(app->gameOverTimer, 0);
}

TEST_F(ResultScreenTest, OverlayVeilStripsAndWordsFollowTheTimer) {
    c_MyApp* app = App();
    app->score = 5;
    app->gameMode = 3;
    app->highScores[20] = 50;
    app->highScores[29] = 10;  // a full table that 5 does not reach
    for (int i = 21; i < 29; ++i) app->highScores[i] = 20;
    app->screen = kScreenPlay;

    app->BeginFrame(0, 0, 0, 1);
    app->ResultScreen();  // timer 0: nothing drawn yet
    EXPECT_TRUE(Game().Commands().empty());

    for (int t : {10, 80}) {
        app->gameOverTimer = t;
        app->BeginFrame(0, 0, 0, 1);
        app->ResultScreen();
        std::vector<DrawCommand> rects = Game().Commands(kRect);
        ASSERT_EQ(rects.size(), 3u) << "veil and two strips, no place panel";
        EXPECT_FLOAT_EQ(rects[0].alpha, std::min(t / 40.0f, 0.7f));
        EXPECT_FLOAT_EQ(rects[0].a, 642);
        int bar = std::min(12 * t, 216);  // the strips stop at 0.45 x 480
        EXPECT_EQ(app->barLength, bar);
        EXPECT_FLOAT_EQ(rects[1].a, 2.0f * bar);
        EXPECT_FLOAT_EQ(rects[1].y, 0.45f * 480 - 8);
        EXPECT_FLOAT_EQ(rects[2].x, 640 - 2.0f * bar);
        std::vector<QueuedLine> lines = QueuedLines();
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0].text, "GAME");
        EXPECT_EQ(lines[1].text, "OVER");
        EXPECT_FLOAT_EQ(lines[0].y, static_cast<float>(bar));
        EXPECT_FLOAT_EQ(lines[1].y, 480.0f - bar);
    }
}

TEST_F(ResultScreenTest, APlaceShowsOnASecondLineUnderNewHighscore) {
    c_MyApp* app = App();
    app->score = 30;
    app->gameMode = 1;
    app->gameOverTimer = 50;
    app->screen = kScreenPlay;
    app->BeginFrame(0, 0, 0, 1);
    app->ResultScreen();
    std::vector<QueuedLine> lines = QueuedLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2].text, "NewHighscore");
    EXPECT_EQ(lines[3].text, "1st!");
    float lineHeight = 10 * 2.0f;
    EXPECT_FLOAT_EQ(lines[3].y - lines[2].y, lineHeight);
    // The label starts eleven spaces into its line.
    float advance = 7 * 2.0f;
    EXPECT_FLOAT_EQ(lines[3].firstX - lines[2].firstX, 11 * advance);
    std::vector<DrawCommand> rects = Game().Commands(kRect);
    ASSERT_EQ(rects.size(), 4u);
    EXPECT_FLOAT_EQ(rects[3].blue, 255);  // the blue place panel
    EXPECT_FLOAT_EQ(rects[3].b, 32);
}

TEST_F(ResultScreenTest, AFinishedGameRunsBackToTheTitleWithItsScore) {
    c_MyApp* app = App();
    app->gameMode = 1;
    app->screen = kScreenNewGame;
    RunFrames(1);
    ASSERT_EQ(app->screen, kScreenPlay);
    app->gameOver = 1;
    RunFrames(89);
    EXPECT_EQ(app->screen, kScreenPlay);
    EXPECT_EQ(app->gameOverTimer, 89);
    RunFrames(1);
    EXPECT_EQ(app->screen, kScreenScoreEntry);
    // The dispatch runs the overlay again for screen 2 in the same update.
    EXPECT_EQ(app->gameOverTimer, 73);
    app->score = 35;
    RunFrames(1);  // the score is entered, the title comes back
    EXPECT_EQ(app->screen, kScreenTitle);
    EXPECT_EQ(app->highScores[0], 35);
    EXPECT_EQ(app->highScores[30], 35);
    EXPECT_EQ(app->gameOverTimer, 71);
    RunFrames(1);  // the title draws its lists and the overlay withdraws over it
    EXPECT_TRUE(HasLine(QueuedLines(), "GAME"));
    EXPECT_TRUE(HasLine(QueuedLines(), "Last10"));
    EXPECT_EQ(app->gameOverTimer, 69);
    RunFrames(35);
    EXPECT_EQ(app->gameOverTimer, 0);
    RunFrames(1);
    EXPECT_FALSE(HasLine(QueuedLines(), "GAME"));
}

}  // namespace
