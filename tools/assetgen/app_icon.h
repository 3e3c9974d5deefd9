// The game's application icon: the ball with its eyes on a sky tile, drawn
// afresh at each size the desktop asks for rather than scaled from one
// bitmap, so the small ones stay sharp. Written into the data folder as
// "icon-<size>.png"; the window uses them, and installing copies them into
// the desktop's icon theme.
#pragma once
#include <string>

#include "tools/assetgen/rgba_image.h"

inline constexpr int kIconSizes[] = {16, 32, 48, 64, 128, 256};

// Up to this size the icon is the ball alone; larger ones add a coin, a
// cloud and the ball's tail.
inline constexpr int kPlainIconMaxSize = 32;

RgbaImage RenderAppIcon(int size);
std::string AppIconFileName(int size);  // "icon-48.png"
