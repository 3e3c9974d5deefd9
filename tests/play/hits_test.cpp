// Hits and coins in the cell pass: what a block, a wall and a coin do to the
// ball's game, with and without protection.
#include "game/game_globals.h"
#include "tests/play/play_test_support.h"

using namespace world_grid;

namespace {

// Camera at (1000, 1000): cell (41, 38) is drawn at view (312, 216).
constexpr float kCamera = 1000;
constexpr int kCol = 41, kRow = 38;
constexpr float kCellX = kCol * 32 - kCamera, kCellY = kRow * 32 - kCamera;

class HitTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        EmptyWorldAt(kCamera, kCamera, kCellX + 10, kCellY);
        App()->paused = 1;  // camera and ball stand still; the cell pass goes on
    }

    // The particles of one burst, checked against the point they came from
    // (after the one update that also moved them).
    void ExpectBurstAt(int x, int y, int count, float red, float green, float blue) {
        c_MyApp* app = App();
        int n = 0;
        for (int k = 0; k < 101; ++k) {
            const float* p = &app->particles[k * 10];
            if (p[0] <= 0) continue;
            ++n;
            EXPECT_GE(p[1], x - 8 - 6);
            EXPECT_LT(p[1], x + 8 + 6);
            EXPECT_GE(p[2], y - 8 - 6);
            EXPECT_LT(p[2], y + 2 + 6);
            EXPECT_EQ(p[7], red);
            EXPECT_EQ(p[8], green);
            EXPECT_EQ(p[9], blue);
        }
        EXPECT_EQ(n, count);
    }
};

TEST_F(HitTest, OneBlockCostsALifeAndIsGone) {
    c_MyApp* app = App();
    Cell(kCol, kRow) = kBlock;
    app->lives = 3;
    app->PlayUpdate();
    EXPECT_EQ(app->lives, 2);
    EXPECT_EQ(Cell(kCol, kRow), kEmpty);
    EXPECT_EQ(app->invulnerable, 180);
    EXPECT_EQ(app->gameOver, 0);
    ExpectBurstAt(static_cast<int>(kCamera + kCellX + 10), static_cast<int>(kCamera + kCellY), 33, 255, 100, 100);
    ASSERT_EQ(Play()->SfxCount(2), 1);
    EXPECT_GE(Play()->sfx[0].rate, 0.8f);
    EXPECT_LE(Play()->sfx[0].rate, 1.2f);
}

TEST_F(HitTest, TwoBlocksInOneUpdateCostOneLifeAndTheSecondStays) {
    c_MyApp* app = App();
    Cell(kCol, kRow) = kBlock;
    Cell(kCol + 1, kRow) = kBlock;  // 22 pixels from the ball: touched too
    app->lives = 3;
    app->PlayUpdate();
    EXPECT_EQ(app->lives, 2);
    EXPECT_EQ(Cell(kCol, kRow), kEmpty);
    EXPECT_EQ(Cell(kCol + 1, kRow), kBlock);
    EXPECT_EQ(Play()->SfxCount(2), 1);
}

TEST_F(HitTest, AWallCostsALifeAndStaysAndCostsAnotherAfterProtection) {
    c_MyApp* app = App();
    Cell(kCol, kRow) = kWall;
    app->lives = 3;
    app->PlayUpdate();
    EXPECT_EQ(app->lives, 2);
    EXPECT_EQ(Cell(kCol, kRow), kWall);
    app->PlayUpdate();  // protected now
    EXPECT_EQ(app->lives, 2);
    app->invulnerable = 0;  // the 180 updates have passed
    app->PlayUpdate();
    EXPECT_EQ(app->lives, 1);
    EXPECT_EQ(Cell(kCol, kRow), kWall);
}

TEST_F(HitTest, ABlockTouchedWhileProtectedStaysAndCostsNothing) {
    c_MyApp* app = App();
    Cell(kCol, kRow) = kBlock;
    app->lives = 3;
    app->invulnerable = 100;
    app->PlayUpdate();
    EXPECT_EQ(app->lives, 3);
    EXPECT_EQ(Cell(kCol, kRow), kBlock);
    EXPECT_EQ(app->invulnerable, 100);  // paused: the countdown stands still
    EXPECT_EQ(Play()->SfxCount(2), 0);
    EXPECT_EQ(ActiveParticles(), 0);
}

TEST_F(HitTest, ACoinGivesFivePointsProtectedOrNot) {
    c_MyApp* app = App();
    for (int protection : {0, 180}) {
        for (int i = 0; i < 1010; ++i) app->particles[i] = 0;
        Play()->sfx.clear();
        Cell(kCol, kRow) = kCoin;
        app->invulnerable = protection;
        app->score = 10;
        app->lives = 3;
        app->PlayUpdate();
        EXPECT_EQ(app->score, 15) << "protection " << protection;
        EXPECT_EQ(app->lives, 3);
        EXPECT_EQ(Cell(kCol, kRow), kEmpty);
        ExpectBurstAt(kCol * 32, kRow * 32, 9, 255, 255, 100);
        EXPECT_EQ(Play()->SfxCount(1), 1);
        EXPECT_EQ(Play()->SfxCount(2), 0);
    }
}

TEST_F(HitTest, TheTouchIsASquareOf24ForBlocksAnd32ForCoins) {
    c_MyApp* app = App();
    app->invulnerable = 0;
    app->lives = 5;
    Cell(kCol, kRow) = kBlock;
    PlaceBall(kCellX + 24, kCellY);  // 24 away: no touch
    app->PlayUpdate();
    EXPECT_EQ(Cell(kCol, kRow), kBlock);
    PlaceBall(kCellX + 23, kCellY - 23);  // corner of the square: a touch
    app->PlayUpdate();
    EXPECT_EQ(Cell(kCol, kRow), kEmpty);
    EXPECT_EQ(app->lives, 4);

    Cell(kCol, kRow) = kCoin;
    PlaceBall(kCellX - 32, kCellY);
    app->PlayUpdate();
    EXPECT_EQ(Cell(kCol, kRow), kCoin);
    PlaceBall(kCellX - 31, kCellY + 31);
    app->PlayUpdate();
    EXPECT_EQ(Cell(kCol, kRow), kEmpty);
}

TEST_F(HitTest, ModeThreeEndsOnTheSecondHit) {
    c_MyApp* app = App();
    EmptyWorldAt(kCamera, kCamera, kCellX + 10, kCellY, 3);
    ASSERT_EQ(app->lives, 1);
    app->paused = 1;
    Cell(kCol, kRow) = kBlock;
    app->PlayUpdate();
    EXPECT_EQ(app->lives, 0);
    EXPECT_EQ(app->gameOver, 0);
    EXPECT_EQ(Queued(5).size(), 0u);  // no spare life: no heart
    app->invulnerable = 0;
    Cell(kCol, kRow) = kBlock;
    app->PlayUpdate();
    EXPECT_EQ(app->lives, -1);
    EXPECT_EQ(app->gameOver, 1);
}

TEST_F(HitTest, AHitUsesTheBallPositionOfThePreviousUpdate) {
    c_MyApp* app = App();
    app->paused = 0;
    app->lives = 3;
    Cell(kCol, kRow) = kBlock;
    PlaceBall(kCellX + 40, kCellY);  // drawn 40 pixels away last update
    app->ballX -= 30;                // but has moved onto the block since
    app->PlayUpdate();
    EXPECT_EQ(Cell(kCol, kRow), kBlock);
    EXPECT_EQ(app->lives, 3);
    app->PlayUpdate();  // now drawn on it
    EXPECT_EQ(Cell(kCol, kRow), kEmpty);
    EXPECT_EQ(app->lives, 2);
}

}  // namespace
