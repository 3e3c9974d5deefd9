// A new game: the difficulty of each mode, the world a seed makes, the wall
// ring, the clearing around the start and what a new game leaves as it was.
#include <vector>

#include "game/game_globals.h"
#include "tests/play/play_test_support.h"

using namespace world_grid;

namespace {

class WorldTest : public PlayTest {
protected:
    std::vector<int> Snapshot() const {
        std::vector<int> cells;
        for (int col = 0; col < kCells; ++col)
            for (int row = 0; row < kCells; ++row) {
                cells.push_back(Cell(col, row));
                cells.push_back(App()->world[CellIndex(col, row) + 1]);
            }
        return cells;
    }
    bool InClearing(int col, int row) const {
        c_MyApp* app = App();
        return col >= app->charScratch - 6 && col <= app->charScratch + 6 && row >= app->startCellY - 6 &&
               row <= app->startCellY + 6;
    }
};

TEST_F(WorldTest, TheSameSeedMakesTheSameGame) {
    c_MyApp* app = App();
    NewSeededGame(987654);
    std::vector<int> first = Snapshot();
    int startX = app->charScratch, startY = app->startCellY;
    float heading = app->heading, timer = app->headingTimer;

    NewSeededGame(987654);
    EXPECT_EQ(Snapshot(), first);
    EXPECT_EQ(app->charScratch, startX);
    EXPECT_EQ(app->startCellY, startY);
    EXPECT_EQ(app->heading, heading);
    EXPECT_EQ(app->headingTimer, timer);

    NewSeededGame(987655);
    EXPECT_NE(Snapshot(), first);
}

TEST_F(WorldTest, TheWallRingIsCompleteAndOnlyTheRingIsWall) {
    for (int mode = 1; mode <= 3; ++mode) {
        NewSeededGame(1000 + mode, mode);
        for (int col = 0; col < kCells; ++col)
            for (int row = 0; row < kCells; ++row)
                ASSERT_EQ(Cell(col, row) == kWall, OnRing(col, row)) << "cell " << col << "," << row << " mode " << mode;
    }
}

TEST_F(WorldTest, TheClearingIsEmptyAndNeverTouchesTheRing) {
    c_MyApp* app = App();
    for (int seed = 0; seed < 300; ++seed) {
        NewSeededGame(seed * 7919, 3);
        int startX = app->charScratch, startY = app->startCellY;
        ASSERT_GE(startX, 30);
        ASSERT_LE(startX, 100);
        ASSERT_GE(startY, 30);
        ASSERT_LE(startY, 100);
        for (int col = startX - 6; col <= startX + 6; ++col)
            for (int row = startY - 6; row <= startY + 6; ++row) {
                ASSERT_FALSE(OnRing(col, row));
                ASSERT_EQ(Cell(col, row), kEmpty) << "seed " << seed;
            }
        // The ball starts on the clearing's centre cell, in the middle of the view.
        EXPECT_EQ(app->ballX, startX * 32.0f);
        EXPECT_EQ(app->ballY, startY * 32.0f);
        EXPECT_EQ(app->cameraX, app->ballX - 320);
        EXPECT_EQ(app->cameraY, app->ballY - 240);
        EXPECT_EQ(app->driftX, app->cameraX);
        EXPECT_EQ(app->driftY, app->cameraY);
    }
}

TEST_F(WorldTest, BlockShareFollowsTheModeAndVariantsStayInRange) {
    // One chance in blockChance + 1 per cell (the draw is from 0..blockChance).
    const struct {
        int mode, blockChance;
    } modes[] = {{1, 20}, {2, 14}, {3, 10}};
    for (auto m : modes) {
        int blocks = 0, cells = 0;
        for (int seed = 1; seed <= 4; ++seed) {
            NewSeededGame(seed * 31337 + m.mode, m.mode);
            for (int col = 1; col < kCells - 1; ++col)
                for (int row = 1; row < kCells - 1; ++row) {
                    int variant = App()->world[CellIndex(col, row) + 1];
                    ASSERT_GE(variant, 1);
                    ASSERT_LE(variant, 9);
                    if (InClearing(col, row)) continue;
                    ++cells;
                    blocks += Cell(col, row) == kBlock;
                }
        }
        double share = static_cast<double>(blocks) / cells;
        double expected = 1.0 / (m.blockChance + 1);
        EXPECT_NEAR(share, expected, 0.006) << "mode " << m.mode;
    }
}

TEST_F(WorldTest, ModesSetLivesAndBlockChanceAndOtherModesPlayAsTwo) {
    c_MyApp* app = App();
    const struct {
        int mode, lives, blockChance;
    } table[] = {{1, 5, 20}, {2, 3, 14}, {3, 1, 10}, {0, 3, 14}, {4, 3, 14}, {-2, 3, 14}};
    for (auto row : table) {
        app->gameMode = row.mode;
        app->NewGame();
        EXPECT_EQ(app->lives, row.lives) << "mode " << row.mode;
        EXPECT_EQ(app->blockChance, row.blockChance) << "mode " << row.mode;
    }
}

TEST_F(WorldTest, ANewGameStartsInPlayWithoutCoinsAndProtected) {
    c_MyApp* app = App();
    app->screen = kScreenNewGame;
    app->paused = 1;
    app->score = 120;
    app->gameOver = 1;
    app->gameOverTimer = 55;
    app->ballVelX = 3;
    app->ballVelY = -2;
    app->facing = 77;
    app->driftSpeed = 2;
    app->driftVelX = 1;
    app->headingVelY = 1;
    app->touchLatch = 0;
    app->NewGame();
    EXPECT_EQ(app->screen, kScreenPlay);
    EXPECT_EQ(app->paused, 0);
    EXPECT_EQ(app->score, 0);
    EXPECT_EQ(app->gameOver, 0);
    EXPECT_EQ(app->gameOverTimer, 0);
    EXPECT_EQ(app->touchLatch, 1);  // the press that started the game does not steer
    EXPECT_EQ(app->ballVelX, 0);
    EXPECT_EQ(app->ballVelY, 0);
    EXPECT_EQ(app->facing, 0);
    EXPECT_EQ(app->driftSpeed, 0);
    EXPECT_EQ(app->driftTargetSpeed, 2.0f);
    EXPECT_EQ(app->driftVelX, 0);
    EXPECT_EQ(app->headingVelY, 0);
    EXPECT_EQ(app->maxSpeed, 6);
    EXPECT_EQ(app->invulnerable, 180);
    EXPECT_GE(app->heading, 0);
    EXPECT_LE(app->heading, 360);
    EXPECT_GE(app->headingTimer, 450);
    EXPECT_LE(app->headingTimer, 900);
    EXPECT_EQ(CountCells(kCoin), 0);
}

TEST_F(WorldTest, ANewGameKeepsTrailParticlesShownScoreSpinAndCoinCount) {
    c_MyApp* app = App();
    app->trail[10] = 123;
    app->particles[5 * 10] = 1;
    app->particles[5 * 10 + 1] = 77;
    app->shownScore = 345;
    app->spinPhase = 96;
    app->coinCount = 17;
    app->NewGame();
    EXPECT_EQ(app->trail[10], 123);
    EXPECT_EQ(app->particles[5 * 10], 1);
    EXPECT_EQ(app->particles[5 * 10 + 1], 77);
    EXPECT_EQ(app->shownScore, 345);
    EXPECT_EQ(app->spinPhase, 96);
    EXPECT_EQ(app->coinCount, 17);
}

}  // namespace
