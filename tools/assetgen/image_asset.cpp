#include "tools/assetgen/image_asset.h"

#include <stdexcept>

RgbaImage ImageAsset::Render(int level) const {
    if (pixelArt) {
        RgbaImage base = pixelArt();
        return level == 1 ? base : base.ScaledNearest(level);
    }
    return RenderVectorAtlas(*this, level);
}

std::string ImageAsset::FileName(int level) const {
    if (level == 2) return name + "-hd.png";
    if (level == 4) return name + "-hd2.png";
    return name + ".png";
}

RgbaImage RenderVectorAtlas(const ImageAsset& asset, int level) {
    const int fw = asset.frameWidth * level, fh = asset.frameHeight * level;
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, asset.columns * fw, asset.Rows() * fh);
    cairo_t* cr = cairo_create(surface);
    for (int frame = 0; frame < asset.frameCount; ++frame) {
        cairo_save(cr);
        cairo_translate(cr, (frame % asset.columns) * fw, (frame / asset.columns) * fh);
        cairo_scale(cr, level, level);
        cairo_rectangle(cr, 0, 0, asset.frameWidth, asset.frameHeight);
        cairo_clip(cr);
        cairo_new_path(cr);
        asset.art(cr, frame);
        cairo_restore(cr);
    }
    cairo_status_t status = cairo_status(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    RgbaImage out;
    if (status == CAIRO_STATUS_SUCCESS)
        out = RgbaImage::FromPremultipliedArgb(cairo_image_surface_get_data(surface),
                                               cairo_image_surface_get_width(surface),
                                               cairo_image_surface_get_height(surface),
                                               cairo_image_surface_get_stride(surface));
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error(asset.name + ": " + cairo_status_to_string(status));
    return out;
}
