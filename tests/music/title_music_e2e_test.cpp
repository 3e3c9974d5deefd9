// The real game on the title screen with OpenAL Soft writing its mix to a
// file: with the music switch on, the title music is audible and is music
// (beats and changing pitches, not one sample over and over); without it,
// the title is silent.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/game_process.h"

namespace {

std::uint32_t Le(const std::vector<unsigned char>& b, std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | b[at + i];
    return v;
}

// The captured mix folded to mono, whatever sample type the backend chose.
struct Capture {
    std::vector<float> mono;
    int hertz = 0;
};

Capture ReadCapture(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Capture c;
    if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0) return c;
    int tag = 0, bits = 0, channels = 0;
    for (std::size_t at = 12; at + 8 <= b.size();) {
        std::uint32_t size = Le(b, at + 4, 4);
        std::size_t body = at + 8;
        if (std::memcmp(&b[at], "fmt ", 4) == 0) {
            tag = static_cast<int>(Le(b, body, 2));
            channels = static_cast<int>(Le(b, body + 2, 2));
            c.hertz = static_cast<int>(Le(b, body + 4, 4));
            bits = static_cast<int>(Le(b, body + 14, 2));
            if (tag == 0xFFFE) tag = static_cast<int>(Le(b, body + 24, 2));
        } else if (std::memcmp(&b[at], "data", 4) == 0) {
            // A file still being written has no final size yet: read to its end.
            std::size_t end = (size == 0 || body + size > b.size()) ? b.size() : body + size;
            std::size_t frame = static_cast<std::size_t>(bits / 8) * std::max(channels, 1);
            for (std::size_t i = body; frame > 0 && i + frame <= end; i += frame) {
                float sum = 0;
                for (int ch = 0; ch < channels; ++ch) {
                    std::size_t s = i + static_cast<std::size_t>(ch) * (bits / 8);
                    if (tag == 3 && bits == 32) {
                        std::uint32_t u = Le(b, s, 4);
                        float f;
                        std::memcpy(&f, &u, 4);
                        sum += f;
                    } else if (tag == 1 && bits == 16) {
                        sum += static_cast<std::int16_t>(Le(b, s, 2)) / 32768.0f;
                    }
                }
                c.mono.push_back(sum / channels);
            }
            break;
        }
        at = body + size + (size & 1);
    }
    return c;
}

// Per 25 ms window: loudness, the loudness of the sample-to-sample change
// (which strikes of drums and notes make jump) and a rough pitch (zero
// crossings per second).
struct Window {
    double rms = 0;
    double changeRms = 0;
    double crossings = 0;
};

constexpr int kWindowsPerSecond = 40;

std::vector<Window> Windows(const Capture& c) {
    std::vector<Window> out;
    std::size_t n = static_cast<std::size_t>(c.hertz / kWindowsPerSecond);
    for (std::size_t at = 1; n > 0 && at + n <= c.mono.size(); at += n) {
        Window w;
        int crossings = 0;
        for (std::size_t i = at; i < at + n; ++i) {
            double change = static_cast<double>(c.mono[i]) - c.mono[i - 1];
            w.rms += static_cast<double>(c.mono[i]) * c.mono[i];
            w.changeRms += change * change;
            if ((c.mono[i - 1] < 0) != (c.mono[i] < 0)) ++crossings;
        }
        w.rms = std::sqrt(w.rms / static_cast<double>(n));
        w.changeRms = std::sqrt(w.changeRms / static_cast<double>(n));
        w.crossings = crossings * static_cast<double>(kWindowsPerSecond);
        out.push_back(w);
    }
    return out;
}

// Runs the game on its title for `seconds` with the mix going to a file,
// then closes it as a window manager would; the capture.
Capture CaptureTitle(double seconds) {
    char dir[] = "/tmp/solbrim-music-e2e-XXXXXX";
    if (!mkdtemp(dir)) return {};
    std::string out = std::string(dir) + "/mix.wav";
    std::string conf = std::string(dir) + "/alsoft.conf";
    std::ofstream(conf) << "[general]\ndrivers = wave\n[wave]\nfile = " << out << "\n";

    GameProcess::Options options;
    options.env = {"ALSOFT_CONF=" + conf};
    GameProcess game(options);
    Capture capture;
    if (game.Start() && !game.WaitForWindow().empty()) {
        std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
        game.SendCloseRequest();
        std::optional<int> status = game.WaitExit(10);
        EXPECT_TRUE(status.has_value());
        if (status) {
            EXPECT_EQ(*status, 0) << game.Stdout() << game.Stderr();
        }
        capture = ReadCapture(out);
    } else {
        ADD_FAILURE() << "the game did not open its window: " << game.Stdout() << game.Stderr();
    }
    std::remove(out.c_str());
    std::remove(conf.c_str());
    rmdir(dir);
    return capture;
}

#if SOLBRIM_MUSIC_BUILD

TEST(TitleMusicE2E, TitleMusicIsAudibleAndVaried) {
    Capture capture = CaptureTitle(6);
    ASSERT_GT(capture.hertz, 0) << "no capture written";
    std::vector<Window> windows = Windows(capture);
    ASSERT_GT(windows.size(), 3u * kWindowsPerSecond) << "at least three seconds captured";

    double loudest = 0;
    for (const Window& w : windows) loudest = std::max(loudest, w.rms);
    int sounding = 0, onsets = 0;
    std::set<int> pitchBands;  // semitones of the windows' rough pitch
    for (std::size_t i = 0; i < windows.size(); ++i) {
        if (windows[i].rms > 0.01) {
            ++sounding;
            pitchBands.insert(static_cast<int>(std::lround(12 * std::log2(std::max(windows[i].crossings, 1.0) / 55.0))));
        }
        if (i > 0 && windows[i].changeRms > 0.01 && windows[i].changeRms > 1.5 * windows[i - 1].changeRms) ++onsets;
    }
    std::printf("capture: %zu windows, loudest RMS %.3f, %d sounding, %d onsets, %zu pitch bands\n",
                windows.size(), loudest, sounding, onsets, pitchBands.size());
    EXPECT_GT(loudest, 0.05) << "audible";
    EXPECT_GT(sounding, static_cast<int>(windows.size()) / 3) << "music most of the time, not a blip";
    // About six strikes a second once the song has loaded.
    EXPECT_GE(onsets, 10) << "struck notes and drums, not one held sound";
    EXPECT_GE(pitchBands.size(), 4u) << "changing sounds, not one sample repeated";
}

#else

TEST(TitleMusicE2E, TitleIsSilentWithoutTheMusicSwitch) {
    Capture capture = CaptureTitle(4);
    ASSERT_GT(capture.hertz, 0) << "no capture written";
    std::vector<Window> windows = Windows(capture);
    ASSERT_GT(windows.size(), 2u * kWindowsPerSecond);
    double loudest = 0;
    for (const Window& w : windows) loudest = std::max(loudest, w.rms);
    std::printf("capture: %zu windows, loudest RMS %.6f\n", windows.size(), loudest);
    EXPECT_LT(loudest, 0.001);
}

#endif

}  // namespace
