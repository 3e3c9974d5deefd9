// The whole loop with the real binary, as a player drives it: the title
// with both score lists, a mode chosen with the keyboard and started,
// steering by dragging (and, in a game of its own, with the arrow keys), pausing with Esc and with the pause icon, quitting
// from the pause menu, the game-over overlay, the title again with the new
// score, the state file on disk, and a second run that shows the same.
//
// Screenshots of every screen are kept under
// ${SOLBRIM_BUILD_DIR}/e2e-artifacts/shell/.
#include <gtest/gtest.h>
#include <stb_image.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "game/game_constants.h"
#include "game/shell/saved_record.h"
#include "tests/e2e/game_process.h"

namespace {

namespace fs = std::filesystem;

std::string ArtifactDir() {
    std::string dir = BuildFolder() + "/e2e-artifacts/shell";
    fs::create_directories(dir);
    return dir;
}

// A screenshot in memory: RGB rows, top first.
struct Shot {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;

    const unsigned char* At(int x, int y) const { return &rgb[3 * (static_cast<size_t>(y) * width + x)]; }

    // Pixels in [x0, x1) x [y0, y1) whose colour passes the test.
    int Count(int x0, int y0, int x1, int y1, const std::function<bool(int, int, int)>& test) const {
        int n = 0;
        for (int y = std::max(0, y0); y < std::min(height, y1); ++y) {
            for (int x = std::max(0, x0); x < std::min(width, x1); ++x) {
                const unsigned char* p = At(x, y);
                n += test(p[0], p[1], p[2]) ? 1 : 0;
            }
        }
        return n;
    }
};

Shot Load(const std::string& path) {
    Shot shot;
    int channels = 0;
    unsigned char* pixels = stbi_load(path.c_str(), &shot.width, &shot.height, &channels, 3);
    if (pixels) {
        shot.rgb.assign(pixels, pixels + 3 * shot.width * shot.height);
        stbi_image_free(pixels);
    }
    return shot;
}

// Pixels of any difference inside [x0, x1) x [y0, y1); every pixel there
// when the two shots differ in size.
int Differing(const Shot& a, const Shot& b, int x0, int y0, int x1, int y1) {
    if (a.width != b.width || a.height != b.height) return (x1 - x0) * (y1 - y0);
    int n = 0;
    for (int y = std::max(0, y0); y < std::min(a.height, y1); ++y)
        for (int x = std::max(0, x0); x < std::min(a.width, x1); ++x) n += std::memcmp(a.At(x, y), b.At(x, y), 3) != 0;
    return n;
}

// The side panel with the score lists, right of the menu.
constexpr int kPanelX = 500;
int PanelDiffering(const Shot& a, const Shot& b) { return Differing(a, b, kPanelX, 0, 640, 480); }

// Text colours of the title's lists and the overlay's pieces.
bool BestListText(int r, int g, int b) { return r > 200 && g > 160 && g < 235 && b > 60 && b < 140; }
bool LatestListText(int r, int g, int b) { return r > 160 && r < 235 && g > 215 && b > 60 && b < 140; }
bool PausePanelOrange(int r, int g, int b) { return r > 170 && g > 80 && g < 170 && b < 90; }
bool Bright(int r, int g, int b) { return r + g + b > 450; }
bool OverlayYellow(int r, int g, int b) { return r > 110 && g > 110 && b < 60 && std::abs(r - g) < 40; }
bool LightSky(int r, int g, int b) { return b > 200 && r > 70 && r < 200 && g > 130 && g < 230; }

// The menu's orange panel left of its resume button, over a darkened field.
bool ShowsPauseMenu(const Shot& s) {
    int panel = s.Count(200, 230, 270, 290, PausePanelOrange);
    int brightSky = s.Count(0, 60, 640, 170, Bright);
    return panel > 3800 && brightSky < 640 * 110 / 10;
}

bool ShowsLists(const Shot& s) {
    return s.Count(kPanelX, 60, 640, 230, BestListText) > 30 && s.Count(kPanelX, 260, 640, 440, LatestListText) > 30;
}

// The play field running: its light sky fills most of the window (the
// pause menu darkens it, the title has none).
bool ShowsPlay(const Shot& s) { return s.Count(0, 0, s.width, s.height, LightSky) > s.width * s.height * 2 / 5; }

bool ShowsGameOver(const Shot& s) { return s.Count(0, 206, 300, 226, OverlayYellow) > 2000; }

// The centre of the ball's pixels (black, or green while it is protected),
// leaving out the green score digits at the top; nothing when there are
// too few to be the ball.
std::optional<double> BallX(const Shot& s) {
    auto ball = [](int r, int g, int b) { return r + g + b < 60 || (g > r + 40 && g > b + 10); };
    long n = 0, sum = 0;
    for (int y = 0; y < s.height; ++y)
        for (int x = 0; x < s.width; ++x) {
            if (y < 45 && x > 240 && x < 400) continue;
            const unsigned char* p = s.At(x, y);
            if (ball(p[0], p[1], p[2])) ++n, sum += x;
        }
    if (n <= 100) return std::nullopt;
    return static_cast<double>(sum) / static_cast<double>(n);
}

SavedRecord SeedRecord() {
    SavedRecord r;
    r.settings[kSettingMoveSpeed] = 5;
    r.settings[kSettingSoundMode] = 0;  // silent: the test needs no audio device to be heard
    r.settings[10] = r.settings[11] = 64;  // values the game keeps as they are (it raises lower ones)
    r.settings[12] = 10;
    r.best[1] = {500, 300};
    r.recent[1] = {300, 500};
    r.best[0] = {40, 30, 20, 10};
    r.recent[0] = {40, 30, 20, 10};
    return r;
}

SavedRecordLoad StateOnDisk(const std::string& workDir) {
    std::string bytes = ReadFile(workDir + "/.vellumstate");
    return ReadSavedRecord(String::Decode(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
}

class ShellLoop : public ::testing::Test {
protected:
    // A screenshot kept as <name>.png among the artefacts, in memory.
    static Shot Snap(GameProcess& game, const std::string& name) {
        std::string path = ArtifactDir() + "/" + name + ".png";
        game.Screenshot(path);
        return Load(path);
    }

    // Whether screenshots (kept as `name`) show it on two polls in a row;
    // *last gets the last one.
    static bool WaitFor(GameProcess& game, const std::string& name, bool (*shows)(const Shot&), Shot* last) {
        return WaitUntilSteady(15, [&] { return shows(*last = Snap(game, name)); });
    }
    // The predicate for HoldKey and HoldButton, keeping the screenshot.
    static std::function<bool()> Showing(GameProcess& game, const std::string& name, bool (*shows)(const Shot&),
                                         Shot* last) {
        return [&game, name, shows, last] { return shows(*last = Snap(game, name)); };
    }

    // Waits until the title stands still with its lists in place: the menu
    // slides in with the lists, so two screenshots in a row with the same
    // side panel show it has arrived. The last is kept as `name`.
    static bool WaitForSettledTitle(GameProcess& game, const std::string& name, Shot* last) {
        Shot previous;
        return WaitUntil(20, [&] {
            *last = Snap(game, name);
            bool settled = ShowsLists(*last) && ShowsLists(previous) && PanelDiffering(previous, *last) == 0;
            previous = *last;
            return settled;
        });
    }
};

TEST_F(ShellLoop, TitleGameGameOverTitleAndASecondRun) {
    GameProcess game;
    ASSERT_TRUE(game.Start());
    {
        std::ofstream state(game.WorkDir() + "/.vellumstate", std::ios::binary);
        state << WriteSavedRecord(SeedRecord()).ToUtf8();
    }
    ASSERT_FALSE(game.WaitForWindow().empty()) << game.Stdout() << game.Stderr();
    game.MoveMouse(320, 240);
    game.Focus();

    // The title, mode 2 selected, both lists of that mode.
    Shot titleMode2;
    ASSERT_TRUE(WaitForSettledTitle(game, "01-title", &titleMode2)) << "no title" << game.Stdout() << game.Stderr();
    EXPECT_NE(game.Stdout().find("Settings Loaded"), std::string::npos);
    EXPECT_NE(game.Stdout().find("Highscore 2 Loaded"), std::string::npos);

    // Left selects mode 1: its lists replace those of mode 2.
    Shot titleMode1;
    EXPECT_TRUE(game.HoldKey("Left", 10, [&] {
        titleMode1 = Snap(game, "02-title-mode1");
        return ShowsLists(titleMode1) && PanelDiffering(titleMode2, titleMode1) > 50;
    })) << "Left did not change the lists";

    // Return starts the game: the lists give way to the play field.
    Shot play;
    ASSERT_TRUE(game.HoldKey("Return", 10, Showing(game, "03-play", ShowsPlay, &play))) << "Return started no game";
    EXPECT_FALSE(ShowsLists(play));

    // Steering: pressed in the middle and dragged to the left and up, the
    // ball goes left; the button is held until it has.
    std::optional<double> startX = BallX(play);
    ASSERT_TRUE(startX.has_value()) << "no ball on the play field";
    EXPECT_TRUE(game.Drag({320, 240}, {240, 200}, 10, 10, [&] {
        std::optional<double> x = BallX(Snap(game, "04-steered"));
        return x && *x < *startX - 30;
    })) << "the ball did not go left of x " << *startX;
    ASSERT_TRUE(game.Running());

    // Esc pauses: the menu panel comes down; Esc again resumes.
    Shot shot;
    EXPECT_TRUE(game.HoldKey("Escape", 10, Showing(game, "05-paused-esc", ShowsPauseMenu, &shot)))
        << "Escape opened no pause menu";
    EXPECT_TRUE(game.HoldKey("Escape", 10, Showing(game, "06-resumed", ShowsPlay, &shot)))
        << "Escape did not resume the game";
    EXPECT_FALSE(ShowsPauseMenu(shot));

    // The pause icon in the top-left corner pauses too.
    EXPECT_TRUE(game.HoldButton(16, 16, 10, Showing(game, "07-paused-icon", ShowsPauseMenu, &shot)))
        << "the pause icon opened no pause menu";

    // The quit button, left above the panel's middle, ends the game; the
    // overlay withdraws to the title soon after.
    EXPECT_TRUE(game.HoldButton(180, 184, 10, Showing(game, "08-game-over", ShowsGameOver, &shot), [&] {
        Shot s = Snap(game, "08-game-over-after");
        return ShowsGameOver(s) || ShowsLists(s);
    })) << "the quit button brought no game-over overlay";

    // Back on the title with the game in the latest list of mode 1, once
    // the overlay has withdrawn and the menu slid back in.
    Shot after;
    ASSERT_TRUE(WaitForSettledTitle(game, "09-title-after", &after)) << "no title after the game";
    EXPECT_GT(PanelDiffering(titleMode1, after), 50);
    SavedRecord seed = SeedRecord();
    SavedRecordLoad saved;
    ASSERT_TRUE(WaitUntil(10, [&] {
        saved = StateOnDisk(game.WorkDir());
        return saved.tables[0] == BlockResult::Loaded && saved.record.recent[0][1] == seed.recent[0][0];
    })) << "the state file never held the game in mode 1's latest list: " << ReadFile(game.WorkDir() + "/.vellumstate");
    ASSERT_EQ(saved.settings, BlockResult::Loaded);
    ASSERT_EQ(saved.badges, BlockResult::Loaded);
    for (BlockResult t : saved.tables) ASSERT_EQ(t, BlockResult::Loaded);
    EXPECT_EQ(saved.record.recent[0][4], 10);  // the seeded games moved down one
    int score = saved.record.recent[0][0];
    EXPECT_GE(score, 0);
    EXPECT_EQ(saved.record.best[1], seed.best[1]);  // mode 2 untouched
    EXPECT_EQ(saved.record.recent[1], seed.recent[1]);

    // The close button ends the game cleanly and leaves a valid record.
    game.SendCloseRequest();
    std::optional<int> status = game.WaitExit();
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 0) << game.Stdout() << game.Stderr();
    SavedRecordLoad closed = StateOnDisk(game.WorkDir());
    ASSERT_EQ(closed.tables[0], BlockResult::Loaded);
    EXPECT_EQ(closed.record.recent[0][0], score);

    // A second run in the same place shows the same title and lists.
    GameProcess::Options again;
    again.workDir = game.WorkDir();
    GameProcess second(again);
    ASSERT_TRUE(second.Start());
    ASSERT_FALSE(second.WaitForWindow().empty()) << second.Stdout() << second.Stderr();
    second.MoveMouse(320, 240);
    second.Focus();
    Shot secondMode2;
    ASSERT_TRUE(WaitForSettledTitle(second, "10-second-run-start", &secondMode2)) << "no title on the second run";
    Shot secondRun;
    EXPECT_TRUE(second.HoldKey("Left", 10, [&] {  // mode 1 again
        secondRun = Snap(second, "10-second-run");
        return ShowsLists(secondRun) && PanelDiffering(secondMode2, secondRun) > 50;
    })) << "Left did not change the lists on the second run";
    EXPECT_LT(PanelDiffering(after, secondRun), 20);
    EXPECT_LT(Differing(after, secondRun, 0, 0, 640, 480), 640 * 480 / 100);
    second.SendCloseRequest();
    EXPECT_EQ(second.WaitExit().value_or(-1), 0);
}

// The arrow keys steer during play: Right held for about a second takes
// the ball right, and it keeps going once the key is let go.
TEST_F(ShellLoop, HeldArrowKeySteersTheBall) {
    GameProcess game;
    ASSERT_TRUE(game.Start());
    ASSERT_FALSE(game.WaitForWindow().empty()) << game.Stdout() << game.Stderr();
    game.MoveMouse(320, 240);
    game.Focus();
    Shot play;
    ASSERT_TRUE(WaitUntil(20, [&] { return ShowsLists(Snap(game, "20-keys-title")); })) << "no title";
    ASSERT_TRUE(game.HoldKey("Return", 10, Showing(game, "21-keys-play", ShowsPlay, &play))) << "no game";
    std::optional<double> startX = BallX(play);
    ASSERT_TRUE(startX.has_value()) << "no ball on the play field";
    EXPECT_TRUE(game.HoldKey("Right", 10, [&] {
        std::optional<double> x = BallX(Snap(game, "22-keys-steered"));
        return x && *x > *startX + 40;
    })) << "the ball did not go right of x " << *startX;
    game.SendCloseRequest();
    EXPECT_EQ(game.WaitExit().value_or(-1), 0);
}

}  // namespace
