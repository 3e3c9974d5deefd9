#include "tests/graphics/gl_test_window.h"

#include "tests/support/idle_host.h"
#include "tests/support/test_gl_window.h"

bool EnsureTestWindow() {
    if (!TestGlWindow(kTestWindowWidth, kTestWindowHeight)) return false;
    IdleHost();
    return true;
}

int PixelAt(gxtkGraphics* g, int x, int y) {
    Array<int> one(1);
    g->ReadPixels(one, x, y, 1, 1, 0, 1);
    return one[0];
}
