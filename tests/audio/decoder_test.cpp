#include "codec/audio_decoder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/audio/audio_fixtures.h"
#include "tests/audio/wav_builder.h"

namespace {

using Bytes = WavBuilder::Bytes;

struct Result {
    bool ok = false;
    int length = -1, channels = -1, format = -1, hertz = -1;
    Bytes data;
};

// Decodes a file as the host does: open, decode, close.
Result Decode(const std::string& file, const std::string& pathForType) {
    Result r;
    FILE* f = std::fopen(file.c_str(), "rb");
    if (!f) return r;
    unsigned char* p = DecodeAudioFile(f, String(pathForType.c_str()), &r.length, &r.channels, &r.format, &r.hertz);
    std::fclose(f);
    if (!p) return r;
    r.ok = true;
    std::size_t bytes = static_cast<std::size_t>(r.length) * r.channels * r.format;
    r.data.assign(p, p + bytes);
    std::free(p);
    return r;
}

class AudioDecoder : public ::testing::Test {
protected:
    std::string Put(const std::string& name, const Bytes& bytes) { return dir_.Write(name, bytes); }
    TempDir dir_;
};

TEST_F(AudioDecoder, WavVariantsGiveFramesAndFormat) {
    Result mono16 = Decode(Put("a.wav", WavBuilder::Pcm(1, 44100, 16, Bytes(10, 1))), "a.wav");
    ASSERT_TRUE(mono16.ok);
    EXPECT_EQ(mono16.length, 5);
    EXPECT_EQ(mono16.channels, 1);
    EXPECT_EQ(mono16.format, 2);
    EXPECT_EQ(mono16.hertz, 44100);

    Bytes stereo8Samples = {0, 255, 128, 128, 10, 20};
    Result stereo8 = Decode(Put("b.wav", WavBuilder::Pcm(2, 11025, 8, stereo8Samples)), "b.wav");
    ASSERT_TRUE(stereo8.ok);
    EXPECT_EQ(stereo8.length, 3);
    EXPECT_EQ(stereo8.channels, 2);
    EXPECT_EQ(stereo8.format, 1);
    EXPECT_EQ(stereo8.data, stereo8Samples);

    // A trailing partial frame is not counted.
    Result partial = Decode(Put("c.wav", WavBuilder::Pcm(2, 8000, 16, Bytes(9, 0))), "c.wav");
    ASSERT_TRUE(partial.ok);
    EXPECT_EQ(partial.length, 2);

    // An empty data chunk is a valid, silent sound.
    Result empty = Decode(Put("d.wav", WavBuilder::Pcm(1, 8000, 16, {})), "d.wav");
    ASSERT_TRUE(empty.ok);
    EXPECT_EQ(empty.length, 0);
}

TEST_F(AudioDecoder, ExtensionChoosesTheReaderIgnoringCase) {
    std::string file = Put("x.wav", WavBuilder::Pcm(1, 8000, 8, Bytes(4, 9)));
    EXPECT_TRUE(Decode(file, "sfx/001.WAV").ok);
    EXPECT_TRUE(Decode(file, "sfx/001.Wav").ok);
    EXPECT_FALSE(Decode(file, "sfx/001.wave").ok);
    EXPECT_FALSE(Decode(file, "sfx/001").ok);
    // A WAV file named .ogg goes to the Vorbis decoder, which refuses it.
    EXPECT_FALSE(Decode(file, "sfx/001.ogg").ok);
}

TEST_F(AudioDecoder, RefusedWavLeavesOutputsAlone) {
    Result r = Decode(Put("f.wav", WavBuilder().Header().Fmt(3, 1, 8000, 32).Chunk("data", Bytes(8, 0)).Build()), "f.wav");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.length, -1);
    EXPECT_EQ(r.hertz, -1);
}

TEST_F(AudioDecoder, DecodesOggVorbis) {
    std::string ogg = MakeOgg(dir_, "tone.ogg", 2, 22050, 0.5);
    ASSERT_FALSE(ogg.empty()) << "oggenc failed";
    Result r = Decode(ogg, "music/Tone.OGG");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.channels, 2);
    EXPECT_EQ(r.format, 2);
    EXPECT_EQ(r.hertz, 22050);
    // Half a second, more than one doubling of the 4096-frame start buffer.
    EXPECT_NEAR(r.length, 11025, 64);
    EXPECT_GT(Rms16(r.data), 1000.0);
}

TEST_F(AudioDecoder, RefusesCorruptOgg) {
    std::string ogg = MakeOgg(dir_, "tone.ogg", 1, 8000, 0.2);
    ASSERT_FALSE(ogg.empty());
    std::ifstream in(ogg, std::ios::binary);
    Bytes bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Bytes head(bytes.begin(), bytes.begin() + 20);
    EXPECT_FALSE(Decode(Put("cut.ogg", head), "cut.ogg").ok);
    EXPECT_FALSE(Decode(Put("zero.ogg", {}), "zero.ogg").ok);
    EXPECT_FALSE(Decode(Put("text.ogg", Bytes(3000, 'x')), "text.ogg").ok);
}

TEST_F(AudioDecoder, RefusalsSayWhy) {
    auto reasonFor = [&](const std::string& name, const Bytes& bytes) -> std::string {
        FILE* f = std::fopen(Put(name, bytes).c_str(), "rb");
        int length = 0, channels = 0, format = 0, hertz = 0;
        const char* reason = nullptr;
        unsigned char* p = DecodeAudioFile(f, String(name.c_str()), &length, &channels, &format, &hertz, &reason);
        std::fclose(f);
        std::free(p);
        return p ? "decoded" : reason ? reason : "no reason";
    };
    Bytes wav = WavBuilder::Pcm(1, 8000, 16, Bytes(400, 9));
    Bytes cut(wav.begin(), wav.begin() + 211);
    EXPECT_EQ(reasonFor("cut.wav", cut), "truncated WAV file");
    EXPECT_EQ(reasonFor("float.wav", WavBuilder().Header().Fmt(3, 1, 8000, 32).Chunk("data", Bytes(8, 0)).Build()),
              "not PCM audio");
    EXPECT_EQ(reasonFor("noise.ogg", Bytes(3000, 'x')), "not an Ogg Vorbis file");
    EXPECT_EQ(reasonFor("sound.mp3", wav), "not a WAV or Ogg file");
    EXPECT_EQ(reasonFor("sound.wav", wav), "decoded");
}

TEST_F(AudioDecoder, DecodesFromTheCurrentPosition) {
    // The host may hand over a file that is not at its start; the rest is read.
    Bytes prefix(7, 0xEE);
    Bytes wav = WavBuilder::Pcm(1, 8000, 8, Bytes(4, 3));
    prefix.insert(prefix.end(), wav.begin(), wav.end());
    std::string file = Put("p.wav", prefix);
    FILE* f = std::fopen(file.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::fseek(f, 7, SEEK_SET);
    int length = 0, channels = 0, format = 0, hertz = 0;
    unsigned char* p = DecodeAudioFile(f, String("p.wav"), &length, &channels, &format, &hertz);
    std::fclose(f);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(length, 4);
    std::free(p);
}

}  // namespace
