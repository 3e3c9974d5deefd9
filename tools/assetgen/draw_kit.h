// Shared vector drawing for the art: shapes, outlines and the recurring
// game pieces (coin, heart, ball with eyes, hazard block) so that every
// picture shows them the same way.
#pragma once
#include <cairo.h>

#include <string_view>

#include "tools/assetgen/palette.h"

namespace kit {
constexpr double kPi = 3.14159265358979323846;
inline double Rad(double degrees) { return degrees * kPi / 180.0; }

void SetColour(cairo_t* cr, Rgb c, double alpha = 1.0);
Rgb Lighter(Rgb c, double amount);  // towards white
Rgb Darker(Rgb c, double amount);   // towards black

// Paths (current path replaced).
void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double radius);
void Circle(cairo_t* cr, double cx, double cy, double r);
void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry);
void Star(cairo_t* cr, double cx, double cy, double outer, double inner, int points, double turnDegrees = 0);
void HeartShape(cairo_t* cr, double cx, double cy, double width);
void Polygon(cairo_t* cr, const double* xy, int points);

// Fills the current path with a vertical gradient and keeps the path.
void FillVertical(cairo_t* cr, double y0, Rgb top, double y1, Rgb bottom, double alpha = 1.0);
// Strokes the current path in ink and clears it.
void Outline(cairo_t* cr, double width, Rgb colour = pal::kInk, double alpha = 1.0);

// Game pieces, centred on (cx, cy).
void Coin(cairo_t* cr, double cx, double cy, double radius);
void Heart(cairo_t* cr, double cx, double cy, double width, Rgb fill = pal::kHeart);
// Eyes for a ball of `radius`; the pupils look towards `lookDegrees`
// (0 up, 90 right, clockwise on screen).
void Eyes(cairo_t* cr, double cx, double cy, double radius, double lookDegrees);
void Ball(cairo_t* cr, double cx, double cy, double radius, double lookDegrees);
// Hazard block `variant` 0..8 filling the square (x, y, size).
void Block(cairo_t* cr, double x, double y, double size, int variant, double crack = 0.0);
// A soft cloud made of overlapping puffs, about `width` across.
void Cloud(cairo_t* cr, double cx, double cy, double width, double alpha = 1.0);

// Pixel-font text drawn as squares of `pixel` logical pixels, top-left at
// (x, y); crisp at every level.
void PixelText(cairo_t* cr, std::string_view text, double x, double y, double pixel, Rgb colour,
               double alpha = 1.0);
double PixelTextWidth(std::string_view text, double pixel);
}  // namespace kit
