#include "tools/assetgen/app_icon.h"

#include <cairo.h>

#include <algorithm>

#include "tools/assetgen/draw_kit.h"
#include "tools/assetgen/image_asset.h"

namespace {

// The rounded sky tile every size stands on; later pieces stay inside its rim.
void SkyTile(cairo_t* cr, double s) {
    const double rim = std::max(1.0, s / 40), radius = s * 0.2;
    kit::RoundedRect(cr, rim / 2, rim / 2, s - rim, s - rim, radius);
    kit::FillVertical(cr, 0, pal::kSkyLight, s, pal::kSky);
    kit::Outline(cr, rim);
    kit::RoundedRect(cr, rim, rim, s - 2 * rim, s - 2 * rim, radius);
    cairo_clip(cr);
}

// Fading dots behind the ball, towards the lower left, as its tail trails.
void Tail(cairo_t* cr, double cx, double cy, double r) {
    for (int i = 1; i <= 3; ++i) {
        kit::Circle(cr, cx - i * r * 0.75, cy + i * r * 0.75, r * (0.55 - 0.12 * i));
        kit::SetColour(cr, pal::kBall, 0.75 - 0.18 * i);
        cairo_fill(cr);
    }
}

// In 16 x 16 units. At that size drawn eyes blur into one grey bar: the ball is plain and its
// eyes are set on whole pixels, white with the pupils on top (looking up).
void TinyBall(cairo_t* cr) {
    kit::Circle(cr, 8, 8.5, 6.3);
    kit::SetColour(cr, pal::kBall);
    cairo_fill(cr);
    for (double x : {4.0, 9.0}) {
        cairo_rectangle(cr, x, 5, 3, 4);
        kit::SetColour(cr, pal::kWhite);
        cairo_fill(cr);
        cairo_rectangle(cr, x + 1, 5, 2, 2);
        kit::SetColour(cr, pal::kInk);
        cairo_fill(cr);
    }
}

// The picture on the tile of a large icon, in an s x s square.
void LargePicture(cairo_t* cr, double s) {
    kit::Cloud(cr, s * 0.3, s * 0.26, s * 0.42, 0.95);
    kit::Coin(cr, s * 0.77, s * 0.25, s * 0.11);
    const double cx = s * 0.58, cy = s * 0.6, r = s * 0.27;
    Tail(cr, cx, cy, r);
    kit::Ball(cr, cx, cy, r, 40);  // looking up towards the coin
}

void DrawIcon(cairo_t* cr, int size) {
    const double s = size;
    SkyTile(cr, s);
    if (size < 32) {
        cairo_scale(cr, s / 16, s / 16);
        TinyBall(cr);
        return;
    }
    if (size <= kPlainIconMaxSize) {
        kit::Ball(cr, s * 0.5, s * 0.53, s * 0.36, 0);
        return;
    }
    LargePicture(cr, s);
}

void DrawPageIcon(cairo_t* cr, const PageIcon& icon) {
    const double s = icon.size;
    if (!icon.maskable) {
        DrawIcon(cr, icon.size);
        return;
    }
    cairo_rectangle(cr, 0, 0, s, s);
    kit::FillVertical(cr, 0, pal::kSkyLight, s, pal::kSky);
    cairo_translate(cr, 0.1 * s, 0.1 * s);
    LargePicture(cr, 0.8 * s);
}

}  // namespace

RgbaImage RenderAppIcon(int size) {
    ImageAsset icon;
    icon.name = AppIconFileName(size);
    icon.frameWidth = icon.frameHeight = size;
    icon.frameCount = icon.columns = 1;
    icon.art = [size](cairo_t* cr, int) { DrawIcon(cr, size); };
    return RenderVectorAtlas(icon, 1);
}

RgbaImage RenderPageIcon(const PageIcon& page) {
    ImageAsset icon;
    icon.name = page.file;
    icon.frameWidth = icon.frameHeight = page.size;
    icon.frameCount = icon.columns = 1;
    icon.art = [page](cairo_t* cr, int) { DrawPageIcon(cr, page); };
    return RenderVectorAtlas(icon, 1);
}

std::string AppIconFileName(int size) { return "icon-" + std::to_string(size) + ".png"; }
