// The menu sheet: frame 0 the sky that tiles behind the play field and the
// title, frame 1 the title's foreground (a cloud bank with floating blocks
// and coins), frame 2 the side art (the ball chasing coins); frame 3 spare.
#include <cmath>

#include "tools/assetgen/art.h"
#include "tools/assetgen/draw_kit.h"

namespace art {
namespace {

constexpr double kSize = 256;

struct CloudSpot {
    double x, y, width, alpha;
};

// Placed by hand for an even, unhurried sky; each is drawn with its wrapped
// copies so the tile repeats without a seam.
constexpr CloudSpot kSkyClouds[] = {
    {52, 46, 104, 0.8}, {182, 92, 72, 0.72}, {112, 150, 56, 0.6},
    {222, 196, 110, 0.78}, {28, 214, 60, 0.65}, {150, 18, 44, 0.5},
};

void Sky(cairo_t* cr) {
    kit::SetColour(cr, pal::kSkyLight, 0.35);
    cairo_paint(cr);
    // A faint brighter haze in broad bands, periodic in both directions.
    for (int i = 0; i < 2; ++i) {
        for (int dx = -1; dx <= 1; ++dx) {
            for (int dy = -1; dy <= 1; ++dy) {
                double cx = 64 + 128 * i + dx * kSize, cy = 170 - 110 * i + dy * kSize;
                cairo_pattern_t* g = cairo_pattern_create_radial(cx, cy, 0, cx, cy, 90);
                cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 1, 0.12);
                cairo_pattern_add_color_stop_rgba(g, 1, 1, 1, 1, 0);
                cairo_set_source(cr, g);
                cairo_paint(cr);
                cairo_pattern_destroy(g);
            }
        }
    }
    for (const CloudSpot& c : kSkyClouds)
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                kit::Cloud(cr, c.x + dx * kSize, c.y + dy * kSize, c.width, c.alpha);
}

void FloatingBlock(cairo_t* cr, double cx, double cy, double size, int variant, double turn) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, kit::Rad(turn));
    // Soft shadow first, then the block.
    kit::RoundedRect(cr, -size / 2 + 2, -size / 2 + 3, size, size, size * 0.16);
    kit::SetColour(cr, pal::kInk, 0.25);
    cairo_fill(cr);
    kit::Block(cr, -size / 2, -size / 2, size, variant);
    cairo_restore(cr);
}

// The bank's puffs, shifted by dy and shrunk by `inset`, plus the solid
// base below them.
void BankPath(cairo_t* cr, double dy, double inset) {
    cairo_new_path(cr);
    for (int i = 0; i < 10; ++i) {
        double x = -4 + i * 29, y = 206 + ((i * 7) % 3) * 5 + dy, r = 24 + (i % 3) * 5 - inset;
        cairo_new_sub_path(cr);
        cairo_arc(cr, x, y, r, 0, 2 * kit::kPi);
    }
    cairo_rectangle(cr, -10, 214 + dy, 276, 60);
}

void CloudBank(cairo_t* cr) {
    // Shaded underneath each puff: the shade is the whole bank, and white
    // covers all but a crescent below every puff.
    cairo_push_group(cr);
    BankPath(cr, 0, 0);
    kit::SetColour(cr, pal::kCloudShade);
    cairo_fill(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_ATOP);
    BankPath(cr, -6, 1.5);
    kit::SetColour(cr, pal::kCloud);
    cairo_fill(cr);
    cairo_pop_group_to_source(cr);
    cairo_paint(cr);
}

void Foreground(cairo_t* cr) {
    CloudBank(cr);
    // Hazards and coins drifting in the sky, clear of the logo, the mode
    // buttons and the score panel on the right.
    FloatingBlock(cr, 36, 70, 20, 2, -12);
    FloatingBlock(cr, 172, 56, 16, 0, 10);
    FloatingBlock(cr, 38, 152, 14, 4, 8);
    FloatingBlock(cr, 180, 142, 15, 3, -8);
    kit::Coin(cr, 58, 100, 6);
    kit::Coin(cr, 166, 96, 5.5);
}

void SideArt(cairo_t* cr) {
    // The ball swoops up from the lower left towards a line of coins.
    const double bx = 100, by = 119, r = 22;
    for (int i = 0; i < 9; ++i) {
        double t = i / 8.0;
        double x = 18 + (bx - 28 - 18) * t, y = 150 - 24 * t - 6 * std::sin(t * kit::kPi);
        kit::Circle(cr, x, y, 2 + 8 * t);
        kit::SetColour(cr, pal::kBall);
        cairo_fill(cr);
    }
    kit::Ball(cr, bx, by, r, 78);
    const double coins[][2] = {{150, 113}, {174, 109}, {198, 105}};
    for (const auto& c : coins) kit::Coin(cr, c[0], c[1], 8);
    // A sparkle on the nearest coin.
    kit::Star(cr, 142, 103, 6, 1.3, 4);
    kit::SetColour(cr, pal::kWhite);
    cairo_fill(cr);
    kit::Star(cr, 158, 121, 3.5, 0.9, 4);
    cairo_fill(cr);
}

}  // namespace

void MenuArt(cairo_t* cr, int frame) {
    if (frame == 0)
        Sky(cr);
    else if (frame == 1)
        Foreground(cr);
    else if (frame == 2)
        SideArt(cr);
    // Frame 3 is spare.
}

}  // namespace art
