// The test-card circle of the credits panel: colour bars above, grey steps
// and fine gratings below, and a dark middle band through which the white
// credits text scrolls.
#include "tools/assetgen/art.h"
#include "tools/assetgen/draw_kit.h"

namespace art {
namespace {
constexpr double kC = 128, kR = 122;
constexpr double kBandTop = 70, kBandBottom = 186;  // the text runs within about 56 px of the centre
}  // namespace

void TestCard(cairo_t* cr, int) {
    cairo_save(cr);
    kit::Circle(cr, kC, kC, kR);
    cairo_clip(cr);
    // Colour bars.
    static constexpr Rgb kBars[] = {Hex(0xF2F2F2), Hex(0xF2F200), Hex(0x00F2F2), Hex(0x00F200),
                                    Hex(0xF200F2), Hex(0xF20000), Hex(0x0000F2)};
    const double barW = 2 * kR / 7.0;
    for (int i = 0; i < 7; ++i) {
        cairo_rectangle(cr, kC - kR + i * barW, 0, barW + 0.5, kBandTop);
        kit::SetColour(cr, kBars[i]);
        cairo_fill(cr);
    }
    // The text band.
    cairo_rectangle(cr, 0, kBandTop, 256, kBandBottom - kBandTop);
    kit::FillVertical(cr, kBandTop, Hex(0x161A30), kBandBottom, Hex(0x0C0E1C));
    cairo_new_path(cr);
    // Grey steps, then gratings getting finer from left to right.
    const double stepW = 2 * kR / 6.0;
    for (int i = 0; i < 6; ++i) {
        cairo_rectangle(cr, kC - kR + i * stepW, kBandBottom, stepW + 0.5, 28);
        double v = i / 5.0;
        cairo_set_source_rgb(cr, v, v, v);
        cairo_fill(cr);
    }
    cairo_rectangle(cr, 0, kBandBottom + 28, 256, 60);
    kit::SetColour(cr, pal::kWhite);
    cairo_fill(cr);
    static constexpr double kPitch[] = {8, 6, 4, 3};
    for (int section = 0; section < 4; ++section) {
        double x0 = kC - kR + section * (2 * kR / 4.0), x1 = x0 + 2 * kR / 4.0;
        for (double x = x0; x < x1 - 0.1; x += kPitch[section]) cairo_rectangle(cr, x, kBandBottom + 28, kPitch[section] / 2, 60);
        kit::SetColour(cr, Hex(0x101010));
        cairo_fill(cr);
    }
    // Band edges and centre marks at its ends, away from the text.
    cairo_rectangle(cr, 0, kBandTop, 256, 2.5);
    cairo_rectangle(cr, 0, kBandBottom - 2.5, 256, 2.5);
    kit::SetColour(cr, pal::kWhite);
    cairo_fill(cr);
    cairo_move_to(cr, kC - kR, kC);
    cairo_line_to(cr, kC - kR + 14, kC);
    cairo_move_to(cr, kC + kR - 14, kC);
    cairo_line_to(cr, kC + kR, kC);
    cairo_move_to(cr, kC, 0);
    cairo_line_to(cr, kC, kBandTop);
    kit::Outline(cr, 2, pal::kWhite, 0.9);
    cairo_restore(cr);
    // Rim.
    kit::Circle(cr, kC, kC, kR);
    kit::Outline(cr, 6, pal::kInk);
    kit::Circle(cr, kC, kC, kR);
    kit::Outline(cr, 3, pal::kWhite);
}

}  // namespace art
