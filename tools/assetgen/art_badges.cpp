// Badge pictures: 64 medals, each a distinct pairing of a shape (frame
// modulo 8) and an emblem (frame divided by 8), so no two look alike.
// Frame 0 belongs to the test badge: a rosette with a tick.
#include <cmath>
#include <string>

#include "tools/assetgen/art.h"
#include "tools/assetgen/draw_kit.h"

namespace art {
namespace {

constexpr Rgb kMetals[8] = {
    pal::kGold, Hex(0xC9D1E3), Hex(0xD98A4E), pal::kGrass,
    pal::kBlue, pal::kViolet,  pal::kPink,    pal::kTeal,
};

constexpr double kCx = 32, kCy = 30;

void Ribbons(cairo_t* cr, Rgb colour) {
    for (int side = -1; side <= 1; side += 2) {
        const double tail[] = {kCx + side * 4, kCy + 10, kCx + side * 16, kCy + 12,
                               kCx + side * 19, 61, kCx + side * 13, 56, kCx + side * 8, 60};
        kit::Polygon(cr, tail, 5);
        kit::FillVertical(cr, kCy, kit::Lighter(colour, 0.1), 62, kit::Darker(colour, 0.3));
        kit::Outline(cr, 2);
    }
}

void ShapePath(cairo_t* cr, int shape) {
    switch (shape) {
        case 0: kit::Circle(cr, kCx, kCy, 21); break;
        case 1:
            cairo_new_path(cr);
            cairo_move_to(cr, kCx, 6);
            cairo_curve_to(cr, kCx + 10, 11, kCx + 18, 10, kCx + 23, 9);
            cairo_curve_to(cr, kCx + 24, 30, kCx + 18, 47, kCx, 57);
            cairo_curve_to(cr, kCx - 18, 47, kCx - 24, 30, kCx - 23, 9);
            cairo_curve_to(cr, kCx - 18, 10, kCx - 10, 11, kCx, 6);
            cairo_close_path(cr);
            break;
        case 2: kit::Star(cr, kCx, kCy + 2, 28, 21, 10); break;
        case 3: kit::Star(cr, kCx, kCy + 2, 26, 26, 3, 30); break;  // hexagon
        case 4: kit::Star(cr, kCx, kCy + 2, 28, 28 * std::cos(kit::Rad(45)), 2); break;  // diamond
        case 5: kit::Star(cr, kCx, kCy + 2, 26, 26, 4, 22.5); break;  // octagon
        case 6: {  // rosette
            cairo_new_path(cr);
            for (int i = 0; i < 16; ++i) {
                double a = kit::Rad(i * 22.5);
                cairo_arc(cr, kCx + 21 * std::sin(a), kCy - 21 * std::cos(a), 5.5, 0, 2 * kit::kPi);
                cairo_close_path(cr);
                cairo_new_sub_path(cr);
            }
            cairo_arc(cr, kCx, kCy, 22, 0, 2 * kit::kPi);
            cairo_close_path(cr);
            break;
        }
        default: kit::RoundedRect(cr, 9, 7, 46, 48, 10); break;
    }
}

void Body(cairo_t* cr, int shape, Rgb metal) {
    if (shape == 0 || shape == 6) Ribbons(cr, shape == 0 ? pal::kBlue : pal::kBrick);
    // Outline first and the face over it, so shapes built from overlapping
    // pieces (the rosette) show only their outer edge.
    ShapePath(cr, shape);
    kit::Outline(cr, 5.2);
    ShapePath(cr, shape);
    kit::FillVertical(cr, 4, kit::Lighter(metal, 0.35), 58, kit::Darker(metal, 0.3));
    cairo_save(cr);
    cairo_clip(cr);
    // Inner face, slightly darker, framed by a light ring.
    kit::Circle(cr, kCx, kCy + 1, 15);
    kit::SetColour(cr, kit::Darker(metal, 0.12));
    cairo_fill_preserve(cr);
    kit::Outline(cr, 2, kit::Lighter(metal, 0.55));
    cairo_restore(cr);
}

void Bolt(cairo_t* cr) {
    const double bolt[] = {kCx + 3, kCy - 12, kCx - 7, kCy + 2, kCx - 1, kCy + 2,
                           kCx - 4, kCy + 13, kCx + 7, kCy - 2, kCx + 1, kCy - 2};
    kit::Polygon(cr, bolt, 6);
    kit::FillVertical(cr, kCy - 12, pal::kGoldLight, kCy + 13, pal::kSunDeep);
    kit::Outline(cr, 1.6);
}

void Crown(cairo_t* cr) {
    const double crown[] = {kCx - 11, kCy + 8, kCx - 12, kCy - 6, kCx - 5, kCy + 0, kCx, kCy - 9,
                            kCx + 5,  kCy + 0, kCx + 12, kCy - 6, kCx + 11, kCy + 8};
    kit::Polygon(cr, crown, 7);
    kit::FillVertical(cr, kCy - 9, pal::kGoldLight, kCy + 8, pal::kGoldDark);
    kit::Outline(cr, 1.6);
    kit::Circle(cr, kCx, kCy + 3, 2.2);
    kit::SetColour(cr, pal::kHeart);
    cairo_fill(cr);
}

void Tick(cairo_t* cr) {
    cairo_move_to(cr, kCx - 9, kCy + 1);
    cairo_line_to(cr, kCx - 3, kCy + 7);
    cairo_line_to(cr, kCx + 9, kCy - 7);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    kit::Outline(cr, 6.5);
    cairo_move_to(cr, kCx - 9, kCy + 1);
    cairo_line_to(cr, kCx - 3, kCy + 7);
    cairo_line_to(cr, kCx + 9, kCy - 7);
    kit::Outline(cr, 3.5, pal::kWhite);
}

void Emblem(cairo_t* cr, int emblem, int frame) {
    switch (emblem) {
        case 0:
            kit::Star(cr, kCx, kCy + 1.5, 12, 5, 5);
            kit::SetColour(cr, pal::kWhite);
            cairo_fill_preserve(cr);
            kit::Outline(cr, 1.6);
            break;
        case 1: kit::Heart(cr, kCx, kCy + 1, 21); break;
        case 2: kit::Coin(cr, kCx, kCy + 1, 11); break;
        case 3: kit::Ball(cr, kCx, kCy + 1, 11, 20); break;
        case 4: kit::Block(cr, kCx - 10, kCy - 9, 20, frame % 9); break;
        case 5: Bolt(cr); break;
        case 6: Crown(cr); break;
        default: {
            std::string n = std::to_string(frame);
            double w = kit::PixelTextWidth(n, 2);
            double x = std::round(kCx - w / 2), y = kCy - 7;
            kit::PixelText(cr, n, x + 1, y + 1, 2, pal::kInk, 0.8);
            kit::PixelText(cr, n, x, y, 2, pal::kWhite);
            break;
        }
    }
}

}  // namespace

void Badge(cairo_t* cr, int frame) {
    if (frame == 0) {
        Body(cr, 6, pal::kGold);
        Tick(cr);
        return;
    }
    int shape = frame % 8, emblem = frame / 8;
    Body(cr, shape, kMetals[(shape + emblem) % 8]);
    Emblem(cr, emblem, frame);
}

}  // namespace art
