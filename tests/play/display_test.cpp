// The play display: the eased score in eight digits at the top centre and
// the hearts of the spare lives at the top right.
#include <string>

#include "game/game_globals.h"
#include "tests/play/play_test_support.h"

namespace {

class DisplayTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        EmptyWorldAt(1000, 1000, 320, 240);
        App()->paused = 1;
        App()->invulnerable = 1000;  // narrow views put the ball on an edge
        App()->shownScore = 0;
        App()->score = 0;
    }
    // The digits queued in the font image, left to right.
    std::string ShownDigits() const {
        std::string digits;
        for (const DrawCommand& c : Queued(static_cast<float>(App()->fontImage)))
            digits += static_cast<char>(c.frame + 32);
        return digits;
    }
};

TEST_F(DisplayTest, TheShownScoreEasesTowardsTheScoreAndSnapsWhenClose) {
    c_MyApp* app = App();
    app->score = 5;
    app->PlayUpdate();
    EXPECT_EQ(app->shownScore, 5);  // (0 - 5) / 6 truncates to 0, then snaps

    app->shownScore = 0;
    app->score = 100;
    app->PlayUpdate();
    EXPECT_EQ(app->shownScore, 16);
    app->PlayUpdate();
    EXPECT_EQ(app->shownScore, 30);
    int last = 30, updates = 2;
    while (app->shownScore != 100 && updates < 100) {
        app->PlayUpdate();
        EXPECT_GT(app->shownScore, last);
        last = app->shownScore;
        ++updates;
    }
    EXPECT_EQ(app->shownScore, 100);
    EXPECT_LT(updates, 20);

    app->score = 0;  // a new game eases the old score down
    app->PlayUpdate();
    EXPECT_EQ(app->shownScore, 84);
}

TEST_F(DisplayTest, TheScoreShowsAsEightDigitsAtTheTopCentre) {
    c_MyApp* app = App();
    app->score = app->shownScore = 1205;
    app->PlayUpdate();
    EXPECT_EQ(ShownDigits(), "00001205");
    std::vector<DrawCommand> glyphs = Queued(static_cast<float>(app->fontImage));
    ASSERT_EQ(glyphs.size(), 8u);
    float middle = (glyphs[3].x + glyphs[4].x) / 2;
    EXPECT_NEAR(middle, virtualWidth / 2, 0.01);
    for (const DrawCommand& g : glyphs) {
        EXPECT_NEAR(g.y, 32, 1e-3);
        EXPECT_EQ(g.a, 2);
        EXPECT_EQ(g.red, 100);
        EXPECT_EQ(g.green, 255);
        EXPECT_EQ(g.blue, 100);
        EXPECT_EQ(g.alpha, 0.8f);
    }
}

TEST_F(DisplayTest, HeartsStandRightAlignedOnePerSpareLife) {
    c_MyApp* app = App();
    for (float width : {640.0f, 320.0f}) {
        virtualWidth = width;
        app->lives = 3;
        app->PlayUpdate();
        std::vector<DrawCommand> hearts = Queued(5);
        ASSERT_EQ(hearts.size(), 3u);
        EXPECT_EQ(hearts[0].x, width - 16);
        EXPECT_EQ(hearts[1].x, width - 40);
        EXPECT_EQ(hearts[2].x, width - 64);
        for (const DrawCommand& h : hearts) {
            EXPECT_EQ(h.y, 16);
            EXPECT_EQ(h.a, 1);
            EXPECT_EQ(h.alpha, 0.8f);
        }
    }
    for (int lives : {5, 1, 0}) {
        app->lives = lives;
        app->PlayUpdate();
        EXPECT_EQ(Queued(5).size(), static_cast<size_t>(lives));
    }
}

}  // namespace
