// World tiles and play sprites: the coin, the nine hazard blocks, the
// eyes over the ball, the heart and the particle sprites.
#include <cmath>

#include "tools/assetgen/art.h"
#include "tools/assetgen/draw_kit.h"

namespace art {
namespace {

constexpr int kCoinFrame = 0;
constexpr int kFirstBlockFrame = 10;
constexpr int kWallFrame = 19;
constexpr int kFirstCrackedFrame = 20;

// A white glow centred in an 8 x 8 frame: opaque in the middle, `midAlpha`
// at `midStop` of the radius, clear at the radius.
void WhiteGlow(cairo_t* cr, double radius, double midStop, double midAlpha) {
    cairo_pattern_t* g = cairo_pattern_create_radial(4, 4, 0, 4, 4, radius);
    cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 1, 1);
    cairo_pattern_add_color_stop_rgba(g, midStop, 1, 1, 1, midAlpha);
    cairo_pattern_add_color_stop_rgba(g, 1, 1, 1, 1, 0);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
}

void Gem(cairo_t* cr, Rgb colour) {
    const double body[] = {7, 13, 12, 7, 20, 7, 25, 13, 16, 26};
    kit::Polygon(cr, body, 5);
    kit::FillVertical(cr, 7, kit::Lighter(colour, 0.35), 26, kit::Darker(colour, 0.3));
    kit::Outline(cr, 1.5);
    // Facets.
    cairo_move_to(cr, 7.5, 13);
    cairo_line_to(cr, 24.5, 13);
    cairo_move_to(cr, 12, 7.5);
    cairo_line_to(cr, 14, 13);
    cairo_line_to(cr, 16, 25);
    cairo_move_to(cr, 20, 7.5);
    cairo_line_to(cr, 18, 13);
    cairo_line_to(cr, 16, 25);
    kit::Outline(cr, 0.8, pal::kWhite, 0.6);
    const double shine[] = {12.5, 8.5, 14.5, 8.5, 13.3, 12};
    kit::Polygon(cr, shine, 3);
    kit::SetColour(cr, pal::kWhite, 0.8);
    cairo_fill(cr);
}

void StarPickup(cairo_t* cr) {
    kit::Star(cr, 16, 17, 13, 5.6, 5);
    kit::FillVertical(cr, 4, pal::kGoldLight, 30, pal::kSunDeep);
    kit::Outline(cr, 1.6);
    kit::Ellipse(cr, 12.5, 13, 2, 1.3);
    kit::SetColour(cr, pal::kWhite, 0.8);
    cairo_fill(cr);
}

void WallTile(cairo_t* cr) {
    // The walls are drawn as red squares by the game; this tile matches
    // them for any future use: red with dark hazard stripes.
    kit::RoundedRect(cr, 0.5, 0.5, 31, 31, 3);
    kit::SetColour(cr, Hex(0xFF0000));
    cairo_fill_preserve(cr);
    cairo_save(cr);
    cairo_clip_preserve(cr);
    for (int i = -2; i <= 3; ++i) {
        double x = i * 12.0;
        const double stripe[] = {x, 32, x + 6, 32, x + 38, 0, x + 32, 0};
        kit::Polygon(cr, stripe, 4);
        kit::SetColour(cr, Hex(0x8A0010), 0.55);
        cairo_fill(cr);
    }
    cairo_restore(cr);
    kit::RoundedRect(cr, 0.5, 0.5, 31, 31, 3);
    kit::Outline(cr, 1.5);
}

}  // namespace

void WorldTile(cairo_t* cr, int frame) {
    if (frame == kCoinFrame) {
        kit::Coin(cr, 16, 16, 13.5);
    } else if (frame >= 1 && frame <= 4) {
        static constexpr Rgb kGems[] = {pal::kTeal, pal::kBlue, pal::kViolet, pal::kPink};
        Gem(cr, kGems[frame - 1]);
    } else if (frame == 5) {
        StarPickup(cr);
    } else if (frame == 6) {
        kit::Heart(cr, 16, 16.5, 24);
    } else if (frame >= kFirstBlockFrame && frame < kFirstBlockFrame + 9) {
        kit::Block(cr, 0, 0, 32, frame - kFirstBlockFrame);
    } else if (frame == kWallFrame) {
        WallTile(cr);
    } else if (frame >= kFirstCrackedFrame && frame < kFirstCrackedFrame + 9) {
        kit::Block(cr, 0, 0, 32, frame - kFirstCrackedFrame, 1.0);
    }
    // Frames 7..9 and 29..49 are spare and stay empty.
}

void EyesSprite(cairo_t* cr, int) {
    // Only the eyes: the game draws the black ball (radius 16) beneath and
    // turns this image with the ball's heading; unturned, they look up.
    kit::Eyes(cr, 16, 16, 16, 0);
}

void HeartSprite(cairo_t* cr, int) { kit::Heart(cr, 16, 16.5, 28); }

void Particle(cairo_t* cr, int frame) {
    // White (or lightly shaded) so the draw colour tints them; each has a
    // solid core so it reads even at one pixel.
    const Rgb w = pal::kWhite;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    switch (frame) {
        case 0: WhiteGlow(cr, 4, 0.45, 0.9); break;  // soft dot
        case 1: kit::Circle(cr, 4, 4, 3); kit::SetColour(cr, w); cairo_fill(cr); break;
        case 2: kit::Circle(cr, 4, 4, 2.6); kit::Outline(cr, 1.3, w); break;
        case 3: kit::Star(cr, 4, 4, 3.9, 0.9, 4); kit::SetColour(cr, w); cairo_fill(cr); break;
        case 4: kit::Star(cr, 4, 4.3, 3.8, 1.6, 5); kit::SetColour(cr, w); cairo_fill(cr); break;
        case 5:
            cairo_move_to(cr, 4, 1.2); cairo_line_to(cr, 4, 6.8);
            cairo_move_to(cr, 1.2, 4); cairo_line_to(cr, 6.8, 4);
            kit::Outline(cr, 1.8, w);
            break;
        case 6:
            cairo_move_to(cr, 1.6, 1.6); cairo_line_to(cr, 6.4, 6.4);
            cairo_move_to(cr, 6.4, 1.6); cairo_line_to(cr, 1.6, 6.4);
            kit::Outline(cr, 1.6, w);
            break;
        case 7: kit::RoundedRect(cr, 1.5, 1.5, 5, 5, 1); kit::SetColour(cr, w); cairo_fill(cr); break;
        case 8: {
            const double d[] = {4, 0.6, 7.4, 4, 4, 7.4, 0.6, 4};
            kit::Polygon(cr, d, 4);
            kit::SetColour(cr, w);
            cairo_fill(cr);
            break;
        }
        case 9: kit::HeartShape(cr, 4, 4.2, 7); kit::SetColour(cr, w); cairo_fill(cr); break;
        case 10: kit::Circle(cr, 4, 4, 3.3); kit::FillVertical(cr, 1, pal::kGoldLight, 7, pal::kGoldDark); break;
        case 11:
            kit::Circle(cr, 2.8, 4.6, 2.1); kit::SetColour(cr, pal::kPaper); cairo_fill(cr);
            kit::Circle(cr, 5.0, 3.4, 2.4); kit::SetColour(cr, pal::kPaper); cairo_fill(cr);
            kit::Circle(cr, 5.4, 5.4, 1.8); kit::SetColour(cr, pal::kMist); cairo_fill(cr);
            break;
        case 12: {
            const double t[] = {4, 0.8, 7.3, 6.8, 0.7, 6.8};
            kit::Polygon(cr, t, 3);
            kit::SetColour(cr, w);
            cairo_fill(cr);
            break;
        }
        case 13:
            cairo_move_to(cr, 4, 0.6);
            cairo_curve_to(cr, 5.5, 3, 6.8, 4.2, 6.8, 5.2);
            cairo_arc(cr, 4, 5.2, 2.8, 0, kit::kPi);
            cairo_curve_to(cr, 1.2, 4.2, 2.5, 3, 4, 0.6);
            kit::SetColour(cr, w);
            cairo_fill(cr);
            break;
        case 14: kit::Circle(cr, 4, 4, 1.7); kit::SetColour(cr, w); cairo_fill(cr); break;
        default: WhiteGlow(cr, 4.2, 0.3, 0.75); break;  // large glow
    }
}

}  // namespace art
