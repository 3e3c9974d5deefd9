// The real game binary under the test's X display: the animated loading
// screen with the maker emblem, then the title; a larger window reloads the
// assets in their largest resolution; the close button saves and quits.
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "game/shell/saved_record.h"
#include "tests/e2e/game_process.h"
#include "tests/e2e/game_process_test.h"
#include "tests/e2e/loading_screen.h"

namespace {

// Names of the files opened in the asset folders while it watches.
class AssetOpenWatch {
public:
    AssetOpenWatch() {
        fd_ = inotify_init1(IN_NONBLOCK);
        for (const char* sub : {"", "/common", "/fonts", "/sfx"}) {
            inotify_add_watch(fd_, (BuildFolder() + "/data" + sub).c_str(), IN_OPEN);
        }
    }
    ~AssetOpenWatch() { close(fd_); }

    const std::set<std::string>& Opened() {
        alignas(inotify_event) char buffer[16384];
        for (;;) {
            ssize_t n = read(fd_, buffer, sizeof buffer);
            if (n <= 0) break;
            for (char* p = buffer; p < buffer + n;) {
                auto* event = reinterpret_cast<inotify_event*>(p);
                if (event->len > 0) opened_.insert(event->name);
                p += sizeof(inotify_event) + event->len;
            }
        }
        return opened_;
    }
    bool Saw(const std::string& name) { return Opened().count(name) > 0; }
    void Forget() {
        Opened();
        opened_.clear();
    }

private:
    int fd_ = -1;
    std::set<std::string> opened_;
};

// "WxH" of an image file.
std::string ImageSize(const std::string& image) { return RunHelper("identify -format %wx%h " + ShellQuote(image)); }

int CentreColours(const std::string& image, const std::string& dir, int size, int cx, int cy) {
    std::string crop = dir + "/centre.png";
    RunHelper("convert " + ShellQuote(image) + " -crop " + std::to_string(size) + "x" + std::to_string(size) + "+" +
               std::to_string(cx - size / 2) + "+" + std::to_string(cy - size / 2) + " +repage " +
               ShellQuote(crop));
    return CountColours(crop);
}

// The band of a loading screenshot that its rings run in: they circle the
// window's centre at a quarter of its shorter side, with dots of radius 8 in
// 480. The emblem inside the band is loaded again, in another resolution,
// while loading goes on, so only the band tells whether the rings turned.
struct RingBand {
    explicit RingBand(const std::string& shot) : path(shot.substr(0, shot.size() - 4) + "-rings.png") {
        int width = 0, height = 0;
        std::sscanf(ImageSize(shot).c_str(), "%dx%d", &width, &height);
        int cx = width / 2, cy = height / 2, side = std::min(width, height);
        auto disc = [&](double radius) {
            return "-draw " + ShellQuote("circle " + std::to_string(cx) + "," + std::to_string(cy) + " " +
                                         std::to_string(cx + static_cast<int>(radius * side)) + "," +
                                         std::to_string(cy));
        };
        // Everything outside the band painted black.
        RunHelper("convert " + ShellQuote(shot) + " \\( +clone -fill black -colorize 100 -fill white " +
                  disc(0.29) + " -fill black " + disc(0.2) + " \\) -compose multiply -composite " +
                  ShellQuote(path));
        double dotRadius = 8.0 * side / 480;
        dotArea = static_cast<long>(3.14159 * dotRadius * dotRadius);
    }
    // Whether the rings stand elsewhere than in an earlier band of the same
    // size. A turn moves all 22 dots; redrawing the same picture after a
    // resize changes only the edges of a few.
    bool TurnedSince(const RingBand& earlier) const { return DifferingPixels(earlier.path, path) > 6 * dotArea; }

    std::string path;
    long dotArea = 0;
};

class GameE2eTest : public GameProcessTest {
protected:
    void Resize(int width, int height) {
        RunHelper("xdotool windowmove " + game.WindowId() + " 0 0 windowsize " + game.WindowId() + " " +
                   std::to_string(width) + " " + std::to_string(height));
    }

    AssetOpenWatch watch;  // made before SetUp starts the game
};

TEST_F(GameE2eTest, LoadingScreenAnimatesThenTheTitleShows) {
    // Loading takes a fraction of a second and every resize restarts it:
    // whenever a screenshot shows no loading screen the window is resized
    // again. The rings turn on from one loading to the next, so any two
    // loading screenshots of one size whose ring bands differ show them
    // turned, however few screenshots a busy machine manages of each loading.
    std::map<std::string, std::vector<RingBand>> bandsBySize;
    std::string turnedShot;
    int shots = 0;
    bool turned = WaitUntil(90, [&] {
        std::string shot = Shot("loading" + std::to_string(shots++));
        if (!ShowsLoading(shot)) {
            Resize(1280, shots % 2 ? 960 : 959);
            return false;
        }
        RingBand band(shot);
        std::vector<RingBand>& sameSize = bandsBySize[ImageSize(shot)];
        bool differs = std::any_of(sameSize.begin(), sameSize.end(),
                                   [&](const RingBand& earlier) { return band.TurnedSince(earlier); });
        sameSize.push_back(band);
        if (differs) turnedShot = shot;
        return differs;
    });
    ASSERT_TRUE(turned) << "no two screenshots of the loading screen at one size with the rings turned, in " << shots
                        << " shots";

    // The emblem stands at the centre, over the sun: a dark, many-coloured
    // picture rather than the flat yellow of the backdrop alone.
    int height = game.Geometry().height, width = game.Geometry().width;
    EXPECT_GT(CentreColours(turnedShot, game.WorkDir(), height / 4, width / 2, static_cast<int>(height * 0.48)),
              100);

    // Left alone, loading ends and the title replaces the backdrop.
    std::string title;
    ASSERT_TRUE(WaitUntilSteady(10, [&] { return !ShowsLoading(title = Shot("title")); })) << "loading never ended";
    EXPECT_GT(CountColours(title), 200);
}

TEST_F(GameE2eTest, LargerWindowLoadsTheLargestImages) {
    // The 640 x 480 window loads the "-hd" files.
    ASSERT_TRUE(WaitUntil(10, [&] { return watch.Saw("eyes-hd.png"); })) << "eyes-hd.png never opened";
    EXPECT_TRUE(watch.Saw("menu-hd.png"));
    EXPECT_TRUE(watch.Saw("TIRNLogo-hd.png"));
    EXPECT_TRUE(watch.Saw("001.wav"));
    EXPECT_FALSE(watch.Saw("menu-hd2.png"));
    EXPECT_FALSE(watch.Saw("menu.png"));

    watch.Forget();
    Resize(1280, 960);
    ASSERT_TRUE(WaitUntil(10, [&] { return watch.Saw("eyes-hd2.png"); })) << "eyes-hd2.png never opened";
    EXPECT_TRUE(watch.Saw("menu-hd2.png"));
    EXPECT_TRUE(watch.Saw("editundo-hd2.png"));
    EXPECT_FALSE(watch.Saw("menu-hd.png"));
    WindowGeometry g = game.Geometry();
    EXPECT_EQ(g.width, 1280);
    EXPECT_EQ(g.height, 960);
}

TEST_F(GameE2eTest, CloseButtonSavesAndQuits) {
    ASSERT_TRUE(WaitUntil(10, [&] { return watch.Saw("eyes-hd.png"); })) << "eyes-hd.png never opened";
    std::remove((game.WorkDir() + "/.vellumstate").c_str());
    game.SendCloseRequest();
    std::optional<int> status = game.WaitExit(10);
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 0) << game.Stdout() << game.Stderr();
    EXPECT_EQ(game.Stdout().find("Vellum Runtime Error"), std::string::npos) << game.Stdout();
    // The whole record, each field followed by "|".
    std::string state = ReadFile(game.WorkDir() + "/.vellumstate");
    EXPECT_EQ(std::count(state.begin(), state.end(), '|'), SavedRecord::kFields) << state;
}

}  // namespace
