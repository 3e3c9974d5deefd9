// Loading a song: the song image, two drum kits and three voices, one file
// per step, and the patterns decoded by drawing each frame of the song image
// into the top-left corner of the frame buffer and reading the pixels back.
// Decoding needs a frame being rendered, so loading runs from the render, at
// most three steps per frame.
#include "app/framework.h"
#include "audio/audio.h"
#include "graphics/drawing.h"
#include "music/tune_player.h"

namespace {

constexpr int kFrameSize = 64;
constexpr int kFirstDecodeStep = 5;
constexpr int kKitAFirstStep = 2;
constexpr int kKitBFirstStep = 12;
constexpr int kLeadStep = 21;
constexpr int kAccompanimentStep = 22;
constexpr int kBassStep = 23;
constexpr int kStepsPerFrame = 3;

String DrumFile(int kit, int sample) {
    return String("inst/d") + String::FromInt(kit) + String("-") + String::FromInt(sample) + String(".wav");
}

String VoiceFile(const char* kind, int number) {
    return String("inst/") + String(kind) + String::FromInt(number) + String(".wav");
}

// The song image cut into the whole 64 x 64 patterns it holds, left to right
// and top to bottom, at most 64. A smaller image than the full 512 x 512
// gives fewer patterns (the rest stay silent) instead of a frame outside the
// surface, which would end the game.
c_Image* LoadSongImage(const String& name, int maxPatterns) {
    c_Image* atlas = LoadImage(name, 1, 0);
    if (!atlas) return nullptr;
    int patterns = (atlas->width / kFrameSize) * (atlas->height / kFrameSize);
    if (patterns < 1) return nullptr;
    if (patterns > maxPatterns) patterns = maxPatterns;
    return atlas->GrabImage(0, 0, kFrameSize, kFrameSize, patterns, CentreHandle);
}

}  // namespace

int c_TunePlayer::LoadSongStep() {
    int step = loadStep;
    if (step == 1) {
        // A new song starts from nothing, so a missing image leaves silence.
        for (int i = 0; i < song.Length(); ++i) song[i] = 0;
        for (int i = 0; i < lastPattern.Length(); ++i) lastPattern[i] = 0;
        songImage = LoadSongImage(songName, kPatterns);
    } else if (step >= kKitAFirstStep && step < kKitAFirstStep + 8) {
        kitA[step - kKitAFirstStep + 1] = LoadSound(DrumFile(voiceNumbers[1], step - kKitAFirstStep + 1));
    } else if (step >= kKitBFirstStep && step < kKitBFirstStep + 8) {
        kitB[step - kKitBFirstStep + 1] = LoadSound(DrumFile(voiceNumbers[2], step - kKitBFirstStep + 1));
    } else if (step == kLeadStep) {
        voices[2] = LoadSound(VoiceFile("lead", voiceNumbers[3]));
    } else if (step == kAccompanimentStep) {
        voices[3] = LoadSound(VoiceFile("accompany", voiceNumbers[4]));
    } else if (step == kBassStep) {
        voices[4] = LoadSound(VoiceFile("bass", voiceNumbers[5]));
    }
    int pattern = step - kFirstDecodeStep;
    if (pattern >= 0 && pattern < kDecodedPatterns && songImage && pattern < songImage->frames.Length()) {
        DecodePattern(pattern);
    }

    loadStep += 1;
    nextRowTime = static_cast<int>(static_cast<unsigned>(Now()) + 100u);
    if (loadStep > kLoadSteps) {
        loadStep = 0;
        loadedSong = songName;
    }
    return 0;
}

void c_TunePlayer::DecodePattern(int pattern) {
    Array<int> pixels(kFrameSize * kFrameSize);
    ClearScreen(1, 0, 0);
    SetAlpha(1);
    SetColor(1, 0, 0);
    DrawRect(0, 0, kFrameSize, kFrameSize);
    SetColor(255, 255, 255);
    DrawImage(songImage, kFrameSize / 2, kFrameSize / 2, pattern);
    ReadPixels(pixels, 0, 0, kFrameSize, kFrameSize, 0, kFrameSize);
    for (int r = 0; r < kFrameSize; ++r) {
        for (int c = 0; c < 8; ++c) {
            for (int k = 0; k < 8; ++k) {
                int blue = pixels[r * kFrameSize + 8 * c + k] & 0xFF;
                int v = blue >> 3;
                song[pattern * kPatternValues + c * 512 + r * 8 + k] = v;
                if (v != 0) lastPattern[c] = pattern;
            }
        }
    }
}

int c_TunePlayer::FinishLoading() {
    if (loadStep <= 0) return 0;
    for (int i = 0; i < kStepsPerFrame && loadStep > 0; ++i) LoadSongStep();
    ClearScreen(0, 0, 0);
    return 0;
}
