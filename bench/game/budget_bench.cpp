// What a player feels over a whole session rather than in one hot loop:
// the game driven through its real host from the title through a game in
// each mode (steered with the mouse, collecting coins, taking hits, opening
// the pause menu, to game over and back), round after round, with a window
// resize in the middle of a game, every update followed by a render. Every
// update and every collector step is timed, and heap allocations are counted
// during the play updates.
//
// Counters: update_p50_us, update_p99_us, update_max_us (updates that run an
// asset-loading step are left out and reported as load_step_max_us),
// gc_step_p99_us, gc_step_max_us, allocs_per_update (per play update once a
// game is under way), plus the run's shape: updates, play_updates, games,
// coins, hits. Times are wall-clock, as the player sees them;
// update_p99_cpu_us and update_max_cpu_us give the main thread's own CPU
// time, which a busy machine does not inflate.
#include <GLFW/glfw3.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <thread>
#include <vector>

#include "bench/game/bench_game.h"
#include "game/game_constants.h"
#include "game/game_globals.h"

// ---- heap allocations -------------------------------------------------------
// The C library's allocator under its own names; replacing malloc, calloc and
// realloc here counts every heap allocation of the process, operator new's
// too (it allocates through malloc). Only the main thread's allocations are
// counted, and only while counting is switched on.
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* p, size_t size);
}

namespace {
thread_local bool tCountAllocations = false;
long gAllocations = 0;

void NoteAllocation() {
    if (tCountAllocations) ++gAllocations;
}
}  // namespace

extern "C" {
void* malloc(size_t size) {
    NoteAllocation();
    return __libc_malloc(size);
}
void* calloc(size_t count, size_t size) {
    NoteAllocation();
    return __libc_calloc(count, size);
}
void* realloc(void* p, size_t size) {
    NoteAllocation();
    return __libc_realloc(p, size);
}
}

namespace {

constexpr int kMinUpdates = 10000;
constexpr int kSpaceKey = 32;
constexpr int kEscapeKey = 27;
// Updates of a game before its allocations count: the first ones fill the
// trail and particles and ease the shown score.
constexpr int kSteadyAfter = 120;

constexpr int kMostUpdates = 100000;  // a game the player never loses would stop here

// Collector steps, after updates and renders; those of loading apart (each
// loaded file forces a full collection).
std::vector<double> gCollectorSteps, gLoadingCollectorSteps;
bool gLoading = false;

double Micros(double seconds) { return seconds * 1e6; }

// The main thread's own CPU time: unlike the wall clock, it leaves out the
// time other processes on a busy machine take from it.
double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The value below which the given share of the samples lies.
double Percentile(std::vector<double> samples, double share) {
    if (samples.empty()) return 0;
    auto at = samples.begin() + static_cast<long>(share * static_cast<double>(samples.size() - 1));
    std::nth_element(samples.begin(), at, samples.end());
    return *at;
}

double Max(const std::vector<double>& samples) {
    return samples.empty() ? 0 : *std::max_element(samples.begin(), samples.end());
}

// The scripted player: starts a game of the next mode from the title, drags
// the ball after a wandering point near the middle of the view, opens and
// closes the pause menu once a game, and lets each game run to its end.
class Player {
public:
    explicit Player(c_MyApp* app) : app_(app) {}

    // Input for the coming update.
    void Act() {
        if (app_->loadStep != 0) return;
        if (app_->screen == kScreenTitle) return OnTitle();
        if (app_->screen != kScreenPlay) return;
        if (titleUpdates_ > 0) StartedGame();
        ++gameUpdates_;
        if (app_->gameOver != 0) return Release();
        if (gameUpdates_ == 400 || gameUpdates_ == 400 + 75) return TapKey(kEscapeKey);
        if (app_->paused == 0) Steer();
    }

    bool InSteadyPlay() const {
        return app_->screen == kScreenPlay && app_->gameOver == 0 && app_->paused == 0 && gameUpdates_ > kSteadyAfter;
    }
    int GameUpdates() const { return gameUpdates_; }
    int Games() const { return games_; }

private:
    // Presses the fire key for a few updates, again every 1.5 s until the
    // game starts (the title takes no start while the last result withdraws).
    void OnTitle() {
        ++titleUpdates_;
        if (titleUpdates_ % 90 == 60) {
            app_->gameMode = games_ % 3 + 1;
            BenchHost()->KeyEvent(EVENT_KEY_DOWN, kSpaceKey);
        }
        if (titleUpdates_ % 90 == 63) BenchHost()->KeyEvent(EVENT_KEY_UP, kSpaceKey);
    }

    void StartedGame() {
        titleUpdates_ = 0;
        gameUpdates_ = 0;
        ++games_;
    }

    void TapKey(int key) {
        Release();
        BenchHost()->KeyEvent(EVENT_KEY_DOWN, key);
        BenchHost()->KeyEvent(EVENT_KEY_UP, key);
    }

    void Pointer(int event, float x, float y) {
        BenchHost()->MouseEvent(event, 0, x * app_->pixelScaleX, y * app_->pixelScaleY);
    }

    void Release() {
        if (!dragging_) return;
        Pointer(EVENT_MOUSE_UP, px_, py_);
        dragging_ = false;
    }

    void Steer() {
        const float w = virtualWidth, h = virtualHeight;
        if (!dragging_) {
            px_ = w / 2, py_ = h / 2;
            Pointer(EVENT_MOUSE_DOWN, px_, py_);
            dragging_ = true;
            return;
        }
        const float t = static_cast<float>(gameUpdates_);
        float tx = w / 2 + w / 4 * std::sin(t / 97.0f), ty = h / 2 + h / 4 * std::cos(t / 131.0f);
        float bx = app_->ballX - app_->cameraX, by = app_->ballY - app_->cameraY;
        float wantX = std::clamp((tx - bx) / 30, -4.0f, 4.0f), wantY = std::clamp((ty - by) / 30, -4.0f, 4.0f);
        px_ += std::clamp((wantX - app_->ballVelX) * 8, -24.0f, 24.0f);
        py_ += std::clamp((wantY - app_->ballVelY) * 8, -24.0f, 24.0f);
        if (px_ < 40 || px_ > w - 40 || py_ < 40 || py_ > h - 40) return Release();
        Pointer(EVENT_MOUSE_MOVE, px_, py_);
    }

    c_MyApp* app_;
    int titleUpdates_ = 0;
    int gameUpdates_ = 0;
    int games_ = 0;
    bool dragging_ = false;
    float px_ = 0, py_ = 0;
};

// Resizes the game's window and waits (with a deadline) until the new size
// has arrived; the next render then starts the reload of the assets.
void ResizeWindow(int width, int height) {
    GLFWwindow* window = glfwGetCurrentContext();
    glfwSetWindowSize(window, width, height);
    for (int i = 0; i < 200; ++i) {
        int w = 0, h = 0;
        glfwPollEvents();
        glfwGetFramebufferSize(window, &w, &h);
        if (w == width && h == height) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

void BM_WholeGameBudget(benchmark::State& state) {
    c_MyApp* app = BenchGame(state);
    if (!app) return;
    FinishBenchLoading();
    app->screen = kScreenTitle;

    std::vector<double> updates, updatesCpu, loadSteps;
    updates.reserve(4 * kMinUpdates);
    updatesCpu.reserve(4 * kMinUpdates);
    loadSteps.reserve(1000);
    gCollectorSteps.reserve(8 * kMinUpdates);
    gLoadingCollectorSteps.reserve(2000);
    long playUpdates = 0, playAllocations = 0;
    int hits = 0, coins = 0;
    bool resized = false;

    for (auto _ : state) {
        Player player(app);
        ObserveCollectorSteps([](double seconds) {
            (gLoading ? gLoadingCollectorSteps : gCollectorSteps).push_back(seconds);
        });
        int total = 0;
        while ((total < kMinUpdates || player.Games() < 3 || !resized || app->screen != kScreenTitle) &&
               total < kMostUpdates) {
            ++total;
            player.Act();
            if (!resized && player.Games() == 2 && player.GameUpdates() == 200) {
                ResizeWindow(800, 600);
                resized = true;
            }
            const bool loading = app->loadStep != 0;
            gLoading = loading;
            const bool steady = player.InSteadyPlay();
            const int lives = app->lives, score = app->score;
            const long allocationsBefore = gAllocations;

            tCountAllocations = steady;
            const double cpuStart = ThreadSeconds();
            auto start = std::chrono::steady_clock::now();
            BenchHost()->UpdateGame();
            double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            const double cpuSeconds = ThreadSeconds() - cpuStart;
            tCountAllocations = false;

            gLoading = loading || app->loadStep != 0;
            (gLoading ? loadSteps : updates).push_back(seconds);
            if (!gLoading) updatesCpu.push_back(cpuSeconds);
            if (steady) {
                ++playUpdates;
                playAllocations += gAllocations - allocationsBefore;
            }
            if (app->screen == kScreenPlay) {
                hits += app->lives < lives;
                coins += app->score > score;
            }
            BenchHost()->RenderGame();
        }
        ObserveCollectorSteps(nullptr);
        state.counters["games"] = player.Games();
    }
    ResizeWindow(640, 480);
    FinishBenchLoading();

    state.counters["update_p50_us"] = Micros(Percentile(updates, 0.50));
    state.counters["update_p99_us"] = Micros(Percentile(updates, 0.99));
    state.counters["update_max_us"] = Micros(Max(updates));
    state.counters["update_p99_cpu_us"] = Micros(Percentile(updatesCpu, 0.99));
    state.counters["update_max_cpu_us"] = Micros(Max(updatesCpu));
    state.counters["load_step_max_us"] = Micros(Max(loadSteps));
    state.counters["gc_step_p99_us"] = Micros(Percentile(gCollectorSteps, 0.99));
    state.counters["gc_step_max_us"] = Micros(Max(gCollectorSteps));
    state.counters["gc_load_step_max_us"] = Micros(Max(gLoadingCollectorSteps));
    state.counters["allocs_per_update"] =
        playUpdates ? static_cast<double>(playAllocations) / static_cast<double>(playUpdates) : 0;
    state.counters["updates"] = static_cast<double>(updates.size() + loadSteps.size());
    state.counters["play_updates"] = static_cast<double>(playUpdates);
    state.counters["coins"] = coins;
    state.counters["hits"] = hits;
}
BENCHMARK(BM_WholeGameBudget)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
