// The cost of one play update on a fully populated world at 640 x 480:
// while coins are short (a random draw for every unseen cell) and with the
// world holding its 256 coins; a new game's world generation; and the
// commands one play update queues.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "bench/game/bench_game.h"
#include "game/game_globals.h"
#include "game/world_grid.h"
#include "runtime/random.h"

using namespace world_grid;

namespace {

// The benchmarks' game, its assets loaded.
c_MyApp* Game(benchmark::State& state) {
    c_MyApp* app = BenchGame(state);
    if (app) FinishBenchLoading();
    return app;
}

// Everything one play update changes, so that every measured update starts
// from the same game.
struct PlaySnapshot {
    std::vector<int> world;
    std::vector<float> particles, trail;
    float cameraX, cameraY, driftX, driftY, driftSpeed, heading, headingTimer, driftVelX, driftVelY;
    float ballX, ballY, ballVelX, ballVelY, ballScreenX, ballScreenY, facing;
    int coinCount, spinPhase, invulnerable, lives, score, shownScore, seed;

    explicit PlaySnapshot(c_MyApp* a)
        : world(a->world.begin(), a->world.end()),
          particles(a->particles.begin(), a->particles.end()),
          trail(a->trail.begin(), a->trail.end()),
          cameraX(a->cameraX), cameraY(a->cameraY), driftX(a->driftX), driftY(a->driftY),
          driftSpeed(a->driftSpeed), heading(a->heading), headingTimer(a->headingTimer),
          driftVelX(a->driftVelX), driftVelY(a->driftVelY), ballX(a->ballX), ballY(a->ballY),
          ballVelX(a->ballVelX), ballVelY(a->ballVelY), ballScreenX(a->ballScreenX),
          ballScreenY(a->ballScreenY), facing(a->facing), coinCount(a->coinCount), spinPhase(a->spinPhase),
          invulnerable(a->invulnerable), lives(a->lives), score(a->score), shownScore(a->shownScore),
          seed(randomSeed) {}

    void Restore(c_MyApp* a) const {
        std::copy(world.begin(), world.end(), a->world.begin());
        std::copy(particles.begin(), particles.end(), a->particles.begin());
        std::copy(trail.begin(), trail.end(), a->trail.begin());
        a->cameraX = cameraX, a->cameraY = cameraY, a->driftX = driftX, a->driftY = driftY;
        a->driftSpeed = driftSpeed, a->heading = heading, a->headingTimer = headingTimer;
        a->driftVelX = driftVelX, a->driftVelY = driftVelY;
        a->ballX = ballX, a->ballY = ballY, a->ballVelX = ballVelX, a->ballVelY = ballVelY;
        a->ballScreenX = ballScreenX, a->ballScreenY = ballScreenY, a->facing = facing;
        a->coinCount = coinCount, a->spinPhase = spinPhase, a->invulnerable = invulnerable;
        a->lives = lives, a->score = score, a->shownScore = shownScore;
        randomSeed = seed;
    }
};

// A game in full swing: a mode-2 world, the view drifting at full speed,
// a burst of particles in flight, and `coins` coins out of sight.
c_MyApp* GameInPlay(benchmark::State& state, int coins) {
    c_MyApp* app = Game(state);
    if (!app) return nullptr;
    app->gameMode = 2;
    app->screen = 10;
    app->NewGame();
    randomSeed = 20240611;
    app->SetUpWorld();
    app->driftSpeed = 2;
    app->invulnerable = 120;
    app->SpawnParticles(static_cast<int>(app->ballX), static_cast<int>(app->ballY), 32, -1);
    for (int col = 1; col < kCells - 1 && coins > 0; ++col)
        for (int row = 1; row < kCells - 1 && coins > 0; ++row)
            if (app->world[CellIndex(col, row)] == kEmpty && (col < 20 || col > 110)) {
                app->world[CellIndex(col, row)] = kCoin;
                --coins;
            }
    app->PlayUpdate();  // counts the coins
    return app;
}

void RunPlayUpdates(benchmark::State& state, int coins) {
    c_MyApp* app = GameInPlay(state, coins);
    if (!app) return;
    const PlaySnapshot start(app);
    long long commands = 0;
    for (auto _ : state) {
        state.PauseTiming();
        start.Restore(app);
        state.ResumeTiming();
        app->PlayUpdate();
        commands += app->drawCount / 15;
    }
    state.counters["commands"] = static_cast<double>(commands) / static_cast<double>(state.iterations());
    state.counters["coins"] = app->coinCount;
}

void BM_PlayUpdateWhileCoinsAreShort(benchmark::State& state) { RunPlayUpdates(state, 0); }
BENCHMARK(BM_PlayUpdateWhileCoinsAreShort)->Unit(benchmark::kMicrosecond);

void BM_PlayUpdateWith256Coins(benchmark::State& state) { RunPlayUpdates(state, 256); }
BENCHMARK(BM_PlayUpdateWith256Coins)->Unit(benchmark::kMicrosecond);

// A whole update in play as the host runs it: input, OnUpdate with the
// play update and the controls, the collector step.
void BM_HostUpdateInPlay(benchmark::State& state) {
    c_MyApp* app = GameInPlay(state, 0);
    if (!app) return;
    const PlaySnapshot start(app);
    for (auto _ : state) {
        state.PauseTiming();
        start.Restore(app);
        state.ResumeTiming();
        BenchHost()->UpdateGame();
    }
    state.counters["commands"] = app->drawCount / 15;
}
BENCHMARK(BM_HostUpdateInPlay)->Unit(benchmark::kMicrosecond);

void BM_NewGame(benchmark::State& state) {
    c_MyApp* app = Game(state);
    if (!app) return;
    for (auto _ : state) app->NewGame();
}
BENCHMARK(BM_NewGame)->Unit(benchmark::kMicrosecond);

}  // namespace
