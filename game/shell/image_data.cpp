// Tables of small numbers kept as pixel colours in ordinary images. Decoding
// draws an image frame into the top-left corner of the back buffer and reads
// the pixels back, so both loaders run while a frame is being rendered; the
// render overwrites the scratch drawing afterwards.
#include <climits>

#include "game/my_app.h"
#include "graphics/drawing.h"
#include "graphics/image.h"

namespace {

constexpr int kFrameSize = 64;
constexpr int kPixels = kFrameSize * kFrameSize;
constexpr int kWordsPerFrame = kPixels / 2;
constexpr int kWordListImage = 85;

// A channel written as 8 v reads back as v, and so does anything within
// -4..+3 of it. 252..255 give 32, which carries into the next group of a
// word-list value (files rely on this).
int Quantise(int channel) { return (channel + 4) / 8; }

int RedOf(int pixel) { return (pixel >> 16) & 0xFF; }
int GreenOf(int pixel) { return (pixel >> 8) & 0xFF; }
int BlueOf(int pixel) { return pixel & 0xFF; }

// The three 5-bit groups of one pixel, red highest.
int PixelGroups(int pixel) {
    return (Quantise(RedOf(pixel)) * 32 + Quantise(GreenOf(pixel))) * 32 + Quantise(BlueOf(pixel));
}

// Draws frame `frame` of `image` with its top-left corner at the origin,
// wherever its handle is.
void DrawFrameAtOrigin(c_Image* image, int frame) {
    if (!image || frame < 0 || frame >= image->frames.Length()) return;
    DrawImage(image, image->tx, image->ty, frame);
}

}  // namespace

void c_MyApp::DecodeWordList() {
    ClearScreen(0, 0, 0);
    Array<int> pixels(kPixels);
    SetColor(255, 255, 255);
    Print(String("Loading WordList ") + String::FromInt(wordListCount));
    // The n-th call (from 0) decodes frame n.
    DrawFrameAtOrigin(images[kWordListImage], wordListCount);
    wordListCount += 1;
    ReadPixels(pixels, 0, 0, kFrameSize, kFrameSize, 0, kFrameSize);

    if (wordListSize > INT_MAX - kWordsPerFrame) return;  // no room to count further
    int needed = wordListSize + kWordsPerFrame;
    if (wordList.Length() < needed) {
        int capacity = wordList.Length() > 0 ? wordList.Length() : kWordsPerFrame;
        while (capacity < needed) capacity = capacity > INT_MAX / 2 ? needed : capacity * 2;
        wordList = wordList.Resize(capacity);
    }
    for (int y = 0; y < kFrameSize; ++y) {
        for (int x = 0; x < kFrameSize / 2; ++x) {
            int low = pixels[y * kFrameSize + 2 * x];
            int high = pixels[y * kFrameSize + 2 * x + 1];
            wordList[wordListSize] = PixelGroups(high) * 32768 + PixelGroups(low);
            wordListSize += 1;
        }
    }
    ClearScreen(0, 0, 0);
}

void c_MyApp::DecodeMapImage(int imageIndex, int frame) {
    Print(String("Loading Image Data ") + String::FromInt(imageIndex) + String(":") + String::FromInt(frame));
    ClearScreen(1, 0, 0);
    SetAlpha(1);
    SetColor(1, 0, 0);
    DrawRect(0, 0, kFrameSize, kFrameSize);
    SetColor(255, 255, 255);
    // A slot number outside the table counts as an empty slot.
    if (imageIndex >= 0 && imageIndex < images.Length()) DrawFrameAtOrigin(images[imageIndex], frame - 1);
    Array<int> pixels(kPixels);
    ReadPixels(pixels, 0, 0, kFrameSize, kFrameSize, 0, kFrameSize);
    for (int x = 0; x < kFrameSize; ++x) {
        for (int y = 0; y < kFrameSize; ++y) {
            int p = pixels[y * kFrameSize + x];
            int cell = (y * kFrameSize + x) * 4;
            worldMap[cell] = Quantise(RedOf(p));
            worldMap[cell + 1] = Quantise(GreenOf(p));
            worldMap[cell + 2] = Quantise(BlueOf(p));
        }
    }
    ClearScreen(1, 0, 0);
}
