// The display list: every screen queues its drawing here during the update,
// and the render replays it. A command is 15 floats:
//   [0] image number, or the kind: -3717 rectangle, -3716 ellipse, -3715 line
//   [1] [2] x, y   [3] rotation   [4] [5] scale (images) or size / radii / end
//   [6] frame      [7] alpha      [10..12] colour   [13] blend code
// Floats 8, 9 and 14 are never written.
#include <cmath>

#include "game/degrees.h"
#include "game/game_constants.h"
#include "game/game_globals.h"
#include "game/my_app.h"
#include "graphics/drawing.h"
#include "graphics/image.h"

namespace {

constexpr float kRectKind = -3717.0f;
constexpr float kEllipseKind = -3716.0f;
constexpr float kLineKind = -3715.0f;
constexpr int kCommandFloats = 15;

}  // namespace

void c_MyApp::ResetDrawState() {
    drawScaleX = drawScaleY = 1.0f;
    drawRotation = 0;
    drawRed = drawGreen = drawBlue = 255.0f;
    drawAlpha = 1.0f;
    drawBlend = 1;
}

void c_MyApp::BeginFrame(float red, float green, float blue, float alpha) {
    if (red > kAbsent) {
        clearRed = red;
        clearGreen = green;
        clearBlue = blue;
        clearAlpha = alpha;
    }
    ResetDrawState();
    drawCount = 0;
}

void c_MyApp::SetDrawScale(float x, float y) {
    drawScaleX = x;
    drawScaleY = y > kAbsent ? y : x;
}

void c_MyApp::SetDrawAlpha(float alpha) { drawAlpha = alpha; }

void c_MyApp::SetDrawColor(float red, float green, float blue, float alpha) {
    drawRed = red;
    drawGreen = green;
    drawBlue = blue;
    if (alpha > kAbsent) drawAlpha = alpha;
}

void c_MyApp::SetDrawRotation(float degrees) { drawRotation = -degrees; }

// The list holds exactly 2,500 commands (all 37,500 floats); further
// commands in the same update are dropped.
static float* AppendCommand(c_MyApp* app) {
    if (app->drawCount + kCommandFloats > app->drawList.Length()) return nullptr;
    float* c = &app->drawList[app->drawCount];
    app->drawCount += kCommandFloats;
    c[3] = app->drawRotation;
    c[7] = app->drawAlpha;
    c[10] = app->drawRed;
    c[11] = app->drawGreen;
    c[12] = app->drawBlue;
    c[13] = static_cast<float>(app->drawBlend);
    return c;
}

static void AppendShape(c_MyApp* app, float kind, float x, float y, float a, float b) {
    float* c = AppendCommand(app);
    if (!c) return;
    c[0] = kind;
    c[1] = x;
    c[2] = y;
    c[4] = a;
    c[5] = b;
    c[6] = 0;
}

void c_MyApp::QueueImage(int image, float x, float y, int frame) {
    float* c = AppendCommand(this);
    if (!c) return;
    c[0] = static_cast<float>(image);
    c[1] = x;
    c[2] = y;
    c[4] = drawScaleX;
    c[5] = drawScaleY;
    c[6] = static_cast<float>(frame);
}

void c_MyApp::QueueRect(float x, float y, float width, float height) {
    AppendShape(this, kRectKind, x, y, width, height);
}

void c_MyApp::QueueEllipse(float x, float y, float xRadius, float yRadius) {
    AppendShape(this, kEllipseKind, x, y, xRadius, yRadius);
}

void c_MyApp::QueueText(float x, float y, const String& text, float alignX, float alignY) {
    float adv = imageInfo[3 * fontImage] * drawScaleX;
    float lh = imageInfo[3 * fontImage + 1] * drawScaleY;
    int n = text.Length();
    float hx = alignX * 0.5f;
    float hy = (alignY - 1) * 0.5f;
    float r = drawRotation;
    float a = -r - 90;
    float b = -r;
    float startX = x + SinDeg(b) * lh * hy + SinDeg(a) * (n - 1) * adv * hx;
    float startY = y - (n - 1) * adv * CosDeg(a) * hx - CosDeg(b) * lh * hy;
    // Per character and per line, the pen moves along these steps.
    float stepX = adv * SinDeg(90 - r), stepY = -adv * CosDeg(90 - r);
    float lineX = lh * SinDeg(180 - r), lineY = -lh * CosDeg(180 - r);
    float px = startX, py = startY;
    int line = 0;
    for (int k = 0; k < n; ++k) {
        int c = text[k];
        // The two characters backslash and 'n' break the line.
        if (c == '\\' && k + 1 < n && text[k + 1] == 'n') {
            line += 1;
            px = startX + line * lineX;
            py = startY + line * lineY;
            k += 1;
            continue;
        }
        if (c >= 33 && c <= 159) QueueImage(fontImage, px, py, c - 32);
        if (c != 0) {
            px += stepX;
            py += stepY;
        }
    }
}

void c_MyApp::ReplayDrawList() {
    float sx = pixelScaleX, sy = pixelScaleY;
    // A blend change ends the renderer's batch, so the blend is set only when
    // it differs from the last command's; the picture is the same.
    int blend = -1;
    for (int i = 0; i <= drawCount - kCommandFloats; i += kCommandFloats) {
        const float* c = &drawList[i];
        SetAlpha(c[7]);
        SetColor(c[10], c[11], c[12]);
        int wanted = c[13] == 3.0f ? 1 : 0;
        if (wanted != blend) SetBlend(wanted);
        blend = wanted;
        float kind = c[0];
        if (kind == kRectKind) {
            DrawRect(c[1] * sx, c[2] * sy, c[4] * sx, c[5] * sy);
        } else if (kind == kEllipseKind) {
            DrawEllipse(c[1] * sx, c[2] * sy, c[4] * sx, c[5] * sy);
        } else if (kind == kLineKind) {
            DrawLine(c[1] * sx, c[2] * sy, c[4] * sx, c[5] * sy);
        } else if (kind > -1 && kind < images.Length()) {
            c_Image* image = images[static_cast<int>(kind)];
            if (image) {
                DrawImageTransformed(image, c[1] * sx, c[2] * sy, c[3], c[4] * sx * hdScale, c[5] * sy * hdScale,
                                     static_cast<int>(c[6]));
            }
        }
    }
}
