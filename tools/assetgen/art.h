// The frame art of every image the game loads, one function per image.
// Each draws frame `frame` in logical pixels of its frame size.
#pragma once
#include <cairo.h>

namespace art {
void WorldTile(cairo_t* cr, int frame);      // "world001", 32 x 32
void EyesSprite(cairo_t* cr, int frame);     // "eyes", 32 x 32
void HeartSprite(cairo_t* cr, int frame);    // "heart", 32 x 32
void Particle(cairo_t* cr, int frame);       // "parts", 8 x 8
void Icon(cairo_t* cr, int frame);           // "common/icons", 32 x 32
void ModeButton(cairo_t* cr, int frame);     // "common/Buttons", 64 x 64
void DpadPiece(cairo_t* cr, int frame);      // "common/dpad", 32 x 32
void ArcadeStick(cairo_t* cr, int frame);    // "common/icade", 64 x 64
void Badge(cairo_t* cr, int frame);          // "BadgesA", 64 x 64
void MenuArt(cairo_t* cr, int frame);        // "menu", 256 x 256
void TitleLogo(cairo_t* cr, int frame);      // "logo", 256 x 128
void MakerEmblem(cairo_t* cr, int frame);    // "common/TIRNLogo", 256 x 256
void TestCard(cairo_t* cr, int frame);       // "common/Testcard_Circle", 256 x 256
}  // namespace art
