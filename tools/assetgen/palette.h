// The colours of Sol Brim's art, in one place so every picture agrees:
// a sunny sky, warm hazard blocks, gold coins, red hearts, a black ball
// with white eyes, and one dark navy ink that outlines everything.
#pragma once

struct Rgb {
    double r, g, b;
};

constexpr Rgb Hex(unsigned v) {
    return {((v >> 16) & 0xFF) / 255.0, ((v >> 8) & 0xFF) / 255.0, (v & 0xFF) / 255.0};
}

constexpr Rgb Mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

namespace pal {
constexpr Rgb kInk = Hex(0x1B1F3B);        // outlines, pupils, glyphs on buttons
constexpr Rgb kInkSoft = Hex(0x39406B);    // softer outline and shade
constexpr Rgb kWhite = Hex(0xFFFFFF);
constexpr Rgb kPaper = Hex(0xF4F7FF);      // off-white highlights
constexpr Rgb kMist = Hex(0xC9D3E6);       // light grey of tintable UI shading

constexpr Rgb kSky = Hex(0x64A0FA);        // the play field's clear colour
constexpr Rgb kSkyLight = Hex(0xA8D4FF);
constexpr Rgb kCloud = Hex(0xFFFFFF);
constexpr Rgb kCloudShade = Hex(0xD3E4FA);
constexpr Rgb kNight = Hex(0x000050);      // the title's clear colour

constexpr Rgb kSun = Hex(0xFFD93D);
constexpr Rgb kSunDeep = Hex(0xFF9A2E);
constexpr Rgb kGold = Hex(0xF7BE2B);
constexpr Rgb kGoldLight = Hex(0xFFF0A0);
constexpr Rgb kGoldDark = Hex(0xB36B12);

constexpr Rgb kHeart = Hex(0xE8384F);
constexpr Rgb kHeartDark = Hex(0x9E1B32);
constexpr Rgb kHeartLight = Hex(0xFF9AA8);

constexpr Rgb kBall = Hex(0x111118);
constexpr Rgb kGrass = Hex(0x4CC96B);
constexpr Rgb kLeaf = Hex(0x2E9E50);
constexpr Rgb kAmber = Hex(0xF6B53A);
constexpr Rgb kBrick = Hex(0xE8484F);
constexpr Rgb kTeal = Hex(0x2EC4C4);
constexpr Rgb kBlue = Hex(0x3A7BFF);
constexpr Rgb kViolet = Hex(0x8E5BE8);
constexpr Rgb kPink = Hex(0xF06BB4);

// The nine hazard blocks: one warm family from crimson to amber.
constexpr Rgb kBlocks[9] = {
    Hex(0xE23D3D),  // red
    Hex(0xEE5A2F),  // vermilion
    Hex(0xF47C20),  // orange
    Hex(0xF6A21E),  // amber
    Hex(0xC7283F),  // crimson
    Hex(0xD63C6B),  // raspberry
    Hex(0xB8482D),  // brick
    Hex(0xC96B2C),  // copper
    Hex(0xF0646A),  // coral
};
}  // namespace pal
