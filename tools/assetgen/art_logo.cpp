// The title logo ("Sol Brim" in chunky rounded letters, the o being the
// ball with its eyes, beside a small sun) and the maker's emblem.
#include <cmath>

#include "tools/assetgen/art.h"
#include "tools/assetgen/draw_kit.h"

namespace art {
namespace {

constexpr double kCap = 46;              // cap height in logical pixels
constexpr double kStroke = kCap * 0.22;  // letter stroke width
constexpr double kOutline = 3.2;         // ink around each stroke

struct Pen {
    cairo_t* cr;
    double x, baseline;
    void Move(double u, double v) { cairo_move_to(cr, x + u * kCap, baseline + v * kCap); }
    void Line(double u, double v) { cairo_line_to(cr, x + u * kCap, baseline + v * kCap); }
    void Curve(double u1, double v1, double u2, double v2, double u3, double v3) {
        cairo_curve_to(cr, x + u1 * kCap, baseline + v1 * kCap, x + u2 * kCap, baseline + v2 * kCap,
                       x + u3 * kCap, baseline + v3 * kCap);
    }
    void Dot(double u, double v) {
        Move(u, v);
        Line(u, v);
    }
};

// Letters as centre-line strokes in cap-height units (y up is negative);
// each returns its advance.
double LetterS(Pen& p) {
    p.Move(0.78, -0.84);
    p.Curve(0.66, -1.0, 0.16, -1.02, 0.13, -0.75);
    p.Curve(0.1, -0.5, 0.78, -0.54, 0.8, -0.27);
    p.Curve(0.82, 0.02, 0.2, 0.05, 0.06, -0.16);
    return 0.98;
}
double LetterL(Pen& p) {
    p.Move(0.1, -1.02);
    p.Line(0.1, -0.2);
    p.Curve(0.1, -0.02, 0.2, 0.0, 0.34, -0.04);
    return 0.48;
}
double LetterB(Pen& p) {
    p.Move(0.05, 0.0);
    p.Line(0.05, -1.0);
    p.Line(0.42, -1.0);
    p.Curve(0.8, -1.0, 0.8, -0.53, 0.42, -0.53);
    p.Line(0.05, -0.53);
    p.Move(0.42, -0.53);
    p.Curve(0.9, -0.53, 0.9, 0.0, 0.42, 0.0);
    p.Line(0.05, 0.0);
    return 0.98;
}
double LetterR(Pen& p) {
    p.Move(0.05, 0.0);
    p.Line(0.05, -0.68);
    p.Move(0.05, -0.38);
    p.Curve(0.1, -0.64, 0.32, -0.73, 0.52, -0.64);
    return 0.68;
}
double LetterI(Pen& p) {
    p.Move(0.05, 0.0);
    p.Line(0.05, -0.66);
    p.Dot(0.05, -0.98);
    return 0.4;
}
double LetterM(Pen& p) {
    p.Move(0.05, 0.0);
    p.Line(0.05, -0.68);
    p.Move(0.05, -0.44);
    p.Curve(0.1, -0.72, 0.46, -0.76, 0.46, -0.44);
    p.Line(0.46, 0.0);
    p.Move(0.46, -0.44);
    p.Curve(0.51, -0.72, 0.87, -0.76, 0.87, -0.44);
    p.Line(0.87, 0.0);
    return 1.0;
}

constexpr double kRow1X = 26, kRow1Base = 56.5;
constexpr double kRow2X = 98, kRow2Base = 115.5;
constexpr double kBallR = 0.36 * kCap;

// "S", "l" of the first row and "Brim" of the second; the ball stands in
// for the "o" between S and l. Returns the ball's centre x.
double LetterStrokes(cairo_t* cr, int row) {
    cairo_new_path(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    double ballX = 0;
    if (row == 0) {
        Pen p{cr, kRow1X, kRow1Base};
        p.x += LetterS(p) * kCap;
        ballX = p.x + kBallR;
        p.x += 2 * kBallR + 0.14 * kCap;
        LetterL(p);
    } else {
        Pen p{cr, kRow2X, kRow2Base};
        p.x += LetterB(p) * kCap;
        p.x += LetterR(p) * kCap;
        p.x += LetterI(p) * kCap;
        LetterM(p);
    }
    return ballX;
}

double BallX() {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    cairo_t* cr = cairo_create(s);
    double x = LetterStrokes(cr, 0);
    cairo_destroy(cr);
    cairo_surface_destroy(s);
    return x;
}

void Sun(cairo_t* cr, double cx, double cy, double r) {
    for (int i = 0; i < 12; ++i) {
        double a = kit::Rad(i * 30 + 15);
        const double ray[] = {cx + (r + 3) * std::sin(a - 0.16), cy - (r + 3) * std::cos(a - 0.16),
                              cx + (r + 13) * std::sin(a), cy - (r + 13) * std::cos(a),
                              cx + (r + 3) * std::sin(a + 0.16), cy - (r + 3) * std::cos(a + 0.16)};
        kit::Polygon(cr, ray, 3);
        kit::SetColour(cr, pal::kSun);
        cairo_fill_preserve(cr);
        kit::Outline(cr, 2);
    }
    kit::Circle(cr, cx, cy, r);
    cairo_pattern_t* g = cairo_pattern_create_radial(cx - r * 0.3, cy - r * 0.3, r * 0.1, cx, cy, r);
    cairo_pattern_add_color_stop_rgb(g, 0, 1, 0.97, 0.75);
    cairo_pattern_add_color_stop_rgb(g, 0.6, pal::kSun.r, pal::kSun.g, pal::kSun.b);
    cairo_pattern_add_color_stop_rgb(g, 1, pal::kSunDeep.r, pal::kSunDeep.g, pal::kSunDeep.b);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    kit::Outline(cr, 2.5);
}

void LettersLayer(cairo_t* cr, double ballX, double dx, double dy, Rgb colour, double alpha) {
    cairo_save(cr);
    cairo_translate(cr, dx, dy);
    for (int row = 0; row < 2; ++row) {
        LetterStrokes(cr, row);
        kit::SetColour(cr, colour, alpha);
        cairo_set_line_width(cr, kStroke + 2 * kOutline);
        cairo_stroke(cr);
    }
    kit::Circle(cr, ballX, kRow1Base - kBallR + 0.02 * kCap, kBallR + kOutline);
    kit::SetColour(cr, colour, alpha);
    cairo_fill(cr);
    cairo_restore(cr);
}

void LetterFaces(cairo_t* cr) {
    for (int row = 0; row < 2; ++row) {
        double base = row == 0 ? kRow1Base : kRow2Base;
        cairo_push_group(cr);
        LetterStrokes(cr, row);
        cairo_pattern_t* g = cairo_pattern_create_linear(0, base - kCap, 0, base);
        cairo_pattern_add_color_stop_rgb(g, 0, 1.0, 0.95, 0.62);
        cairo_pattern_add_color_stop_rgb(g, 0.45, pal::kSun.r, pal::kSun.g, pal::kSun.b);
        cairo_pattern_add_color_stop_rgb(g, 1, pal::kSunDeep.r, pal::kSunDeep.g, pal::kSunDeep.b);
        cairo_set_source(cr, g);
        cairo_set_line_width(cr, kStroke);
        cairo_stroke(cr);
        cairo_pattern_destroy(g);
        // A glossy streak along each stroke, kept inside the letters.
        cairo_set_operator(cr, CAIRO_OPERATOR_ATOP);
        cairo_translate(cr, -1.2, -1.6);
        LetterStrokes(cr, row);
        kit::SetColour(cr, pal::kWhite, 0.55);
        cairo_set_line_width(cr, kStroke * 0.3);
        cairo_stroke(cr);
        cairo_pop_group_to_source(cr);
        cairo_paint(cr);
    }
}

}  // namespace

void TitleLogo(cairo_t* cr, int) {
    const double ballX = BallX();
    Sun(cr, 196, 36, 22);
    LettersLayer(cr, ballX, 2.5, 3.5, pal::kInk, 0.4);  // drop shadow
    LettersLayer(cr, ballX, 0, 0, pal::kInk, 1.0);      // outline
    LetterFaces(cr);
    kit::Ball(cr, ballX, kRow1Base - kBallR + 0.02 * kCap, kBallR, 90);
}

void MakerEmblem(cairo_t* cr, int) {
    // Kept within a radius of 80 so that at half size, as the credits
    // button in the title's corner, it stays on screen, and on the loading
    // screen the ring of dots circles outside it.
    const double c = 128;
    for (int i = 0; i < 20; ++i) {
        double a = kit::Rad(i * 18);
        const double tooth[] = {c + 68 * std::sin(a - 0.09), c - 68 * std::cos(a - 0.09),
                                c + 79 * std::sin(a - 0.045), c - 79 * std::cos(a - 0.045),
                                c + 79 * std::sin(a + 0.045), c - 79 * std::cos(a + 0.045),
                                c + 68 * std::sin(a + 0.09), c - 68 * std::cos(a + 0.09)};
        kit::Polygon(cr, tooth, 4);
        kit::SetColour(cr, pal::kGold);
        cairo_fill_preserve(cr);
        kit::Outline(cr, 2.2);
    }
    kit::Circle(cr, c, c, 70);
    kit::FillVertical(cr, c - 70, pal::kGoldLight, c + 70, pal::kGoldDark);
    kit::Outline(cr, 2.6);
    kit::Circle(cr, c, c, 62);
    cairo_pattern_t* g = cairo_pattern_create_radial(c, c - 22, 6, c, c, 62);
    cairo_pattern_add_color_stop_rgb(g, 0, 0.2, 0.24, 0.45);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.06, 0.07, 0.16);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    kit::Outline(cr, 2.6);
    // Inside: a sun rising between two peaks, three stars above.
    cairo_save(cr);
    kit::Circle(cr, c, c, 61);
    cairo_clip(cr);
    kit::Circle(cr, c + 2, c + 14, 26);
    kit::FillVertical(cr, c - 12, pal::kSun, c + 40, pal::kSunDeep);
    cairo_new_path(cr);
    const double far[] = {c - 8, c + 70, c + 30, c - 14, c + 70, c + 40, c + 70, c + 70};
    kit::Polygon(cr, far, 4);
    kit::FillVertical(cr, c - 14, pal::kSkyLight, c + 60, Hex(0x6F8FCF));
    kit::Outline(cr, 2.4);
    const double near[] = {c - 70, c + 42, c - 26, c - 4, c + 16, c + 70, c - 70, c + 70};
    kit::Polygon(cr, near, 4);
    kit::FillVertical(cr, c - 4, pal::kWhite, c + 60, pal::kMist);
    kit::Outline(cr, 2.4);
    cairo_restore(cr);
    const double stars[][3] = {{c - 30, c - 30, 6.5}, {c - 4, c - 44, 4.5}, {c + 28, c - 32, 5}};
    for (const auto& s : stars) {
        kit::Star(cr, s[0], s[1], s[2], s[2] * 0.32, 4);
        kit::SetColour(cr, pal::kWhite);
        cairo_fill(cr);
    }
}

}  // namespace art
