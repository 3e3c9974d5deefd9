// The graphics tests' window: the process's hidden GL window
// (tests/support/test_gl_window.h) at 320 x 240, with the window-less host
// made (the renderer loads images through the host), and pixel read-back.
#pragma once
#include <cstdlib>

#include "graphics/gxtk_graphics.h"
#include "runtime/array.h"

constexpr int kTestWindowWidth = 320;
constexpr int kTestWindowHeight = 240;

// Opens the window on first use; false (with a message) when no display or
// GL context can be had.
bool EnsureTestWindow();

// The pixel word at (x, y) (top-left origin) read back through the renderer.
int PixelAt(gxtkGraphics* g, int x, int y);

// Pixel word parts.
inline int PixelAlpha(int p) { return (p >> 24) & 0xFF; }
inline int PixelRed(int p) { return (p >> 16) & 0xFF; }
inline int PixelGreen(int p) { return (p >> 8) & 0xFF; }
inline int PixelBlue(int p) { return p & 0xFF; }
inline int Word(int a, int r, int g, int b) {
    return static_cast<int>(static_cast<unsigned>(a) << 24 | static_cast<unsigned>(r) << 16 |
                            static_cast<unsigned>(g) << 8 | static_cast<unsigned>(b));
}

// Skips without a display; with one, failing to get a context is a failure.
#define REQUIRE_GL()                                                   \
    do {                                                               \
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";   \
        ASSERT_TRUE(EnsureTestWindow()) << "no GL context on $DISPLAY"; \
    } while (0)
