// Loading and decoding a 1024 x 1024 PNG: the guarded decode alone, and the
// whole LoadImage path (host file open, decode, premultiply, upload).
#include <GLFW/glfw3.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "graphics/drawing.h"
#include "graphics/graphics_globals.h"
#include "codec/image_decoder.h"
#include "tests/graphics/gl_test_window.h"
#include "tests/graphics/test_png.h"

namespace {

// A 1024 x 1024 RGBA image with smooth regions and noise, so it compresses
// like real artwork rather than like a flat fill.
const std::string& TestPng() {
    static std::string path;
    if (path.empty()) {
        std::vector<unsigned char> px(1024 * 1024 * 4);
        unsigned seed = 12345;
        for (int y = 0; y < 1024; ++y) {
            for (int x = 0; x < 1024; ++x) {
                unsigned char* p = &px[static_cast<size_t>(y * 1024 + x) * 4];
                seed = seed * 1664525u + 1013904223u;
                bool noisy = ((x / 64) + (y / 64)) % 3 == 0;
                p[0] = static_cast<unsigned char>(noisy ? seed >> 24 : x / 4);
                p[1] = static_cast<unsigned char>(noisy ? seed >> 16 : y / 4);
                p[2] = static_cast<unsigned char>((x ^ y) & 0xFF);
                p[3] = static_cast<unsigned char>((x + y) % 3 ? 255 : x & 0xFF);
            }
        }
        path = WriteTestPng("bench1024.png", 1024, 1024, 4, px.data());
    }
    return path;
}

void BM_DecodePng1024(benchmark::State& state) {
    const std::string& path = TestPng();
    for (auto _ : state) {
        FILE* file = std::fopen(path.c_str(), "rb");
        int w = 0, h = 0, depth = 0;
        unsigned char* pixels = DecodeImageFile(file, &w, &h, &depth);
        std::fclose(file);
        if (!pixels || w != 1024) state.SkipWithError("decode failed");
        FreeImageData(pixels);
    }
}
BENCHMARK(BM_DecodePng1024)->Unit(benchmark::kMillisecond);

void BM_LoadImage1024(benchmark::State& state) {
    if (!std::getenv("DISPLAY") || !EnsureTestWindow()) {
        state.SkipWithError("needs an X display (run under xvfb-run)");
        return;
    }
    if (!graphicsContext) InitGraphicsGlobals();
    if (!graphicsDevice) graphicsDevice = new gxtkGraphics();
    String path(TestPng().c_str());
    for (auto _ : state) {
        c_Image* image = LoadImage(path, 1, 0);
        if (!image) state.SkipWithError("load failed");
        image->surface->Discard();
        gc::SetForce();
        gc::CollectStep();
    }
}
BENCHMARK(BM_LoadImage1024)->Unit(benchmark::kMillisecond);

}  // namespace
