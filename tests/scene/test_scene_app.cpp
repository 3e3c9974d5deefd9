#include "tests/scene/test_scene_app.h"

#include <cmath>

#include "app/framework.h"
#include "graphics/drawing.h"
#include "graphics/graphics_globals.h"
#include "host/runtime_error.h"
#include "input/input.h"

namespace {

struct Colour {
    float r, g, b;
};

constexpr Colour kBackgrounds[] = {{16, 24, 64}, {64, 16, 40}, {16, 56, 32}, {56, 48, 16}};
constexpr int kFirstKey = 8, kLastKey = 255;
constexpr float kPi = 3.14159265f;

}  // namespace

int c_TestSceneApp::OnCreate() {
    SetUpdateRate(60);
    return 0;
}

int c_TestSceneApp::OnUpdate() {
    if (KeyHit(KEY_CLOSE)) Error(String());
    ++ticks;
    for (int key = kFirstKey; key <= kLastKey; ++key) {
        if (!KeyHit(key)) continue;
        ++palette;
        Print(String("key ") + String::FromInt(key));
    }
    if (MouseHit()) {
        clicked = true;
        clickX = MouseX();
        clickY = MouseY();
        Print(String("click ") + String::FromInt(static_cast<int>(clickX)) + String(" ") +
              String::FromInt(static_cast<int>(clickY)));
    }
    return 0;
}

void c_TestSceneApp::DrawText(const char* text, float x, float y) {
    c_Image* font = graphicsContext->font;
    if (!font) return;
    for (const char* c = text; *c; ++c, x += static_cast<float>(font->width))
        DrawImage(font, x, y, *c - graphicsContext->firstChar);
}

int c_TestSceneApp::OnRender() {
    const float w = static_cast<float>(DeviceWidth()), h = static_cast<float>(DeviceHeight());
    const float t = static_cast<float>(ticks) / 60.0f;
    const Colour& bg = kBackgrounds[palette % 4];
    ClearScreen(bg.r, bg.g, bg.b);

    // A square orbiting the centre.
    SetColor(255, 200, 40);
    DrawRect(w / 2 + std::cos(t) * w / 4 - 20, h / 2 + std::sin(t) * h / 4 - 20, 40, 40);

    // A bar spinning about the centre.
    PushMatrix();
    Translate(w / 2, h / 2);
    Rotate(t * 90);
    SetColor(90, 200, 255);
    DrawRect(-80, -8, 160, 16);
    PopMatrix();

    // Translucent ovals pulsing in the corners, added together.
    SetBlend(1);
    SetAlpha(0.5f + 0.5f * std::sin(t * 2 * kPi * 0.5f));
    SetColor(255, 80, 80);
    DrawOval(20, 20, 80, 80);
    DrawOval(w - 100, h - 100, 80, 80);
    SetBlend(0);
    SetAlpha(1);

    // The pointer, and the last click.
    SetColor(255, 255, 255);
    DrawOval(MouseX() - 6, MouseY() - 6, 12, 12);
    if (clicked) {
        SetColor(255, 60, 200);
        DrawLine(clickX - 12, clickY - 12, clickX + 12, clickY + 12);
        DrawLine(clickX - 12, clickY + 12, clickX + 12, clickY - 12);
    }

    SetColor(255, 255, 255);
    DrawText("SOL BRIM", 16, h - 40);
    return 0;
}
