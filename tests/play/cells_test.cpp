// The cell pass: what is drawn for blocks, walls and spinning coins, where
// and how often coins appear, and the limit of 256 coins.
#include <cmath>
#include <vector>

#include "game/game_globals.h"
#include "runtime/random.h"
#include "tests/play/play_test_support.h"

using namespace world_grid;

namespace {

class CellsTest : public PlayTest {
protected:
    std::vector<int> Types() const {
        std::vector<int> types(kCells * kCells);
        for (int col = 0; col < kCells; ++col)
            for (int row = 0; row < kCells; ++row) types[row * kCells + col] = Cell(col, row);
        return types;
    }
    bool InView(int col, int row) const {
        float sx = col * 32 - App()->cameraX, sy = row * 32 - App()->cameraY;
        return sx > -32 && sy > -32 && sx < virtualWidth + 32 && sy < virtualHeight + 32;
    }
    // Puts coins on empty cells far from the view at (1000, 1000).
    void AddCoinsOutOfView(int count) {
        for (int col = 100; col < 126 && count > 0; ++col)
            for (int row = 1; row < 126 && count > 0; ++row, --count) Cell(col, row) = kCoin;
    }
};

TEST_F(CellsTest, CoinsAppearOnlyOutOfViewOnEmptyCellsAndNeverAbove256) {
    c_MyApp* app = App();
    NewSeededGame(77);
    app->invulnerable = 1000000;  // the ball just rides along with the view
    int most = 0;
    for (int n = 0; n < 600; ++n) {
        std::vector<int> before = Types();
        const int scoreBefore = app->score;
        app->PlayUpdate();
        int coins = 0;
        for (int col = 0; col < kCells; ++col)
            for (int row = 0; row < kCells; ++row) {
                if (Cell(col, row) != kCoin) continue;
                ++coins;
                if (before[row * kCells + col] == kCoin) continue;
                ASSERT_EQ(before[row * kCells + col], kEmpty) << "coin on a block or wall";
                ASSERT_FALSE(InView(col, row)) << "coin appeared in view at update " << n;
            }
        ASSERT_LE(coins, 256) << "update " << n;
        // Coins collected in this update still count until the next one.
        ASSERT_EQ(app->coinCount, coins + (app->score - scoreBefore) / 5);
        most = std::max(most, coins);
    }
    EXPECT_EQ(most, 256);  // coins keep coming until the limit
}

TEST_F(CellsTest, EveryUnseenCellTakesOneDrawWhileCoinsAreShort) {
    c_MyApp* app = App();
    EmptyWorldAt(1000, 1000, 320, 240);
    // 22 columns by 17 rows are in a 640 x 480 view whose corner is on no cell.
    const int unseen = kCells * kCells - 22 * 17;
    for (int prevCount : {0, 255}) {
        randomSeed = 5555;
        int expected = 5555;
        for (int i = 0; i < unseen; ++i) expected = NextSeed(expected);
        app->CellPass(prevCount);
        EXPECT_EQ(randomSeed, expected) << "coins " << prevCount;
    }
    randomSeed = 5555;
    app->CellPass(256);
    EXPECT_EQ(randomSeed, 5555);  // no draws at all once the limit is reached
}

TEST_F(CellsTest, CoinsMadeInOnePassCountAgainstTheLimitAtOnce) {
    c_MyApp* app = App();
    EmptyWorldAt(1000, 1000, 320, 240);
    int spawnedSomewhere = 0;
    for (int trial = 0; trial < 60; ++trial) {
        for (int col = 1; col < kCells - 1; ++col)
            for (int row = 1; row < kCells - 1; ++row) Cell(col, row) = kEmpty;
        AddCoinsOutOfView(255);
        randomSeed = trial * 7877 + 1;
        app->CellPass(255);  // about three cells draw a coin per pass: one fits
        int coins = CountCells(kCoin);
        ASSERT_LE(coins, 256) << "trial " << trial;
        EXPECT_EQ(app->coinCount, coins);
        spawnedSomewhere += coins == 256;
    }
    EXPECT_GT(spawnedSomewhere, 40);
}

TEST_F(CellsTest, ACoinCollectedAtTheLimitCountsUntilTheNextPass) {
    c_MyApp* app = App();
    EmptyWorldAt(1000, 1000, 320, 240);
    AddCoinsOutOfView(255);
    Cell(41, 39) = kCoin;  // 8 pixels from the ball on both axes
    app->coinCount = 256;
    app->PlayUpdate();
    ASSERT_EQ(app->score, 5);
    ASSERT_EQ(CountCells(kCoin), 255);
    EXPECT_EQ(app->coinCount, 256);

    // The pass after the collection still sees the limit and makes nothing,
    // where a count of 255 would have made a coin with the same draws.
    const int seed = 424247;
    randomSeed = seed;
    app->CellPass(app->coinCount);
    EXPECT_EQ(CountCells(kCoin), 255);
    EXPECT_EQ(app->coinCount, 255);
    randomSeed = seed;
    app->CellPass(255);
    EXPECT_EQ(CountCells(kCoin), 256);
    EXPECT_EQ(app->coinCount, 256);
}

TEST_F(CellsTest, BlocksWallsAndCoinsAreDrawnWhereTheyAre) {
    c_MyApp* app = App();
    EmptyWorldAt(-32, 900, 320, 240);
    app->paused = 1;
    app->spinPhase = 86;  // 90 during the pass
    Cell(5, 30) = kBlock;
    app->world[CellIndex(5, 30) + 1] = 4;
    Cell(10, 30) = kCoin;  // 7*30 + 3*10 = 240: at 330 degrees, half width
    Cell(12, 32) = kCoin;  // 7*32 + 3*12 = 260: at 350 degrees
    app->PlayUpdate();

    std::vector<DrawCommand> tiles = Queued(1);
    ASSERT_EQ(tiles.size(), 3u);
    EXPECT_EQ(tiles[0].frame, 13);  // variant 4 is frame 13
    EXPECT_EQ(tiles[0].x, 5 * 32 + 32);
    EXPECT_EQ(tiles[0].y, 30 * 32 - 900);
    EXPECT_EQ(tiles[0].a, 1);
    EXPECT_EQ(tiles[1].frame, 0);
    EXPECT_EQ(tiles[1].x, 10 * 32 + 32);
    EXPECT_NEAR(tiles[1].a, 0.5, 1e-4);  // the coin's width turns
    EXPECT_EQ(tiles[1].b, 1);
    EXPECT_NEAR(tiles[2].a, std::sin(10 * 0.017453292), 1e-4);
    EXPECT_EQ(app->coinCount, CountCells(kCoin));  // with those that appeared out of view

    // The left wall column shows as red squares centred on its cells.
    int wallSquares = 0;
    for (const DrawCommand& c : Queued(kRect)) {
        if (c.red != 255 || c.green != 0 || c.blue != 0) continue;
        ++wallSquares;
        EXPECT_EQ(c.x, 0 * 32 + 32 - 16);
        EXPECT_EQ(c.a, 32);
        EXPECT_EQ(c.b, 32);
    }
    EXPECT_EQ(wallSquares, 17);
}

}  // namespace
