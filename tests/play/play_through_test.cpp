// Whole games inside the test process: started from the title screen with
// the fire key, steered by scripted drags through real pointer input until
// the game is over and the title is back, at several window shapes. The
// display list must never fill up in play.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "game/game_globals.h"
#include "tests/play/play_test_support.h"

using namespace world_grid;

namespace {

constexpr int kSpace = 32;
constexpr int kListCommands = 2500;

class PlayThroughTest : public PlayTest {
protected:
    struct Stats {
        int updates = 0;
        int mostCommands = 0;
        long long commands = 0;
        int hits = 0;
        int coins = 0;
    };

    // Resizes the window and waits until the assets are loaded again.
    void UseWindow(int width, int height) {
        Game().ResizeWindow(width, height);
        Game().Render();
        Game().FinishLoading();
        App()->screen = kScreenTitle;
        RunFrames(1);
    }

    void StartFromTitle() {
        PressKey(kSpace);
        RunFrames(1);
        ReleaseKey(kSpace);
        ASSERT_EQ(App()->screen, kScreenNewGame);
        RunFrames(1);
        ASSERT_EQ(App()->screen, kScreenPlay);
    }

    // A player that drags the ball after a wandering point near the middle
    // of the view, starting a new drag whenever the pointer nears the edge.
    void Steer(int t) {
        c_MyApp* app = App();
        const float w = virtualWidth, h = virtualHeight;
        if (!dragging_) {
            px_ = w / 2, py_ = h / 2;
            Game().PressPointer(px_, py_);
            dragging_ = true;
            return;
        }
        float tx = w / 2 + w / 4 * std::sin(t / 97.0f), ty = h / 2 + h / 4 * std::cos(t / 131.0f);
        float bx = app->ballX - app->cameraX, by = app->ballY - app->cameraY;
        float wantX = std::clamp((tx - bx) / 30, -4.0f, 4.0f), wantY = std::clamp((ty - by) / 30, -4.0f, 4.0f);
        px_ += std::clamp((wantX - app->ballVelX) * 8, -24.0f, 24.0f);
        py_ += std::clamp((wantY - app->ballVelY) * 8, -24.0f, 24.0f);
        if (px_ < 40 || px_ > w - 40 || py_ < 40 || py_ > h - 40) {
            ReleasePointer();
            dragging_ = false;
            return;
        }
        Game().MovePointer(px_, py_);
    }

    Stats PlayToGameOver(int maxUpdates) {
        c_MyApp* app = App();
        Stats stats;
        int lives = app->lives, score = app->score;
        while (app->gameOver == 0 && stats.updates < maxUpdates) {
            Steer(stats.updates);
            if (stats.updates % 8 == 0) RunFrames(1); else RunUpdates(1);
            ++stats.updates;
            int commands = app->drawCount / 15;
            stats.mostCommands = std::max(stats.mostCommands, commands);
            stats.commands += commands;
            if (app->lives < lives) ++stats.hits;
            if (app->score > score) ++stats.coins;
            lives = app->lives, score = app->score;
            EXPECT_EQ(app->screen, kScreenPlay);
            if (app->drawCount / 15 >= kListCommands) {
                ADD_FAILURE() << "display list full at update " << stats.updates;
                break;
            }
        }
        ReleasePointer();
        dragging_ = false;
        return stats;
    }

    void PlayAWholeGame(int width, int height, int mode) {
        c_MyApp* app = App();
        UseWindow(width, height);
        app->gameMode = mode;
        StartFromTitle();
        Stats stats = PlayToGameOver(40000);
        ASSERT_EQ(app->gameOver, 1) << "no game over after " << stats.updates << " updates";
        EXPECT_EQ(app->lives, -1);
        EXPECT_EQ(stats.hits, 1 + (mode == 1 ? 5 : mode == 3 ? 1 : 3));
        std::printf("window %dx%d (virtual %gx%g) mode %d: %d updates, %d hits, %d coins, "
                    "commands per update %.0f on average, %d at most\n",
                    width, height, virtualWidth, virtualHeight, mode, stats.updates, stats.hits, stats.coins,
                    static_cast<double>(stats.commands) / stats.updates, stats.mostCommands);
        RecordProperty("most_commands_" + std::to_string(width) + "x" + std::to_string(height), stats.mostCommands);

        // The overlay runs over the frozen field, then the score is recorded
        // and the title comes back.
        int after = 0;
        while (app->screen != 1 && after < 400) {
            RunFrames(1);
            ++after;
            EXPECT_LT(app->drawCount / 15, kListCommands);
        }
        EXPECT_EQ(app->screen, kScreenTitle);
        EXPECT_GE(after, 80);
    }

    bool dragging_ = false;
    float px_ = 0, py_ = 0;
};

TEST_F(PlayThroughTest, AGameRunsToGameOverAt640x480) { PlayAWholeGame(640, 480, 2); }

TEST_F(PlayThroughTest, AGameRunsToGameOverInAWideWindow) { PlayAWholeGame(1280, 480, 3); }

TEST_F(PlayThroughTest, AGameRunsToGameOverInATallWindow) { PlayAWholeGame(480, 720, 1); }

TEST_F(PlayThroughTest, TheBusiestPlayUpdateFitsInTheDisplayList) {
    // A view full of blocks and coins, every particle alive, five hearts,
    // the pause menu open and the game-over overlay showing.
    c_MyApp* app = App();
    EmptyWorldAt(1000, 1000, 320, 240, 1);
    for (int col = 1; col < kCells - 1; ++col)
        for (int row = 1; row < kCells - 1; ++row) Cell(col, row) = (col + row) % 2 ? kBlock : kCoin;
    app->invulnerable = 1000;
    app->SpawnParticles(1300, 1200, 200, -1);
    app->lives = 5;
    app->screen = kScreenPlay;
    app->paused = 1;
    app->pauseMenuDir = 1;
    app->gameOver = 1;
    app->gameOverTimer = 50;
    app->touchLatch = 1;
    RunFrames(20);
    ASSERT_EQ(app->screen, kScreenPlay);
    int commands = app->drawCount / 15;
    std::printf("busiest play update at 640x480: %d commands\n", commands);
    EXPECT_GT(commands, 22 * 17 + 101);
    EXPECT_LT(commands, kListCommands);
}

}  // namespace
