// A whole session recorded byte by byte: the title, a game in each mode
// steered with the mouse (the pause menu opened and closed once a game) to
// its end and back to the title, and a window resize in the middle of the
// second game. After every update the display list and the main fields of
// the game object are appended to the recording.
//
// The recording pins behaviour across changes that must not alter it:
// SOLBRIM_SESSION_RECORDING=<file> writes it to that file, to be compared
// byte for byte with one made before the change. The test itself checks
// that the session reaches every stage it claims to cover.
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>

#include "game/game_constants.h"
#include "game/game_globals.h"
#include "runtime/random.h"
#include "tests/play/play_test_support.h"

namespace {

constexpr int kSpaceKey = 32;
constexpr int kEscapeKey = 27;
constexpr int kMostUpdates = 20000;

class SessionRecordingTest : public GameTest {
protected:
    void Append(const void* bytes, std::size_t size) { recording_.append(static_cast<const char*>(bytes), size); }
    template <typename T>
    void Append(T value) { Append(&value, sizeof value); }

    void Record() {
        const c_MyApp* app = App();
        for (int v : {app->screen, app->loadStep, app->gameMode, app->titleSlide, app->paused, app->pauseCursor,
                      app->score, app->shownScore, app->lives, app->invulnerable, app->gameOver,
                      app->gameOverTimer, app->barLength, app->coinCount, app->spinPhase, app->hdLevel,
                      app->creditsOpen, app->badgesOpen, randomSeed, app->drawCount})
            Append(v);
        for (float v : {app->cameraX, app->cameraY, app->driftX, app->driftY, app->heading, app->ballX,
                        app->ballY, app->ballVelX, app->ballVelY, app->facing, app->pixelScaleX,
                        app->pixelScaleY, virtualWidth, virtualHeight})
            Append(v);
        for (int i = 0; i < app->drawCount; ++i) Append(app->drawList[i]);
    }

    // Drags after a wandering point, keeping the pointer inside the view.
    void Steer(int t) {
        const float w = virtualWidth, h = virtualHeight;
        if (t % 150 == 0) return ReleasePointer();
        float x = w / 2 + 0.3f * w * std::sin(t / 37.0f), y = h / 2 + 0.3f * h * std::cos(t / 53.0f);
        if (t % 150 == 1) PressPointer(x, y); else MovePointer(x, y);
    }

    // Input for the coming update: starts the next mode from the title,
    // steers, pauses at 90 and resumes 75 updates later, resizes once.
    void Act() {
        c_MyApp* app = App();
        if (app->loadStep != 0) return;
        if (app->screen == kScreenTitle) {
            if (inGame_) inGame_ = false, ++gamesEnded_;
            // Held for a few updates, again every 1.5 s: the title takes no
            // start while the last result withdraws.
            if (++titleUpdates_ % 90 == 60) {
                app->gameMode = games_ % 3 + 1;
                PressKey(kSpaceKey);
            }
            if (titleUpdates_ % 90 == 63) ReleaseKey(kSpaceKey);
            return;
        }
        if (app->screen != kScreenPlay) return;
        if (++gameUpdates_ == 1) ReleaseKey(kSpaceKey);  // the start may come before its release
        if (games_ == 2 && gameUpdates_ == 50) {
            Game().ResizeWindow(800, 600);
            resized_ = true;
        }
        if (app->gameOver != 0) return ReleasePointer();
        // Escape held for three updates: the game reads it as held.
        if (gameUpdates_ == 90 || gameUpdates_ == 165) {
            ReleasePointer();
            PressKey(kEscapeKey);
            return;
        }
        if (gameUpdates_ == 93 || gameUpdates_ == 168) return ReleaseKey(kEscapeKey);
        if (app->paused == 0) Steer(gameUpdates_);
    }

    // A new game seeds its world from the clock; the recording reseeds it so
    // that the world, and everything drawn from it, repeats. False on the
    // update that started a game, whose state came from the clock.
    bool Repeatable() {
        c_MyApp* app = App();
        if (app->screen != kScreenPlay || inGame_) return true;
        inGame_ = true, ++games_, gameUpdates_ = 0, titleUpdates_ = 0;
        randomSeed = 1000 + 7 * games_;
        app->SetUpWorld();
        return false;
    }

    std::string recording_;
    int games_ = 0, gamesEnded_ = 0, gameUpdates_ = 0, titleUpdates_ = 0;
    bool inGame_ = false, resized_ = false;
};

TEST_F(SessionRecordingTest, CoversTitleEachModePauseGameOverAndResize) {
    if (musicEnabled == 1) GTEST_SKIP() << "the recording is made without music";
    randomSeed = 4242;
    int updates = 0, pausedUpdates = 0, overUpdates = 0;
    for (; updates < kMostUpdates && (gamesEnded_ < 3 || titleUpdates_ < 30); ++updates) {
        Act();
        RunFrames(1);
        pausedUpdates += App()->paused != 0;
        overUpdates += App()->gameOver != 0;
        if (Repeatable()) Record();
    }
    Game().ResizeWindow(640, 480);

    if (const char* path = std::getenv("SOLBRIM_SESSION_RECORDING"))
        std::ofstream(path, std::ios::binary).write(recording_.data(), static_cast<std::streamsize>(recording_.size()));
    EXPECT_LT(updates, kMostUpdates) << "the session never finished its three games";
    EXPECT_EQ(gamesEnded_, 3);
    EXPECT_TRUE(resized_);
    EXPECT_GT(pausedUpdates, 60);
    EXPECT_GT(overUpdates, 3);
}

}  // namespace
