// The title screen driven through real input and updates: its slide-in, the
// score lists at two heights, the sound button, the mode buttons and keys,
// and the panels that block it.
#include <algorithm>

#include "game/game_globals.h"
#include "tests/game/game_fixture.h"
#include "tests/shell/queued_text.h"

namespace {

constexpr int kEnter = 13, kLeft = 37, kUp = 38, kRight = 39, kDown = 40;

class TitleScreenTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        RunFrames(40);  // the menu has slid into place
    }

    void Click(float x, float y) {
        PressPointer(x, y);
        RunFrames(1);
        ReleasePointer();
        RunFrames(1);
    }

    // The lines in the side panel, top list first.
    std::vector<QueuedLine> PanelLines() {
        std::vector<QueuedLine> out;
        for (const QueuedLine& l : QueuedLines()) {
            if (l.firstX >= virtualWidth - 140) out.push_back(l);
        }
        return out;
    }

    static std::string Digits(int value) { return std::to_string(value); }
};

TEST_F(TitleScreenTest, MenuSlidesInOnePixelStepPerUpdate) {
    c_MyApp* app = App();
    app->titleSlide = -32;
    RunFrames(16);
    EXPECT_EQ(app->titleSlide, -16);
    RunFrames(16);
    EXPECT_EQ(app->titleSlide, 0);
    RunFrames(1);
    EXPECT_EQ(app->titleSlide, 0);
    EXPECT_FLOAT_EQ(app->clearBlue, 80);
}

TEST_F(TitleScreenTest, BothListsShowTenRowsAt480) {
    c_MyApp* app = App();
    app->gameMode = 2;
    for (int i = 0; i < 10; ++i) {
        app->highScores[10 + i] = 1234567 - i;
        app->highScores[40 + i] = 50 + i;
    }
    app->highScores[0] = 999;  // another mode's table stays out of view
    RunFrames(1);
    EXPECT_EQ(app->scoreRows, 10);
    std::vector<QueuedLine> lines = PanelLines();
    ASSERT_EQ(lines.size(), 22u);
    EXPECT_EQ(lines[0].text, "Top10");
    EXPECT_EQ(lines[11].text, "Last10");
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(lines[1 + i].text, Digits(1234567 - i));
        EXPECT_EQ(lines[12 + i].text, Digits(50 + i));
        // Right-aligned in eleven characters: every row ends at the same x.
        EXPECT_FLOAT_EQ(lines[1 + i].lastX, lines[1].lastX);
        EXPECT_FLOAT_EQ(lines[12 + i].lastX, lines[1].lastX);
        EXPECT_FLOAT_EQ(lines[1 + i].y - lines[i].y, 15);
        EXPECT_FLOAT_EQ(lines[12 + i].y - lines[11 + i].y, 15);
    }
    // "Top 10" starts the line; the seven digits start four spaces in.
    float advance = 7 * 1.5f;
    EXPECT_FLOAT_EQ(lines[1].firstX - lines[0].firstX, 4 * advance);
    EXPECT_FLOAT_EQ(lines[0].firstX, 640 - 140 + 20);
    EXPECT_LT(lines[0].y, 240);
    EXPECT_GT(lines[11].y, 240);
}

TEST_F(TitleScreenTest, AVeryLowWindowShowsOneRowPerList) {
    c_MyApp* app = App();
    app->highScores[10] = 77;
    app->highScores[40] = 66;
    Game().ResizeWindow(640, 120);
    Game().Render();
    Game().FinishLoading();
    RunFrames(1);
    ASSERT_FLOAT_EQ(virtualHeight, 120);
    EXPECT_EQ(app->scoreRows, 1);
    std::vector<QueuedLine> lines = PanelLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].text, "Highscore");
    EXPECT_EQ(lines[1].text, "77");
    EXPECT_EQ(lines[2].text, "Last");
    EXPECT_EQ(lines[3].text, "66");
}

TEST_F(TitleScreenTest, SoundButtonTogglesBetweenOffAndOnWithoutMusic) {
    c_MyApp* app = App();
    musicEnabled = 0;
    for (int saved : {2, 3, -4, 9}) {
        app->settings[kSettingSoundMode] = saved;
        Click(32, 240);
        EXPECT_EQ(app->settings[kSettingSoundMode], 0) << "saved mode " << saved;
    }
    Click(32, 240);
    EXPECT_EQ(app->settings[kSettingSoundMode], 1);
    Click(32, 240);
    EXPECT_EQ(app->settings[kSettingSoundMode], 0);
    // Frame 5 shows sound off; no sound-mode mark without the music generator.
    RunFrames(1);
    bool offIcon = false;
    for (const DrawCommand& c : Game().Commands(kImageIcons)) {
        if (c.frame == 5 && c.x == 32 && c.y == 240) offIcon = true;
        EXPECT_LT(c.frame, 8);
    }
    EXPECT_TRUE(offIcon);
}

TEST_F(TitleScreenTest, WithMusicTheSoundButtonCyclesFourModesAndMarksThem) {
    c_MyApp* app = App();
    musicEnabled = 1;
    app->settings[kSettingSoundMode] = 0;
    for (int expected : {1, 2, 3, 0, 1}) {
        Click(32, 240);
        EXPECT_EQ(app->settings[kSettingSoundMode], expected);
        RunFrames(1);
        int marks = 0;
        for (const DrawCommand& c : Game().Commands(kImageIcons)) {
            if (c.frame >= 8) {
                EXPECT_EQ(c.frame, 7 + expected);
                EXPECT_FLOAT_EQ(c.x, 32 + 20);
                ++marks;
            }
        }
        EXPECT_EQ(marks, expected == 0 ? 0 : 1);
    }
    app->settings[kSettingSoundMode] = -6;  // a damaged saved mode still lands in 0..3
    Click(32, 240);
    EXPECT_GE(app->settings[kSettingSoundMode], 0);
    EXPECT_LE(app->settings[kSettingSoundMode], 3);
    musicEnabled = SOLBRIM_MUSIC;
}

TEST_F(TitleScreenTest, HoldingADirectionMovesTheModeByOne) {
    c_MyApp* app = App();
    app->gameMode = 1;
    PressKey(kDown);
    RunFrames(20);
    EXPECT_EQ(app->gameMode, 2);
    ReleaseKey(kDown);
    RunFrames(1);
    PressKey(kRight);
    RunFrames(5);
    ReleaseKey(kRight);
    RunFrames(1);
    EXPECT_EQ(app->gameMode, 3);
    PressKey(kRight);  // already the last mode
    RunFrames(2);
    ReleaseKey(kRight);
    RunFrames(1);
    EXPECT_EQ(app->gameMode, 3);
    for (int key : {kUp, kLeft, kUp}) {
        PressKey(key);
        RunFrames(2);
        ReleaseKey(key);
        RunFrames(1);
    }
    EXPECT_EQ(app->gameMode, 1);
    // The selection frame follows the mode: frame 15 over button 1.
    std::vector<DrawCommand> frames;
    for (const DrawCommand& c : Game().Commands(kImageModeButtons)) {
        if (c.frame == 15) frames.push_back(c);
    }
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_FLOAT_EQ(frames[0].x, 0.2f * 640);
}

TEST_F(TitleScreenTest, EnterStartsTheSelectedMode) {
    c_MyApp* app = App();
    app->gameMode = 3;
    PressKey(kEnter);
    RunFrames(1);
    EXPECT_EQ(app->screen, kScreenNewGame);
    RunFrames(1);
    EXPECT_EQ(app->screen, kScreenPlay);
    EXPECT_EQ(app->gameMode, 3);
    ReleaseKey(kEnter);
}

TEST_F(TitleScreenTest, ClickingAModeButtonStartsThatMode) {
    c_MyApp* app = App();
    app->gameMode = 2;
    PressPointer(0.2f * 640, 0.7f * 480);
    RunFrames(1);
    EXPECT_EQ(app->screen, kScreenNewGame);
    EXPECT_EQ(app->gameMode, 1);
    EXPECT_EQ(app->touchLatch, 1);
    ReleasePointer();
}

TEST_F(TitleScreenTest, AnOpenPanelHidesTheListsAndBlocksEveryControl) {
    c_MyApp* app = App();
    for (int panel = 0; panel < 2; ++panel) {
        app->creditsOpen = panel == 0 ? 1 : 0;
        app->badgesOpen = panel == 1 ? 1 : 0;
        app->gameMode = 2;
        app->settings[kSettingSoundMode] = 1;
        RunFrames(1);
        std::vector<QueuedLine> lines = QueuedLines();
        EXPECT_FALSE(HasLine(lines, "Top10"));
        EXPECT_FALSE(HasLine(lines, "Last10"));
        for (const QueuedLine& l : lines) EXPECT_FALSE(l.text == "0" && l.firstX == 520 + 10 * 10.5f);
        PressKey(kRight);
        RunFrames(2);
        ReleaseKey(kRight);
        RunFrames(1);
        Click(32, 240);                  // sound button
        Click(0.6f * 640, 0.7f * 480);   // mode 3 button
        PressKey(kEnter);
        RunFrames(2);
        ReleaseKey(kEnter);
        RunFrames(1);
        EXPECT_EQ(app->gameMode, 2);
        EXPECT_EQ(app->settings[kSettingSoundMode], 1);
        EXPECT_EQ(app->screen, kScreenTitle);
    }
}

TEST_F(TitleScreenTest, TheMakerEmblemOpensTheCreditsAndBackClosesThem) {
    c_MyApp* app = App();
    Click(640 - 70, 480 - 40);
    EXPECT_EQ(app->creditsOpen, 1);
    RunFrames(30);
    EXPECT_EQ(app->creditsSlide, 30);
    PressKey(27);
    RunFrames(1);
    ReleaseKey(27);
    EXPECT_EQ(app->creditsOpen, 0);
    RunFrames(31);
    EXPECT_EQ(app->creditsSlide, 0);
    RunFrames(1);
    EXPECT_TRUE(HasLine(QueuedLines(), "Top10"));
}

}  // namespace
