// The whole loop with the real binary, as a player drives it: the title
// with both score lists, a mode chosen with the keyboard and started,
// steering by dragging, pausing with Esc and with the pause icon, quitting
// from the pause menu, the game-over overlay, the title again with the new
// score, the state file on disk, and a second run that shows the same.
//
// Screenshots of every screen are kept under
// ${SOLBRIM_BUILD_DIR}/e2e-artifacts/shell/.
#include <gtest/gtest.h>
#include <stb_image.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "game/shell/saved_record.h"
#include "tests/e2e/game_process.h"

namespace {

namespace fs = std::filesystem;

std::string ArtifactDir() {
    std::string dir = BuildFolder() + "/e2e-artifacts/shell";
    fs::create_directories(dir);
    return dir;
}

void Sleep(double seconds) { std::this_thread::sleep_for(std::chrono::duration<double>(seconds)); }

// A screenshot in memory: RGB rows, top first.
struct Shot {
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;

    // Pixels in [x0, x1) x [y0, y1) whose colour passes the test.
    int Count(int x0, int y0, int x1, int y1, const std::function<bool(int, int, int)>& test) const {
        int n = 0;
        for (int y = std::max(0, y0); y < std::min(height, y1); ++y) {
            for (int x = std::max(0, x0); x < std::min(width, x1); ++x) {
                const unsigned char* p = &rgb[3 * (static_cast<size_t>(y) * width + x)];
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

// Text colours of the title's lists and the overlay's pieces.
bool BestListText(int r, int g, int b) { return r > 200 && g > 160 && g < 235 && b > 60 && b < 140; }
bool LatestListText(int r, int g, int b) { return r > 160 && r < 235 && g > 215 && b > 60 && b < 140; }
bool PausePanelOrange(int r, int g, int b) { return r > 170 && g > 80 && g < 170 && b < 90; }
bool Bright(int r, int g, int b) { return r + g + b > 450; }
bool OverlayYellow(int r, int g, int b) { return r > 110 && g > 110 && b < 60 && std::abs(r - g) < 40; }

SavedRecord SeedRecord() {
    SavedRecord r;
    r.settings[1] = 5;
    r.settings[5] = 0;  // silent: the test needs no audio device to be heard
    r.settings[10] = r.settings[11] = 64;
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
    std::string Snap(GameProcess& game, const std::string& name) {
        std::string path = ArtifactDir() + "/" + name + ".png";
        EXPECT_TRUE(game.Screenshot(path)) << name;
        return path;
    }

    // Held long enough for an update to see it down (controls read held keys).
    static void Press(GameProcess& game, const std::string& key) {
        game.KeyDown(key);
        Sleep(0.15);
        game.KeyUp(key);
        Sleep(0.15);
    }

    static void Mouse(const std::string& args) { RunCommand("xdotool " + args + " >/dev/null 2>&1"); }

    // A click held long enough for an update to see the button down.
    static void Click(GameProcess& game, int x, int y) {
        game.MoveMouse(x, y);
        Mouse("mousedown 1");
        Sleep(0.12);
        Mouse("mouseup 1");
        Sleep(0.05);
    }

    // The menu's orange panel left of its resume button, over a darkened field.
    static bool ShowsPauseMenu(const Shot& s) {
        int panel = s.Count(200, 230, 270, 290, PausePanelOrange);
        int brightSky = s.Count(0, 60, 640, 170, Bright);
        return panel > 3800 && brightSky < 640 * 110 / 10;
    }

    static bool ShowsLists(const Shot& s) {
        return s.Count(500, 60, 640, 230, BestListText) > 30 && s.Count(500, 260, 640, 440, LatestListText) > 30;
    }

    // Waits until the game stands on its title with the lists in place.
    static bool WaitForTitle(GameProcess& game, const std::string& probe) {
        return WaitUntil(15, [&] {
            return game.Screenshot(probe) && ShowsLists(Load(probe));
        });
    }

    // The side panel with the score lists, cut out of a screenshot.
    static std::string Panel(const std::string& shot) {
        std::string out = shot.substr(0, shot.size() - 4) + "-panel.png";
        RunCommand("convert " + ShellQuote(shot) + " -crop 140x480+500+0 +repage " + ShellQuote(out));
        return out;
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
    std::string probe = ArtifactDir() + "/probe.png";
    ASSERT_TRUE(WaitForTitle(game, probe)) << game.Stdout() << game.Stderr();
    Sleep(0.8);  // the menu has slid in
    std::string titleMode2 = Snap(game, "01-title");
    EXPECT_NE(game.Stdout().find("Settings Loaded"), std::string::npos);
    EXPECT_NE(game.Stdout().find("Highscore 2 Loaded"), std::string::npos);

    // Left selects mode 1: its lists replace those of mode 2.
    Press(game, "Left");
    Sleep(0.3);
    std::string titleMode1 = Snap(game, "02-title-mode1");
    EXPECT_GT(DifferingPixels(Panel(titleMode2), Panel(titleMode1)), 50);

    // Return starts the game: the lists give way to the play field.
    Press(game, "Return");
    Sleep(0.6);
    EXPECT_FALSE(ShowsLists(Load(Snap(game, "03-play"))));

    // Steering: press in the middle and drag to the left and up.
    game.MoveMouse(320, 240);
    Mouse("mousedown 1");
    for (int step = 1; step <= 10; ++step) {
        game.MoveMouse(320 - 8 * step, 240 - 4 * step);
        Sleep(0.03);
    }
    Mouse("mouseup 1");
    Snap(game, "04-steered");
    ASSERT_TRUE(game.Running());

    // Esc pauses: the menu panel comes down; Esc again resumes.
    Press(game, "Escape");
    Sleep(0.6);
    EXPECT_TRUE(ShowsPauseMenu(Load(Snap(game, "05-paused-esc"))));
    Press(game, "Escape");
    Sleep(0.6);
    EXPECT_FALSE(ShowsPauseMenu(Load(Snap(game, "06-resumed"))));

    // The pause icon in the top-left corner pauses too.
    Click(game, 16, 16);
    Sleep(0.6);
    EXPECT_TRUE(ShowsPauseMenu(Load(Snap(game, "07-paused-icon"))));

    // The quit button, left above the panel's middle, ends the game.
    Click(game, 180, 184);
    Sleep(0.3);
    Shot over = Load(Snap(game, "08-game-over"));
    EXPECT_GT(over.Count(0, 206, 300, 226, OverlayYellow), 2000);

    // Back on the title with the game in the latest list of mode 1.
    ASSERT_TRUE(WaitForTitle(game, probe));
    Sleep(2.0);  // the overlay withdraws, the menu slides back in
    std::string after = Snap(game, "09-title-after");
    EXPECT_GT(DifferingPixels(Panel(titleMode1), Panel(after)), 50);
    SavedRecordLoad saved = StateOnDisk(game.WorkDir());
    ASSERT_EQ(saved.settings, BlockResult::Loaded);
    ASSERT_EQ(saved.badges, BlockResult::Loaded);
    for (BlockResult t : saved.tables) ASSERT_EQ(t, BlockResult::Loaded);
    SavedRecord seed = SeedRecord();
    EXPECT_EQ(saved.record.recent[0][1], 40);  // the seeded games moved down one
    EXPECT_EQ(saved.record.recent[0][4], 10);
    int score = saved.record.recent[0][0];
    EXPECT_GE(score, 0);
    EXPECT_EQ(saved.record.best[1], seed.best[1]);  // mode 2 untouched
    EXPECT_EQ(saved.record.recent[1], seed.recent[1]);

    // The close button ends the game cleanly and leaves a valid record.
    ASSERT_TRUE(game.SendCloseRequest());
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
    ASSERT_TRUE(WaitForTitle(second, probe));
    Sleep(0.8);
    Press(second, "Left");  // mode 1 again
    Sleep(0.5);
    std::string secondRun = Snap(second, "10-second-run");
    EXPECT_LT(DifferingPixels(Panel(after), Panel(secondRun)), 20);
    EXPECT_LT(DifferingPixels(after, secondRun), 640 * 480 / 100);
    ASSERT_TRUE(second.SendCloseRequest());
    EXPECT_EQ(second.WaitExit().value_or(-1), 0);
}

}  // namespace
