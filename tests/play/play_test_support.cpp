#include "tests/play/play_test_support.h"

#include <cstdint>

#include "game/game_globals.h"
#include "runtime/random.h"

using namespace world_grid;

void PlayTestApp::PlaySfx(int sound, float rate, float volume, float pan) {
    sfx.push_back({sound, rate});
    c_MyApp::PlaySfx(sound, rate, volume, pan);
}

int PlayTestApp::SfxCount(int sound) const {
    int n = 0;
    for (const SfxCall& call : sfx) n += call.sound == sound;
    return n;
}

namespace {
// Every play test binary runs on the recording game object.
const bool kFactorySet = (GameHarness::SetAppFactory([]() -> c_MyApp* { return new PlayTestApp(); }), true);
}  // namespace

void PlayTest::SetUp() {
    (void)kFactorySet;
    GameTest::SetUp();
    App()->screen = 0;  // no screen runs unless a test starts one
    Play()->sfx.clear();
}

void PlayTest::NewSeededGame(int seed, int mode) {
    c_MyApp* app = App();
    app->gameMode = mode;
    app->NewGame();
    randomSeed = seed;
    app->SetUpWorld();
}

void PlayTest::EmptyWorldAt(float cameraX, float cameraY, float screenX, float screenY, int mode) {
    c_MyApp* app = App();
    NewSeededGame(1, mode);
    for (int col = 1; col < kCells - 1; ++col)
        for (int row = 1; row < kCells - 1; ++row) Cell(col, row) = kEmpty;
    for (int i = 0; i < app->particles.Length(); ++i) app->particles[i] = 0;
    app->cameraX = app->driftX = cameraX;
    app->cameraY = app->driftY = cameraY;
    app->invulnerable = 0;
    app->coinCount = 0;
    PlaceBall(screenX, screenY);
    Play()->sfx.clear();
}

void PlayTest::PlaceBall(float screenX, float screenY) {
    c_MyApp* app = App();
    app->ballScreenX = screenX;
    app->ballScreenY = screenY;
    app->ballX = app->cameraX + screenX;
    app->ballY = app->cameraY + screenY;
    app->ballVelX = app->ballVelY = 0;
    for (int k = 0; k < 65; ++k) {
        app->trail[2 * k] = app->ballX;
        app->trail[2 * k + 1] = app->ballY;
    }
}

int PlayTest::ActiveParticles() const {
    int n = 0;
    for (int k = 0; k < 101; ++k) n += App()->particles[k * 10] > 0;
    return n;
}

int PlayTest::CountCells(int type) const {
    int n = 0;
    for (int col = 0; col < kCells; ++col)
        for (int row = 0; row < kCells; ++row) n += Cell(col, row) == type;
    return n;
}

int NextSeed(int seed) {
    return static_cast<int>(static_cast<uint32_t>(seed) * 1664525u + 1013904223u);
}
