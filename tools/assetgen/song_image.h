// The song image the music generator plays: 64 patterns of 64 x 64 pixels,
// laid left to right and top to bottom in a 512 x 512 image (the player cuts
// 64 frames of 64 x 64 from it, wrapping at the right edge). In a pattern,
// pixel row r is row r; pixels 8c .. 8c + 7 of it are the eight values of
// channel c: note, volume, command, parameter and four unused ones. A value
// 0..31 is the top five bits of the pixel's blue byte; red and green only
// tint the channels for a human looking at the file, and every pixel is
// opaque, so drawing the image over any background reads back unchanged.
#pragma once
#include <vector>

#include "tools/assetgen/rgba_image.h"

struct SongCell {
    int note = 0;       // 1..31; 13 is the sample's own pitch
    int volume = 0;     // 1..30 from silent to full, 31 cuts the note
    int command = 0;    // 1..4 rate slides, 8 pattern break, 27 pattern step
    int parameter = 0;
    bool operator==(const SongCell&) const = default;
};

class SongImage {
public:
    static constexpr int kPatterns = 64;
    static constexpr int kChannels = 8;
    static constexpr int kRows = 64;
    static constexpr int kFrameSize = 64;
    static constexpr int kFramesPerRow = 8;
    static constexpr int kMaxValue = 31;

    SongImage();

    // Throws std::out_of_range for a place outside the song or a value
    // outside 0..31.
    void Set(int pattern, int channel, int row, const SongCell& cell);
    const SongCell& Get(int pattern, int channel, int row) const;

    RgbaImage Render() const;

private:
    static int Index(int pattern, int channel, int row);
    std::vector<SongCell> cells_;
};
