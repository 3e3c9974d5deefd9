// The credits panel: a television test card that folds in over the title,
// the credits scrolling and fading through its middle, the title logo in
// its bottom row and two dials with live read-outs in its top corners.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "game/game_constants.h"
#include "game/game_globals.h"
#include "game/my_app.h"
#include "game/shell/credits_list.h"
#include "graphics/drawing.h"

namespace {

constexpr int kFullSlide = 30;
constexpr int kShrinkBelow = 20;      // squares grow to full size over the first 20 steps
constexpr int kScrolledLines = 27;    // the wrap leaves out the closing "End"
constexpr float kLineSpacing = 16;
constexpr float kScrollSpeed = 0.3f;
constexpr float kInsetMargin = 3;     // white grid lines between the grey insets
constexpr float kRampInset = 0.7f;    // colour inset of an outer square

float Clamp255(float v) { return std::clamp(v, 0.0f, 255.0f); }

// Offset from the middle of the grid, pushed one further on the low side so
// that both halves fly out alike while folded.
int FoldIndex(int index, int count) {
    int d = index - count / 2;
    return d < 1 ? d - 1 : d;
}

struct Rgb {
    float r, g, b;
};

// The colour ramp of the outer ring, by side: k-th of n squares.
Rgb RampColour(int i, int j, int cols, int rows) {
    auto up = [](int k, int n) { return n > 2 ? Clamp255(512.0f / (n - 2) * (k - 1)) : 0.0f; };
    auto down = [](int k, int n) { return n > 2 ? Clamp255(512.0f - 512.0f / (n - 2) * (k - 1)) : 255.0f; };
    int across = cols + 1, along = rows + 1;
    if (j == 0) return {up(i, across), down(i, across), 0};
    if (j == rows) {
        float g = across > 2 ? Clamp255(255.0f / (across - 2) * (i - 1)) : 0.0f;
        return {g, g, g};
    }
    if (i == 0) return {0, down(j, along), up(j, along)};
    return {down(j, along), 0, up(j, along)};
}

}  // namespace

void c_MyApp::CreditsPanel() {
    const float w = virtualWidth, h = virtualHeight;
    ResetDrawState();
    const float cell = std::max(w / 12, h / 12);
    creditsCols = static_cast<int>(w / cell);
    creditsRows = static_cast<int>(h / cell);
    const float gx = 0.5f * w - 0.5f * cell * creditsCols;
    const float gy = 0.5f * h - 0.5f * cell * creditsRows;
    creditsFold = kFullSlide - creditsSlide;
    const float fade = static_cast<float>(creditsSlide) / kFullSlide;
    SetDrawAlpha(fade);
    float square = cell;
    if (creditsSlide < kShrinkBelow) square = cell * creditsSlide / kShrinkBelow;

    // The test-card grid: white squares with grey insets, a black ring with colour ramps.
    for (int i = 0; i <= creditsCols; ++i) {
        for (int j = 0; j <= creditsRows; ++j) {
            int di = FoldIndex(i, creditsCols), dj = FoldIndex(j, creditsRows);
            float cx = gx + i * cell + static_cast<float>(di * std::abs(di) * creditsFold);
            float cy = gy + j * cell + static_cast<float>(dj * std::abs(dj) * creditsFold);
            bool ring = i == 0 || j == 0 || i == creditsCols || j == creditsRows;
            SetDrawColor(ring ? 0.0f : 255.0f, ring ? 0.0f : 255.0f, ring ? 0.0f : 255.0f, kAbsent);
            QueueRect(cx - 0.5f * square, cy - 0.5f * square, square, square);
            float inset = ring ? square * kRampInset : std::max(0.0f, square - kInsetMargin);
            if (ring) {
                Rgb c = RampColour(i, j, creditsCols, creditsRows);
                SetDrawColor(c.r, c.g, c.b, kAbsent);
            } else {
                SetDrawColor(128, 128, 128, kAbsent);
            }
            QueueRect(cx - 0.5f * inset, cy - 0.5f * inset, inset, inset);
        }
    }

    const float middleY = 0.5f * h - 24.0f * creditsFold;
    SetDrawScale(1, kAbsent);
    SetDrawColor(255, 255, 255, kAbsent);
    QueueImage(kImageTestCard, 0.5f * w, middleY, 0);

    // Credits scroll up a line every 16 pixels, fading towards the edges.
    creditsScroll -= kScrollSpeed;
    if (creditsScroll < -kLineSpacing) {
        creditsLine = (creditsLine + 1) % kScrolledLines;  // the same lines as counting on for ever
        creditsScroll += kLineSpacing;
    }
    for (int pos = -3; pos <= 4; ++pos) {
        float f = std::clamp(std::fabs((kLineSpacing * pos + creditsScroll) / 40) - 0.3f, 0.0f, 1.0f);
        SetDrawAlpha(1 - f);
        int entry = ((creditsLine + pos) % kScrolledLines + kScrolledLines) % kScrolledLines;
        String line = entry < creditsList.Length() ? creditsList[entry] : String();
        QueueText(0.5f * w + 24, middleY + kLineSpacing * pos + creditsScroll, line, 0.8f, 0.8f);
    }

    SetDrawAlpha(fade);
    SetDrawScale(0.4f, kAbsent);
    QueueImage(kImageLogo, 0.5f * w, gy + (creditsRows - 1) * cell + 4.0f * creditsFold, 0);

    // Dials in the top corners, with the device size and rates beside them.
    const float radius = 0.5f * cell;
    const float dialY = gy + 1.5f * cell - 3.0f * creditsFold;
    const float leftX = gx + 1.5f * cell - 6.0f * creditsFold;
    const float rightX = gx + (creditsCols - 1.5f) * cell + 6.0f * creditsFold;
    SetDrawScale(1, kAbsent);
    for (float x : {leftX, rightX}) {
        SetDrawColor(255, 255, 255, fade);
        QueueEllipse(x, dialY, radius, radius);
        SetDrawColor(128, 128, 128, fade);
        QueueEllipse(x, dialY, radius - 3, radius - 3);
    }
    SetDrawColor(255, 255, 255, fade);
    auto reading = [](float value) { return String(" ") + String::FromInt(static_cast<int>(value)); };
    const float leftValues[3] = {static_cast<float>(DeviceWidth()), static_cast<float>(DeviceHeight()),
                                 static_cast<float>(updateFpsSmooth)};
    const float rightValues[3] = {w, h, static_cast<float>(renderFpsSmooth)};
    for (int k = 0; k < 3; ++k) {
        float y = dialY + kLineSpacing * (k - 1);
        QueueText(leftX + radius + 8, y, reading(leftValues[k]), 0, 1);
        QueueText(rightX - radius - 8, y, reading(rightValues[k]), 2, 1);
    }
}
