// Loading a song through the real renderer and audio device: the files the
// seventy steps ask for, patterns decoded from the song image by drawing and
// reading back, the generated title song, and missing files.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "graphics/drawing.h"
#include "graphics/graphics_globals.h"
#include "graphics/gxtk_graphics.h"
#include "tests/game/game_fixture.h"
#include "tests/music/player_fixture.h"
#include "tools/assetgen/output_file.h"
#include "tools/assetgen/png_file.h"
#include "tools/assetgen/title_song.h"

namespace {

template <class Body>
void InFrame(Body body) {
    gxtkGraphics* device = graphicsDevice;
    device->BeginRender();
    BeginFrameDrawing();
    body();
    EndFrameDrawing();
    device->EndRender();
}

class SongLoadingTest : public PlayerTest {
protected:
    void SetUp() override {
        PlayerTest::SetUp();
        Game().Host()->missing.clear();
        Game().Host()->ClearRecords();
    }
    void TearDown() override {
        Game().Host()->missing.clear();
        PlayerTest::TearDown();
    }

    // Renders frames until loading is done; the number of frames it took.
    static int LoadInFrames(c_TunePlayer* p) {
        int frames = 0;
        while (p->loadStep > 0 && frames < 100) {
            InFrame([&] { p->FinishLoading(); });
            ++frames;
        }
        return frames;
    }

    // Writes a song image under the harness's working directory; its path.
    static std::string WriteSong(const SongImage& song, const std::string& name) {
        std::filesystem::path path = std::filesystem::path(Game().WorkDir()) / "songs" / name;
        WriteFileAtomically(path, EncodePng(song.Render()));
        return path.string();
    }

    static int Value(c_TunePlayer* p, int pattern, int channel, int row, int k) {
        return p->song[pattern * 4096 + channel * 512 + row * 8 + k];
    }
};

TEST_F(SongLoadingTest, SeventyStepsThreePerFrameLoadTheVoicesInitAskedFor) {
    c_TunePlayer* p = NewPlayer();
    SetClock(5000);
    p->StartSong(String("inst/song0.png"), 7);
    EXPECT_EQ(p->loadStep, 1);
    EXPECT_EQ(p->playState, 2);
    EXPECT_EQ(LoadInFrames(p), 24);
    EXPECT_EQ(p->loadStep, 0);
    EXPECT_EQ(p->nextRowTime, 5100);

    std::vector<std::string> expected;
    for (int k = 1; k <= 8; ++k) expected.push_back("vellum://data/inst/d4-" + std::to_string(k) + ".wav");
    for (int k = 1; k <= 8; ++k) expected.push_back("vellum://data/inst/d3-" + std::to_string(k) + ".wav");
    for (const char* voice : {"lead3", "accompany4", "bass0"})
        expected.push_back(std::string("vellum://data/inst/") + voice + ".wav");
    EXPECT_EQ(Game().Host()->soundPaths, expected);
    EXPECT_TRUE(Game().Host()->OpenedImage("vellum://data/inst/song0.png"));
    for (int k = 1; k <= 8; ++k) {
        EXPECT_TRUE(p->kitA[k]) << k;
        EXPECT_TRUE(p->kitB[k]) << k;
    }
    for (int v = 2; v <= 4; ++v) EXPECT_TRUE(p->voices[v]) << v;

    // The same song again plays at once, without loading anything.
    Game().Host()->ClearRecords();
    p->StopAll(1);
    p->StartSong(String("inst/song0.png"), 8);
    EXPECT_EQ(p->loadStep, 0);
    EXPECT_EQ(p->playState, 2);
    EXPECT_EQ(p->songSeed, 8);
    EXPECT_TRUE(Game().Host()->soundPaths.empty());
    EXPECT_TRUE(Game().Host()->imagePaths.empty());
}

TEST_F(SongLoadingTest, PatternsDecodeCellForCellAndOnlyFramesUpTo62) {
    SongImage image;
    unsigned seed = 12345;
    auto next = [&](int n) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % n);
    };
    // Channel c holds values up to pattern 10c + 2 (beyond 62 for c = 6, 7).
    for (int c = 0; c < 8; ++c) {
        for (int f = 0; f <= 10 * c + 2 && f < 64; ++f) {
            for (int r = 0; r < 64; r += 1 + next(5))
                image.Set(f, c, r, {next(32), next(32), next(32), next(32)});
        }
    }
    c_TunePlayer* p = NewPlayer();
    p->StartSong(String(WriteSong(image, "cells.png").c_str()), 0);
    LoadInFrames(p);
    ASSERT_EQ(p->loadStep, 0);
    for (int f = 0; f < 63; ++f) {
        for (int c = 0; c < 8; ++c) {
            for (int r = 0; r < 64; ++r) {
                const SongCell& cell = image.Get(f, c, r);
                ASSERT_EQ(Value(p, f, c, r, 0), cell.note) << f << "/" << c << "/" << r;
                ASSERT_EQ(Value(p, f, c, r, 1), cell.volume) << f << "/" << c << "/" << r;
                ASSERT_EQ(Value(p, f, c, r, 2), cell.command) << f << "/" << c << "/" << r;
                ASSERT_EQ(Value(p, f, c, r, 3), cell.parameter) << f << "/" << c << "/" << r;
                for (int k = 4; k < 8; ++k) ASSERT_EQ(Value(p, f, c, r, k), 0);
            }
        }
    }
    for (int i = 63 * 4096; i < p->song.Length(); ++i) ASSERT_EQ(p->song[i], 0) << "pattern 63 is not read";
    for (int c = 0; c < 8; ++c) EXPECT_EQ(p->lastPattern[c], std::min(10 * c + 2, 62)) << "channel " << c;
}

TEST_F(SongLoadingTest, GeneratedTitleSongDecodesToItsComposition) {
    c_TunePlayer* p = NewPlayer();
    p->StartSong(String(c_TunePlayer::kTitleSong), 1);
    LoadInFrames(p);
    SongImage composed = title_song::Compose();
    for (int f = 0; f < 63; ++f) {
        for (int c = 0; c < 8; ++c) {
            for (int r = 0; r < 64; ++r) {
                const SongCell& cell = composed.Get(f, c, r);
                ASSERT_EQ(Value(p, f, c, r, 0), cell.note) << f << "/" << c << "/" << r;
                ASSERT_EQ(Value(p, f, c, r, 1), cell.volume) << f << "/" << c << "/" << r;
                ASSERT_EQ(Value(p, f, c, r, 2), cell.command) << f << "/" << c << "/" << r;
                ASSERT_EQ(Value(p, f, c, r, 3), cell.parameter) << f << "/" << c << "/" << r;
            }
        }
    }
    const int lastPatterns[8] = {3, 3, 3, 2, 2, 0, 0, 0};
    for (int c = 0; c < 8; ++c) EXPECT_EQ(p->lastPattern[c], lastPatterns[c]) << "channel " << c;
}

TEST_F(SongLoadingTest, SmallerSongImageGivesTheWholePatternsItHoldsInsteadOfEndingTheGame) {
    SongImage song;
    song.Set(0, 2, 0, {13, 30, 0, 0});
    song.Set(1, 2, 5, {20, 25, 1, 3});
    song.Set(2, 2, 9, {25, 25, 0, 0});  // outside the cut-down image
    RgbaImage full = song.Render();
    RgbaImage twoPatterns(128 + 40, 64 + 10);  // two whole frames and some slack
    twoPatterns.BlendFrom(full, 0, 0, 128, 64, 0, 0);
    std::filesystem::path path = std::filesystem::path(Game().WorkDir()) / "songs" / "short.png";
    WriteFileAtomically(path, EncodePng(twoPatterns));

    c_TunePlayer* p = NewPlayer();
    p->StartSong(String(path.string().c_str()), 0);
    LoadInFrames(p);
    ASSERT_TRUE(p->songImage);
    EXPECT_EQ(p->songImage->frames.Length(), 2);
    EXPECT_EQ(Value(p, 0, 2, 0, 0), 13);
    EXPECT_EQ(Value(p, 1, 2, 5, 1), 25);
    EXPECT_EQ(Value(p, 1, 2, 5, 3), 3);
    EXPECT_EQ(Value(p, 2, 2, 9, 0), 0);
    EXPECT_EQ(p->lastPattern[2], 1);

    RgbaImage tiny(32, 32);
    std::filesystem::path tinyPath = std::filesystem::path(Game().WorkDir()) / "songs" / "tiny.png";
    WriteFileAtomically(tinyPath, EncodePng(tiny));
    p->StartSong(String(tinyPath.string().c_str()), 0);
    LoadInFrames(p);
    EXPECT_FALSE(p->songImage);
    EXPECT_EQ(p->lastPattern[2], 0);
}

TEST_F(SongLoadingTest, MissingSongImageLeavesSilenceAndMissingSamplesLeaveEmptySlots) {
    c_TunePlayer* p = NewPlayer();
    p->StartSong(String(c_TunePlayer::kTitleSong), 1);
    LoadInFrames(p);
    ASSERT_GT(p->lastPattern[0], 0);

    Game().Host()->missing = {"gone.png", "d3-2.wav", "bass0.wav"};
    p->StartSong(String("inst/gone.png"), 1);
    ASSERT_EQ(p->loadStep, 1);
    LoadInFrames(p);
    EXPECT_EQ(p->loadStep, 0);
    EXPECT_FALSE(p->songImage);
    for (int i = 0; i < p->song.Length(); ++i) ASSERT_EQ(p->song[i], 0) << "the old song is gone";
    for (int c = 0; c < 8; ++c) EXPECT_EQ(p->lastPattern[c], 0);
    EXPECT_FALSE(p->kitB[2]);
    EXPECT_TRUE(p->kitB[1]);
    EXPECT_FALSE(p->voices[4]);
    // Its notes are silent, and the player runs on.
    p->PlayRow(1, 15, 30, 0, 0);
    p->PlayRow(4, 13, 30, 0, 0);
    EXPECT_EQ(State(AudioChannel(1)), 0);
    EXPECT_EQ(State(AudioChannel(4)), 0);
    EXPECT_EQ(RunUntil(p, 1000), 11);
}

TEST_F(SongLoadingTest, LoadingLeavesTheScratchCornerBlackAndNothingHappensOnceLoaded) {
    c_TunePlayer* p = NewPlayer();
    p->StartSong(String(c_TunePlayer::kTitleSong), 1);
    Array<int> pixels(64 * 64);
    InFrame([&] {
        p->FinishLoading();
        ReadPixels(pixels, 0, 0, 64, 64, 0, 64);
    });
    EXPECT_EQ(p->loadStep, 4);
    for (int i = 0; i < 64 * 64; ++i) ASSERT_EQ(pixels[i] & 0xFFFFFF, 0) << "pixel " << i;
    LoadInFrames(p);
    int step = p->loadStep;
    InFrame([&] {
        ClearScreen(0, 0, 255);
        p->FinishLoading();
        ReadPixels(pixels, 0, 0, 64, 64, 0, 64);
    });
    EXPECT_EQ(step, 0);
    EXPECT_EQ(p->loadStep, 0);
    EXPECT_EQ(pixels[0] & 0xFF, 255) << "a loaded player draws nothing";
}

}  // namespace
