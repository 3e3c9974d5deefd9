// The one game object of a benchmark binary, started as the program starts
// it: a hidden 640 x 480 window with its GL context current (no vsync), the
// real desktop host, the global initialiser, c_MyApp constructed and started
// through the host, and the first frame rendered. The process works in a
// scratch directory whose "data" is the build's assets.
//
//   c_MyApp* app = BenchGame(state);  // made on first use; null (and the
//   if (!app) return;                 //   benchmark skipped) without a display
//   FinishBenchLoading();             // updates and renders until loaded
//   BenchHost()->UpdateGame();
//
// CMake: solbrim_bench(<name> SOURCES ... LIBS solbrim_bench_game)
#pragma once
#include <benchmark/benchmark.h>

#include "game/my_app.h"
#include "host/hx_game.h"

c_MyApp* BenchGame(benchmark::State& state);

// The host BenchGame made (null before).
HxGame* BenchHost();

// Calls observer with the duration of every collector step the host runs
// after an event, update or render (null: stop observing).
void ObserveCollectorSteps(void (*observer)(double seconds));

// Runs updates and renders while asset loading is in progress.
void FinishBenchLoading();
