// The guarded decoder: every channel count decodes with the file's own
// depth; anything that is not a sane PNG is refused before stb_image sees it.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "codec/image_decoder.h"
#include "tests/graphics/test_png.h"

namespace {

std::vector<unsigned char> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct Decoded {
    unsigned char* pixels = nullptr;
    int width = -1, height = -1, depth = -1;
    ~Decoded() { FreeImageData(pixels); }
};

void DecodeBytes(std::vector<unsigned char> bytes, Decoded& out) {
    FILE* file = fmemopen(bytes.data(), bytes.size(), "rb");
    ASSERT_NE(file, nullptr);
    out.pixels = DecodeImageFile(file, &out.width, &out.height, &out.depth);
    std::fclose(file);
}

std::vector<unsigned char> Gradient(int width, int height, int channels) {
    std::vector<unsigned char> px(static_cast<size_t>(width) * height * channels);
    for (size_t i = 0; i < px.size(); ++i) px[i] = static_cast<unsigned char>(i * 7 + 3);
    return px;
}

TEST(ImageDecoder, DecodesEachChannelCountWithTheFilesOwnDepth) {
    for (int channels = 1; channels <= 4; ++channels) {
        std::vector<unsigned char> px = Gradient(5, 3, channels);
        std::string path = WriteTestPng("depth" + std::to_string(channels) + ".png", 5, 3, channels, px.data());
        Decoded d;
        DecodeBytes(ReadFile(path), d);
        ASSERT_NE(d.pixels, nullptr) << channels;
        EXPECT_EQ(d.width, 5);
        EXPECT_EQ(d.height, 3);
        EXPECT_EQ(d.depth, channels);
        // Rows stay top to bottom: the bytes come back as written.
        EXPECT_EQ(std::vector<unsigned char>(d.pixels, d.pixels + px.size()), px) << channels;
    }
}

TEST(ImageDecoder, LeavesTheFileOpenAndStartsAtItsCurrentPosition) {
    std::vector<unsigned char> px = Gradient(2, 2, 4);
    std::vector<unsigned char> bytes = ReadFile(WriteTestPng("offset.png", 2, 2, 4, px.data()));
    bytes.insert(bytes.begin(), {'j', 'u', 'n', 'k'});
    FILE* file = fmemopen(bytes.data(), bytes.size(), "rb");
    ASSERT_NE(file, nullptr);
    std::fseek(file, 4, SEEK_SET);
    int w = 0, h = 0, depth = 0;
    unsigned char* pixels = DecodeImageFile(file, &w, &h, &depth);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(depth, 4);
    FreeImageData(pixels);
    EXPECT_EQ(std::fseek(file, 0, SEEK_SET), 0);  // still open
    std::fclose(file);
}

TEST(ImageDecoder, RefusesWhatIsNotASanePng) {
    std::string corpus = std::string(SOLBRIM_SOURCE_DIR) + "/fuzz/corpus/image_decoder/";
    const char* refused[] = {
        "empty", "signature_only.png", "wrong_signature.png", "jpeg_header.jpg", "gif_header.gif",
        "bmp_header.bmp", "truncated_12.png", "truncated_20.png", "truncated_40.png", "huge_8193x1.png",
        "huge_1x8193.png", "huge_8192x8193.png", "huge_2147483647x1.png", "huge_4294967295x4294967295.png",
        "huge_65535x65535.png", "huge_0x5.png", "huge_5x0.png", "huge_8192x8192.png", "corrupt_zlib.png",
        "no_idat.png", "no_ihdr.png", "bad_depth.png", "bad_colour_type.png", "chunk_length_huge.png",
        "short_idat.png",
    };
    for (const char* name : refused) {
        Decoded d;
        std::vector<unsigned char> bytes = ReadFile(corpus + name);
        if (bytes.empty()) bytes.push_back(0);  // fmemopen needs one byte
        DecodeBytes(bytes, d);
        EXPECT_EQ(d.pixels, nullptr) << name;
        EXPECT_EQ(d.width, -1) << name << ": outputs untouched on refusal";
    }
}

// The few words a player sees for a file the game could not load.
TEST(ImageDecoder, RefusalsSayWhy) {
    std::string corpus = std::string(SOLBRIM_SOURCE_DIR) + "/fuzz/corpus/image_decoder/";
    struct Case {
        const char* name;
        const char* reason;
    } cases[] = {
        {"jpeg_header.jpg", "not a PNG image"},     {"signature_only.png", "damaged PNG header"},
        {"huge_8193x1.png", "image too large"},     {"huge_8192x8193.png", "image too large"},
        {"huge_0x5.png", "damaged PNG header"},     {"corrupt_zlib.png", "truncated or damaged PNG"},
        {"short_idat.png", "truncated or damaged PNG"},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> bytes = ReadFile(corpus + c.name);
        FILE* file = fmemopen(bytes.data(), bytes.size(), "rb");
        ASSERT_NE(file, nullptr) << c.name;
        int w = 0, h = 0, depth = 0;
        const char* reason = nullptr;
        EXPECT_EQ(DecodeImageFile(file, &w, &h, &depth, &reason), nullptr) << c.name;
        std::fclose(file);
        EXPECT_STREQ(reason, c.reason) << c.name;
    }
    // A good file's tail cut off, as a copy broken off half-way leaves it.
    std::vector<unsigned char> px = Gradient(64, 48, 3);
    std::vector<unsigned char> whole = ReadFile(WriteTestPng("cut.png", 64, 48, 3, px.data()));
    std::vector<unsigned char> cut(whole.begin(), whole.begin() + static_cast<long>(whole.size() * 2 / 3));
    FILE* file = fmemopen(cut.data(), cut.size(), "rb");
    int w = 0, h = 0, depth = 0;
    const char* reason = nullptr;
    EXPECT_EQ(DecodeImageFile(file, &w, &h, &depth, &reason), nullptr);
    std::fclose(file);
    EXPECT_STREQ(reason, "truncated or damaged PNG");
}

TEST(ImageDecoder, CorpusValidFilesDecode) {
    std::string corpus = std::string(SOLBRIM_SOURCE_DIR) + "/fuzz/corpus/image_decoder/";
    struct Case {
        const char* name;
        int width, height, depth;
    } cases[] = {
        {"valid_grey_4x3.png", 4, 3, 1},     {"valid_greyalpha_4x3.png", 4, 3, 2},
        {"valid_rgb_4x3.png", 4, 3, 3},      {"valid_rgba_4x3.png", 4, 3, 4},
        {"valid_palette_4x3.png", 4, 3, 4},  {"valid_rgba_16bit.png", 3, 2, 4},
        {"valid_interlaced.png", 9, 9, 3},   {"valid_filter4.png", 5, 4, 4},
    };
    for (const Case& c : cases) {
        Decoded d;
        DecodeBytes(ReadFile(corpus + c.name), d);
        ASSERT_NE(d.pixels, nullptr) << c.name;
        EXPECT_EQ(d.width, c.width) << c.name;
        EXPECT_EQ(d.height, c.height) << c.name;
        EXPECT_EQ(d.depth, c.depth) << c.name;
    }
}

TEST(ImageDecoder, NullFileIsRefused) {
    int w, h, d;
    EXPECT_EQ(DecodeImageFile(nullptr, &w, &h, &d), nullptr);
}

}  // namespace
