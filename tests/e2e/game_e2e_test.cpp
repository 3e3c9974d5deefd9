// The real game binary under the test's X display: the animated loading
// screen with the maker emblem, then the title; a larger window reloads the
// assets in their largest resolution; the close button saves and quits.
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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
    // again, until screenshots in a row of one loading, at one size, show
    // the rings turned.
    std::vector<std::string> loading;  // the current row of loading screenshots
    int shots = 0;
    bool turned = WaitUntil(30, [&] {
        std::string shot = Shot("loading" + std::to_string(shots++));
        if (!ShowsLoading(shot) || (!loading.empty() && ImageSize(shot) != ImageSize(loading.front()))) {
            loading.clear();
            if (!ShowsLoading(shot)) Resize(1280, shots % 2 ? 960 : 959);
        }
        if (ShowsLoading(shot)) loading.push_back(shot);
        return loading.size() >= 2 && DifferingPixels(loading.front(), loading.back()) > 50;
    });
    ASSERT_TRUE(turned) << "no two screenshots of one loading with the rings turned, in " << shots << " shots";

    // The emblem stands at the centre, over the sun: a dark, many-coloured
    // picture rather than the flat yellow of the backdrop alone.
    int height = game.Geometry().height, width = game.Geometry().width;
    EXPECT_GT(CentreColours(loading.back(), game.WorkDir(), height / 4, width / 2, static_cast<int>(height * 0.48)),
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
