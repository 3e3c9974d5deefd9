// The game's application icon: the ball with its eyes on a sky tile, drawn
// afresh at each size the desktop asks for rather than scaled from one
// bitmap, so the small ones stay sharp. Written into the data folder as
// "icon-<size>.png"; the window uses them, and installing copies them into
// the desktop's icon theme. The web page's manifest has icons of its own.
#pragma once
#include <string>

#include "tools/assetgen/rgba_image.h"

// The sizes in asset_catalogue.def.
inline constexpr int kIconSizes[] = {
#define ASSET_ICON(size) size,
#include "tools/assetgen/asset_catalogue.def"
};

// Up to this size the icon is the ball alone; larger ones add a coin, a
// cloud and the ball's tail.
inline constexpr int kPlainIconMaxSize = 32;

struct PageIcon {
    const char* file;
    int size;
    bool maskable;
};

// The web page's icons in asset_catalogue.def.
inline constexpr PageIcon kPageIcons[] = {
#define ASSET_PAGE_ICON(file, size, maskable) {file, size, maskable},
#include "tools/assetgen/asset_catalogue.def"
};

RgbaImage RenderAppIcon(int size);
std::string AppIconFileName(int size);  // "icon-48.png"
// A maskable icon: sky to every edge, the picture inside the middle 80%,
// which every mask shape a launcher applies leaves visible.
RgbaImage RenderPageIcon(const PageIcon& icon);
