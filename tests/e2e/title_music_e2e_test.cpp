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
#include <vector>

#include "tests/e2e/game_process.h"
#include "tests/e2e/installed_game.h"

namespace {

constexpr int kCaptureHertz = 44100;

// The captured mix folded to mono floats at 44.1 kHz by sox (the wave
// backend's header is incomplete until the device closes, hence
// --ignore-length).
struct Capture {
    std::vector<float> mono;
    int hertz = 0;
};

Capture ReadCapture(const std::string& file) {
    std::string raw = file + ".f32";
    int status = -1;
    RunCommand("sox --ignore-length " + ShellQuote(file) + " -t raw -e floating-point -b 32 -c 1 -r " +
                   std::to_string(kCaptureHertz) + " " + ShellQuote(raw) + " 2>/dev/null",
               &status);
    Capture c;
    std::ifstream in(raw, std::ios::binary);
    float sample;
    while (status == 0 && in.read(reinterpret_cast<char*>(&sample), sizeof sample)) c.mono.push_back(sample);
    if (!c.mono.empty()) c.hertz = kCaptureHertz;
    std::remove(raw.c_str());
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

// Seconds of mix in the wave file so far: the data chunk's bytes over the
// byte rate of its format chunk (the backend writes both headers first and
// fills in the lengths only when the device closes); 0 before the headers.
double SecondsWritten(const std::string& file) {
    std::string bytes = ReadFile(file);
    std::size_t fmt = bytes.find("fmt "), data = bytes.find("data");
    if (fmt == std::string::npos || data == std::string::npos || bytes.size() < fmt + 20) return 0;
    std::uint32_t byteRate = 0;
    std::memcpy(&byteRate, bytes.data() + fmt + 16, sizeof byteRate);  // after id, size, format, channels, rate
    std::size_t start = data + 8;
    if (byteRate == 0 || bytes.size() < start) return 0;
    return static_cast<double>(bytes.size() - start) / byteRate;
}

// Runs the game with the mix going to a file until the title is drawn and
// `seconds` more of mix are written, then closes it as a window manager
// would; the capture.
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
        EXPECT_TRUE(DrawsTheTitle(game, std::string(dir) + "/title.png")) << "no title drawn";
        double atTitle = SecondsWritten(out);
        EXPECT_TRUE(WaitUntil(seconds + 30, [&] { return SecondsWritten(out) >= atTitle + seconds; }))
            << "the mix file stopped growing at " << SecondsWritten(out) << " s";
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
    std::remove((std::string(dir) + "/title.png").c_str());
    rmdir(dir);
    return capture;
}

#if SOLBRIM_MUSIC

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
