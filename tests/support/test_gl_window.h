// The hidden GL window of a test process, for tests that draw and read
// pixels back (the renderer, the game harness, the benchmarks).
//
//   - At most one per process: made on first use, kept until exit (the
//     devices and the host hold on to its context), its context current.
//   - Hidden, resizable, without depth or stencil buffer, with 8 alpha bits.
//   - Connecting to the X server is tried once more after a short pause, and
//     only here: each test program opens one connection (it runs as one
//     CTest test), so a refusal is rare and a second refusal is a failure.
#pragma once

struct GLFWwindow;

// Starts the window library for a test that makes its own windows; false,
// with a message on stderr, when no display can be reached.
bool StartTestWindowLibrary();

// The process's window, made at width x height on the first call; null,
// with a message on stderr, when there is no display or GL context, or when
// a later call asks for another size than the first.
GLFWwindow* TestGlWindow(int width, int height);
