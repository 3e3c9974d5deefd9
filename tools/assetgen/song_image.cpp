#include "tools/assetgen/song_image.h"

#include <stdexcept>

namespace {

// A value v is written as 8 v + 4, the middle of the band that reads back
// as v, so small colour errors cannot change it.
std::uint8_t Encode(int value) { return static_cast<std::uint8_t>(value * 8 + 4); }

// Channel tints (red, green) for people looking at the file.
constexpr std::uint8_t kTint[SongImage::kChannels][2] = {
    {150, 40}, {150, 110}, {40, 150}, {40, 110}, {110, 40}, {60, 60}, {60, 60}, {60, 60},
};

void CheckValue(int value) {
    if (value < 0 || value > SongImage::kMaxValue) throw std::out_of_range("song value outside 0..31");
}

}  // namespace

SongImage::SongImage() : cells_(static_cast<std::size_t>(kPatterns) * kChannels * kRows) {}

int SongImage::Index(int pattern, int channel, int row) {
    if (pattern < 0 || pattern >= kPatterns || channel < 0 || channel >= kChannels || row < 0 || row >= kRows)
        throw std::out_of_range("song place outside the song");
    return (pattern * kChannels + channel) * kRows + row;
}

void SongImage::Set(int pattern, int channel, int row, const SongCell& cell) {
    CheckValue(cell.note);
    CheckValue(cell.volume);
    CheckValue(cell.command);
    CheckValue(cell.parameter);
    cells_[Index(pattern, channel, row)] = cell;
}

const SongCell& SongImage::Get(int pattern, int channel, int row) const {
    return cells_[Index(pattern, channel, row)];
}

RgbaImage SongImage::Render() const {
    RgbaImage image(kFramesPerRow * kFrameSize, kPatterns / kFramesPerRow * kFrameSize);
    for (int pattern = 0; pattern < kPatterns; ++pattern) {
        int left = pattern % kFramesPerRow * kFrameSize;
        int top = pattern / kFramesPerRow * kFrameSize;
        for (int channel = 0; channel < kChannels; ++channel) {
            for (int row = 0; row < kRows; ++row) {
                const SongCell& cell = Get(pattern, channel, row);
                const int values[8] = {cell.note, cell.volume, cell.command, cell.parameter, 0, 0, 0, 0};
                for (int k = 0; k < 8; ++k) {
                    RgbaPixel p{kTint[channel][0], kTint[channel][1], 0, 255};
                    if (values[k] != 0) p.b = Encode(values[k]);
                    image.Set(left + channel * 8 + k, top + row, p);
                }
            }
        }
    }
    return image;
}
