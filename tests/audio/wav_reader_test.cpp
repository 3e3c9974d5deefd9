#include "codec/wav_reader.h"

#include <gtest/gtest.h>

#include "tests/audio/wav_builder.h"

namespace {

using Bytes = WavBuilder::Bytes;

bool Read(const Bytes& b, WavData& out) { return ReadWav(b.data(), b.size(), out); }

const Bytes kFourBytes = {1, 2, 3, 4};

TEST(WavReader, ReadsPlainPcmFile) {
    WavData wav;
    ASSERT_TRUE(Read(WavBuilder::Pcm(2, 22050, 16, kFourBytes), wav));
    EXPECT_EQ(wav.channels, 2);
    EXPECT_EQ(wav.bitsPerSample, 16);
    EXPECT_EQ(wav.hertz, 22050);
    EXPECT_EQ(wav.samples, kFourBytes);
}

TEST(WavReader, AcceptsLayoutsSeenInRealFiles) {
    WavData wav;
    // A LIST chunk (as editors write) before the samples.
    Bytes list = WavBuilder().Header().Fmt(1, 1, 8000, 8).Chunk("LIST", {'I', 'N', 'F', 'O'}).Chunk("data", kFourBytes).Build();
    ASSERT_TRUE(Read(list, wav));
    EXPECT_EQ(wav.samples, kFourBytes);
    // An 18-byte fmt chunk (WAVEFORMATEX with cbSize).
    Bytes fmt18 = WavBuilder().Header().Fmt(1, 1, 8000, 16, 18).Chunk("data", kFourBytes).Build();
    ASSERT_TRUE(Read(fmt18, wav));
    EXPECT_EQ(wav.bitsPerSample, 16);
    EXPECT_EQ(wav.samples, kFourBytes);
    // An odd-sized chunk followed by its RIFF pad byte.
    Bytes padded = WavBuilder().Header().Fmt(1, 1, 8000, 8).Chunk("note", {'a', 'b', 'c'}).Raw({0}).Chunk("data", kFourBytes).Build();
    ASSERT_TRUE(Read(padded, wav));
    EXPECT_EQ(wav.samples, kFourBytes);
    // The same without the pad byte, as some writers leave it.
    Bytes unpadded = WavBuilder().Header().Fmt(1, 1, 8000, 8).Chunk("note", {'a', 'b', 'c'}).Chunk("data", kFourBytes).Build();
    ASSERT_TRUE(Read(unpadded, wav));
    EXPECT_EQ(wav.samples, kFourBytes);
    // Trailing chunks after the samples are not looked at.
    Bytes trailing = WavBuilder::Pcm(1, 8000, 8, kFourBytes);
    WavBuilder::Bytes tail = WavBuilder().Tag("junk").U32(0xFFFFFFFFu).Build();
    trailing.insert(trailing.end(), tail.begin(), tail.end());
    ASSERT_TRUE(Read(trailing, wav));
    EXPECT_EQ(wav.samples, kFourBytes);
}

TEST(WavReader, KeepsLayoutsOpenAlCannotPlay) {
    // Returned as read; the device turns them into silent samples.
    WavData wav;
    ASSERT_TRUE(Read(WavBuilder::Pcm(6, 48000, 16, Bytes(24, 0)), wav));
    EXPECT_EQ(wav.channels, 6);
    ASSERT_TRUE(Read(WavBuilder::Pcm(1, 48000, 24, Bytes(6, 0)), wav));
    EXPECT_EQ(wav.bitsPerSample, 24);
}

TEST(WavReader, RefusesWrongHeadersAndFormats) {
    WavData wav;
    EXPECT_FALSE(Read({}, wav));
    EXPECT_FALSE(Read(WavBuilder().Tag("RIFX").U32(0).Tag("WAVE").Fmt(1, 1, 8000, 8).Chunk("data", kFourBytes).Build(), wav));
    EXPECT_FALSE(Read(WavBuilder().Tag("RIFF").U32(0).Tag("AVI ").Fmt(1, 1, 8000, 8).Chunk("data", kFourBytes).Build(), wav));
    EXPECT_FALSE(Read(WavBuilder().Header().Chunk("data", kFourBytes).Build(), wav));
    // Float samples (format 3) are not PCM.
    EXPECT_FALSE(Read(WavBuilder().Header().Fmt(3, 1, 8000, 32).Chunk("data", kFourBytes).Build(), wav));
    // No "data" chunk at all.
    EXPECT_FALSE(Read(WavBuilder().Header().Fmt(1, 1, 8000, 8).Chunk("LIST", kFourBytes).Build(), wav));
    // A fmt chunk too short to hold the PCM fields.
    EXPECT_FALSE(Read(WavBuilder().Header().Tag("fmt ").U32(14).U16(1).U16(1).U32(8000).U32(8000).U16(1).Chunk("data", kFourBytes).Build(), wav));
    // A refused file leaves nothing behind from an earlier one.
    EXPECT_TRUE(wav.samples.empty());
    EXPECT_EQ(wav.channels, 0);
}

TEST(WavReader, RefusesZeroByteFrames) {
    WavData wav;
    EXPECT_FALSE(Read(WavBuilder::Pcm(0, 8000, 16, kFourBytes), wav));
    EXPECT_FALSE(Read(WavBuilder::Pcm(1, 8000, 4, kFourBytes), wav));
    EXPECT_FALSE(Read(WavBuilder::Pcm(1, 8000, 0, kFourBytes), wav));
}

TEST(WavReader, RefusesSizesLargerThanTheFile) {
    WavData wav;
    // A data chunk claiming 4 GiB with 4 bytes present: refused, not allocated.
    EXPECT_FALSE(Read(WavBuilder().Header().Fmt(1, 1, 8000, 8).Tag("data").U32(0xFFFFFFF0u).Raw(kFourBytes).Build(), wav));
    // A data chunk one byte short.
    EXPECT_FALSE(Read(WavBuilder().Header().Fmt(1, 1, 8000, 8).Tag("data").U32(5).Raw(kFourBytes).Build(), wav));
    // A skipped chunk claiming more than is left.
    EXPECT_FALSE(Read(WavBuilder().Header().Fmt(1, 1, 8000, 8).Tag("LIST").U32(0x7FFFFFFFu).Chunk("data", kFourBytes).Build(), wav));
    // A fmt chunk claiming more than is left.
    EXPECT_FALSE(Read(WavBuilder().Header().Tag("fmt ").U32(0xFFFFFFF0u).U16(1).U16(1).U32(8000).U32(8000).U16(1).U16(8).Chunk("data", kFourBytes).Build(), wav));
    // Every truncation of a good file is refused, never read past the end.
    Bytes good = WavBuilder().Header().Fmt(1, 2, 8000, 16, 18).Chunk("LIST", kFourBytes).Chunk("data", Bytes(8, 7)).Build();
    for (std::size_t n = 0; n < good.size(); ++n) {
        Bytes cut(good.begin(), good.begin() + n);
        EXPECT_FALSE(Read(cut, wav)) << "length " << n;
    }
    EXPECT_TRUE(Read(good, wav));
}

TEST(WavReader, RefusalsSayWhy) {
    struct Case {
        Bytes bytes;
        const char* reason;
    } cases[] = {
        {{}, "not a WAV file"},
        {WavBuilder().Tag("RIFF").U32(0).Tag("AVI ").Fmt(1, 1, 8000, 8).Chunk("data", kFourBytes).Build(), "not a WAV file"},
        {WavBuilder().Header().Chunk("data", kFourBytes).Build(), "damaged WAV header"},
        {WavBuilder().Header().Fmt(3, 1, 8000, 32).Chunk("data", kFourBytes).Build(), "not PCM audio"},
        {WavBuilder::Pcm(0, 8000, 16, kFourBytes), "unsupported sample layout"},
        {WavBuilder().Header().Fmt(1, 1, 8000, 8).Tag("data").U32(5).Raw(kFourBytes).Build(), "truncated WAV file"},
        {WavBuilder().Header().Fmt(1, 1, 8000, 8).Chunk("LIST", kFourBytes).Build(), "truncated WAV file"},
    };
    for (const Case& c : cases) {
        WavData wav;
        const char* reason = nullptr;
        EXPECT_FALSE(ReadWav(c.bytes.data(), c.bytes.size(), wav, &reason));
        EXPECT_STREQ(reason, c.reason);
    }
    Bytes good = WavBuilder::Pcm(2, 22050, 16, Bytes(12, 5));
    WavData wav;
    const char* reason = "untouched";
    EXPECT_TRUE(ReadWav(good.data(), good.size(), wav, &reason));
    EXPECT_STREQ(reason, "untouched");
}

TEST(WavReader, ManyEmptyChunksEnd) {
    // Zero-sized chunks make progress by their 8 header bytes each.
    WavBuilder b;
    b.Header().Fmt(1, 1, 8000, 8);
    for (int i = 0; i < 10000; ++i) b.Chunk("pad ", {});
    WavData wav;
    EXPECT_FALSE(Read(b.Build(), wav));
    b.Chunk("data", kFourBytes);
    EXPECT_TRUE(Read(b.Build(), wav));
}

}  // namespace
