#include "tools/assetgen/draw_kit.h"

#include <cmath>

#include "tools/assetgen/pixel_font.h"

namespace kit {

void SetColour(cairo_t* cr, Rgb c, double alpha) { cairo_set_source_rgba(cr, c.r, c.g, c.b, alpha); }
Rgb Lighter(Rgb c, double amount) { return Mix(c, pal::kWhite, amount); }
Rgb Darker(Rgb c, double amount) { return Mix(c, Rgb{0, 0, 0}, amount); }

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    cairo_new_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, Rad(-90), 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, Rad(90));
    cairo_arc(cr, x + r, y + h - r, r, Rad(90), Rad(180));
    cairo_arc(cr, x + r, y + r, r, Rad(180), Rad(270));
    cairo_close_path(cr);
}

void Circle(cairo_t* cr, double cx, double cy, double r) {
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    cairo_close_path(cr);
}

void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry) {
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_close_path(cr);
    cairo_restore(cr);
}

void Star(cairo_t* cr, double cx, double cy, double outer, double inner, int points, double turn) {
    cairo_new_path(cr);
    for (int i = 0; i < points * 2; ++i) {
        double r = (i % 2 == 0) ? outer : inner;
        double a = Rad(turn + i * 180.0 / points);
        double x = cx + r * std::sin(a), y = cy - r * std::cos(a);
        if (i == 0)
            cairo_move_to(cr, x, y);
        else
            cairo_line_to(cr, x, y);
    }
    cairo_close_path(cr);
}

void HeartShape(cairo_t* cr, double cx, double cy, double w) {
    // Two lobes and a point; (cx, cy) is the middle of the heart's box.
    double h = w * 0.9, top = cy - h * 0.5, bottom = cy + h * 0.5;
    cairo_new_path(cr);
    cairo_move_to(cr, cx, bottom);
    cairo_curve_to(cr, cx - w * 0.18, bottom - h * 0.18, cx - w * 0.5, top + h * 0.55, cx - w * 0.5,
                   top + h * 0.3);
    cairo_curve_to(cr, cx - w * 0.5, top + h * 0.06, cx - w * 0.3, top - h * 0.02, cx - w * 0.22, top);
    cairo_curve_to(cr, cx - w * 0.1, top, cx - w * 0.02, top + h * 0.08, cx, top + h * 0.22);
    cairo_curve_to(cr, cx + w * 0.02, top + h * 0.08, cx + w * 0.1, top, cx + w * 0.22, top);
    cairo_curve_to(cr, cx + w * 0.3, top - h * 0.02, cx + w * 0.5, top + h * 0.06, cx + w * 0.5,
                   top + h * 0.3);
    cairo_curve_to(cr, cx + w * 0.5, top + h * 0.55, cx + w * 0.18, bottom - h * 0.18, cx, bottom);
    cairo_close_path(cr);
}

void Polygon(cairo_t* cr, const double* xy, int points) {
    cairo_new_path(cr);
    for (int i = 0; i < points; ++i) {
        if (i == 0)
            cairo_move_to(cr, xy[0], xy[1]);
        else
            cairo_line_to(cr, xy[2 * i], xy[2 * i + 1]);
    }
    cairo_close_path(cr);
}

void FillVertical(cairo_t* cr, double y0, Rgb top, double y1, Rgb bottom, double alpha) {
    cairo_pattern_t* g = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgba(g, 0, top.r, top.g, top.b, alpha);
    cairo_pattern_add_color_stop_rgba(g, 1, bottom.r, bottom.g, bottom.b, alpha);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
}

void Outline(cairo_t* cr, double width, Rgb colour, double alpha) {
    SetColour(cr, colour, alpha);
    cairo_set_line_width(cr, width);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_stroke(cr);
}

void Coin(cairo_t* cr, double cx, double cy, double r) {
    Circle(cr, cx, cy, r);
    cairo_pattern_t* g = cairo_pattern_create_radial(cx - r * 0.35, cy - r * 0.4, r * 0.1, cx, cy, r);
    cairo_pattern_add_color_stop_rgb(g, 0, pal::kGoldLight.r, pal::kGoldLight.g, pal::kGoldLight.b);
    cairo_pattern_add_color_stop_rgb(g, 0.55, pal::kGold.r, pal::kGold.g, pal::kGold.b);
    cairo_pattern_add_color_stop_rgb(g, 1, pal::kGoldDark.r, pal::kGoldDark.g, pal::kGoldDark.b);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    Outline(cr, r * 0.12);
    // Raised rim and an embossed star, lit from the top left.
    Circle(cr, cx, cy, r * 0.72);
    Outline(cr, r * 0.1, pal::kGoldDark, 0.8);
    Star(cr, cx + r * 0.05, cy + r * 0.07, r * 0.48, r * 0.2, 5);
    SetColour(cr, pal::kGoldDark, 0.9);
    cairo_fill(cr);
    Star(cr, cx - r * 0.02, cy - r * 0.02, r * 0.46, r * 0.19, 5);
    SetColour(cr, pal::kGoldLight);
    cairo_fill(cr);
    // Shine.
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r * 0.86, Rad(200), Rad(250));
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    SetColour(cr, pal::kWhite, 0.85);
    cairo_set_line_width(cr, r * 0.12);
    cairo_stroke(cr);
}

void Heart(cairo_t* cr, double cx, double cy, double w, Rgb fill) {
    HeartShape(cr, cx, cy, w);
    FillVertical(cr, cy - w * 0.45, Lighter(fill, 0.15), cy + w * 0.45, Darker(fill, 0.25));
    Outline(cr, w * 0.08);
    // A glossy highlight on the left lobe.
    Ellipse(cr, cx - w * 0.24, cy - w * 0.17, w * 0.1, w * 0.065);
    SetColour(cr, pal::kWhite, 0.85);
    cairo_fill(cr);
}

void Eyes(cairo_t* cr, double cx, double cy, double radius, double look) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, Rad(look));
    for (int side = -1; side <= 1; side += 2) {
        double ex = side * radius * 0.34, ey = -radius * 0.3;
        Ellipse(cr, ex, ey, radius * 0.28, radius * 0.34);
        SetColour(cr, pal::kWhite);
        cairo_fill_preserve(cr);
        Outline(cr, radius * 0.05, pal::kInkSoft, 0.6);
        Circle(cr, ex, ey - radius * 0.15, radius * 0.15);
        SetColour(cr, pal::kInk);
        cairo_fill(cr);
        Circle(cr, ex - radius * 0.05, ey - radius * 0.2, radius * 0.05);
        SetColour(cr, pal::kWhite);
        cairo_fill(cr);
    }
    cairo_restore(cr);
}

void Ball(cairo_t* cr, double cx, double cy, double r, double look) {
    Circle(cr, cx, cy, r);
    cairo_pattern_t* g = cairo_pattern_create_radial(cx - r * 0.4, cy - r * 0.45, r * 0.05, cx, cy, r);
    cairo_pattern_add_color_stop_rgb(g, 0, 0.32, 0.34, 0.42);
    cairo_pattern_add_color_stop_rgb(g, 0.45, pal::kBall.r, pal::kBall.g, pal::kBall.b);
    cairo_pattern_add_color_stop_rgb(g, 1, 0, 0, 0);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    Eyes(cr, cx, cy, r, look);
}

namespace {
// The face pattern that tells the nine blocks apart, in a darker tone.
void BlockPattern(cairo_t* cr, double x, double y, double s, int variant) {
    double c = s * 0.5, m = s * 0.26;  // centre and inner margin
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, s * 0.08);
    switch (variant) {
        case 0:  // a cross of rivets
            for (int i = -1; i <= 1; ++i) {
                Circle(cr, x + c + i * s * 0.17, y + c, s * 0.055);
                cairo_fill(cr);
                if (i != 0) {
                    Circle(cr, x + c, y + c + i * s * 0.17, s * 0.055);
                    cairo_fill(cr);
                }
            }
            break;
        case 1:  // hazard stripes
            cairo_save(cr);
            cairo_rectangle(cr, x + m, y + m, s - 2 * m, s - 2 * m);
            cairo_clip(cr);
            for (int i = -3; i <= 3; ++i) {
                cairo_move_to(cr, x + c + i * s * 0.16 - s * 0.3, y + c + s * 0.3);
                cairo_line_to(cr, x + c + i * s * 0.16 + s * 0.3, y + c - s * 0.3);
            }
            cairo_set_line_width(cr, s * 0.07);
            cairo_stroke(cr);
            cairo_restore(cr);
            break;
        case 2:  // an X
            cairo_move_to(cr, x + m, y + m);
            cairo_line_to(cr, x + s - m, y + s - m);
            cairo_move_to(cr, x + s - m, y + m);
            cairo_line_to(cr, x + m, y + s - m);
            cairo_stroke(cr);
            break;
        case 3: {  // a diamond
            double d[] = {x + c, y + m * 0.9, x + s - m * 0.9, y + c, x + c, y + s - m * 0.9, x + m * 0.9, y + c};
            Polygon(cr, d, 4);
            cairo_stroke(cr);
            break;
        }
        case 4:  // grooves
            for (int i = -1; i <= 1; ++i) {
                cairo_move_to(cr, x + m, y + c + i * s * 0.15);
                cairo_line_to(cr, x + s - m, y + c + i * s * 0.15);
            }
            cairo_stroke(cr);
            break;
        case 5:  // studs
            for (int i = -1; i <= 1; ++i)
                for (int j = -1; j <= 1; ++j) {
                    Circle(cr, x + c + i * s * 0.16, y + c + j * s * 0.16, s * 0.045);
                    cairo_fill(cr);
                }
            break;
        case 6:  // chevrons
            for (int i = 0; i < 2; ++i) {
                double yy = y + c - s * 0.02 + i * s * 0.17;
                cairo_move_to(cr, x + m, yy + s * 0.08);
                cairo_line_to(cr, x + c, yy - s * 0.1);
                cairo_line_to(cr, x + s - m, yy + s * 0.08);
            }
            cairo_stroke(cr);
            break;
        case 7:  // an inset square
            RoundedRect(cr, x + m, y + m, s - 2 * m, s - 2 * m, s * 0.05);
            cairo_stroke(cr);
            RoundedRect(cr, x + c - s * 0.07, y + c - s * 0.07, s * 0.14, s * 0.14, s * 0.02);
            cairo_fill(cr);
            break;
        default:  // a ring
            Circle(cr, x + c, y + c, s * 0.2);
            cairo_stroke(cr);
            Circle(cr, x + c, y + c, s * 0.05);
            cairo_fill(cr);
            break;
    }
}
}  // namespace

void Block(cairo_t* cr, double x, double y, double s, int variant, double crack) {
    Rgb base = pal::kBlocks[variant % 9];
    double inset = s * 0.04, r = s * 0.16;
    RoundedRect(cr, x + inset, y + inset, s - 2 * inset, s - 2 * inset, r);
    FillVertical(cr, y, Lighter(base, 0.18), y + s, Darker(base, 0.18));
    // Bevel: light top-left edge, dark bottom-right edge, inside the body.
    cairo_save(cr);
    cairo_clip_preserve(cr);
    cairo_set_line_width(cr, s * 0.14);
    cairo_new_path(cr);
    cairo_move_to(cr, x, y + s);
    cairo_line_to(cr, x, y);
    cairo_line_to(cr, x + s, y);
    SetColour(cr, pal::kWhite, 0.42);
    cairo_stroke(cr);
    cairo_move_to(cr, x + s, y);
    cairo_line_to(cr, x + s, y + s);
    cairo_line_to(cr, x, y + s);
    SetColour(cr, Darker(base, 0.55), 0.5);
    cairo_stroke(cr);
    cairo_restore(cr);
    RoundedRect(cr, x + inset, y + inset, s - 2 * inset, s - 2 * inset, r);
    Outline(cr, s * 0.06);
    // Corner bolts every block shares, then the variant's face.
    SetColour(cr, Darker(base, 0.45), 0.85);
    for (int i = 0; i < 4; ++i) {
        Circle(cr, x + s * (i % 2 ? 0.79 : 0.21), y + s * (i / 2 ? 0.79 : 0.21), s * 0.045);
        cairo_fill(cr);
    }
    SetColour(cr, Darker(base, 0.38), 0.8);
    BlockPattern(cr, x, y + s * 0.01, s, variant % 9);
    SetColour(cr, Lighter(base, 0.35), 0.55);
    cairo_save(cr);
    cairo_translate(cr, -s * 0.02, -s * 0.03);
    BlockPattern(cr, x, y, s, variant % 9);
    cairo_restore(cr);
    if (crack > 0) {
        cairo_set_line_width(cr, s * 0.045);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_move_to(cr, x + s * 0.18, y + s * 0.08);
        cairo_line_to(cr, x + s * 0.36, y + s * 0.34);
        cairo_line_to(cr, x + s * 0.3, y + s * 0.52);
        cairo_line_to(cr, x + s * 0.5, y + s * 0.7);
        cairo_move_to(cr, x + s * 0.36, y + s * 0.34);
        cairo_line_to(cr, x + s * 0.6, y + s * 0.4);
        cairo_line_to(cr, x + s * 0.82, y + s * 0.3);
        SetColour(cr, pal::kInk, 0.75 * crack);
        cairo_stroke(cr);
    }
}

void Cloud(cairo_t* cr, double cx, double cy, double w, double alpha) {
    // Puffs as (dx, dy, r) in units of the cloud's width.
    static constexpr double kPuffs[][3] = {
        {-0.30, 0.06, 0.17}, {-0.12, -0.08, 0.22}, {0.10, -0.13, 0.25},
        {0.30, 0.0, 0.18},   {0.0, 0.08, 0.2},     {0.40, 0.1, 0.11},
    };
    cairo_push_group(cr);
    for (const auto& p : kPuffs) {
        double px = cx + p[0] * w, py = cy + p[1] * w, r = p[2] * w;
        Circle(cr, px, py, r);
        cairo_pattern_t* g = cairo_pattern_create_linear(0, py - r, 0, py + r);
        cairo_pattern_add_color_stop_rgb(g, 0, 1, 1, 1);
        cairo_pattern_add_color_stop_rgb(g, 0.55, 1, 1, 1);
        cairo_pattern_add_color_stop_rgb(g, 1, pal::kCloudShade.r, pal::kCloudShade.g, pal::kCloudShade.b);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
    }
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, alpha);
}

void PixelText(cairo_t* cr, std::string_view text, double x, double y, double px, Rgb colour, double alpha) {
    cairo_new_path(cr);
    for (std::size_t i = 0; i < text.size(); ++i) {
        int code = static_cast<unsigned char>(text[i]);
        double gx = x + static_cast<double>(i) * pixel_font::kAdvance * px;
        for (int row = 0; row < pixel_font::kGlyphHeight; ++row)
            for (int col = 0; col < pixel_font::kGlyphWidth; ++col)
                if (pixel_font::Ink(code, col, row)) cairo_rectangle(cr, gx + col * px, y + row * px, px, px);
    }
    SetColour(cr, colour, alpha);
    cairo_fill(cr);
}

double PixelTextWidth(std::string_view text, double px) {
    if (text.empty()) return 0;
    return ((static_cast<double>(text.size()) - 1) * pixel_font::kAdvance + pixel_font::kGlyphWidth) * px;
}

}  // namespace kit
