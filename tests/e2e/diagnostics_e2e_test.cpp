// What a player can tell when something goes wrong, with real binaries: a
// damaged data folder names each bad file once and the game still runs and
// quits cleanly; a quit prints nothing; a crash of a windowed program leaves
// one report in the per-user state folder, and only ten stay.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "tests/e2e/game_process.h"
#include "tests/e2e/loading_screen.h"

namespace fs = std::filesystem;

namespace {

// A working folder of its own, removed afterwards.
class WorkFolder {
public:
    WorkFolder() {
        char pattern[] = "/tmp/solbrim-diag-XXXXXX";
        path_ = mkdtemp(pattern);
    }
    ~WorkFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

std::vector<std::string> Reports(const std::string& stateHome) {
    std::vector<std::string> names, reports;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(stateHome + "/solbrim", error)) names.push_back(entry.path());
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) reports.push_back(ReadFile(name));
    return reports;
}

// Drawn (many colours) and past the loading screen.
bool ShowsTheTitle(GameProcess& game) {
    std::string shot = game.WorkDir() + "/shot.png";
    game.Screenshot(shot);
    return CountColours(shot) > 50 && !ShowsLoading(shot);
}

// The game (or another binary) in workDir, its reports going to stateHome.
GameProcess::Options Program(const std::string& workDir, const std::string& stateHome, bool linkData = true) {
    GameProcess::Options options;
    options.workDir = workDir;
    options.linkData = linkData;
    options.env = {"XDG_STATE_HOME=" + stateHome};
    return options;
}

void Damage(const fs::path& data) {
    auto cut = [](const fs::path& file, double share) {
        std::string bytes = ReadFile(file);
        std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes.substr(0, bytes.size() * share);
    };
    cut(data / "menu-hd.png", 0.37);
    cut(data / "sfx" / "001.wav", 0.53);
    std::mt19937 random(1807);
    std::string noise(9000, 0);
    for (char& c : noise) c = static_cast<char>(random());
    std::ofstream(data / "world001-hd.png", std::ios::binary | std::ios::trunc) << noise;
}

TEST(DamagedData, EachBadFileIsNamedOnceAndTheGameStillRunsAndQuits) {
    WorkFolder work;
    fs::copy(BuildFolder() + "/data", work.Path() + "/data", fs::copy_options::recursive);
    Damage(work.Path() + "/data");
    GameProcess game(Program(work.Path(), work.Path() + "/state", false));
    ASSERT_TRUE(game.Start());
    ASSERT_FALSE(game.WaitForWindow().empty()) << game.Stderr();

    const std::vector<std::string> expected = {
        "Sol Brim: cannot load data/menu-hd.png: truncated or damaged PNG\n",
        "Sol Brim: cannot load data/world001-hd.png: not a PNG image\n",
        "Sol Brim: cannot load data/sfx/001.wav: truncated WAV file\n",
    };
    ASSERT_TRUE(WaitUntil(30, [&] {
        return std::all_of(expected.begin(), expected.end(),
                           [&](const std::string& line) { return Count(game.Stderr(), line) > 0; });
    })) << "the three damaged files named on standard error; it holds: " << game.Stderr();
    EXPECT_TRUE(WaitUntilSteady(30, [&] { return ShowsTheTitle(game); })) << "no title";

    game.SendCloseRequest();
    EXPECT_EQ(game.WaitExit(20), 0);
    for (const std::string& line : expected) EXPECT_EQ(Count(game.Stderr(), line), 1) << line;
    EXPECT_EQ(Count(game.Stderr(), "\n"), 3) << game.Stderr();
    EXPECT_TRUE(Reports(work.Path() + "/state").empty());
}

TEST(Quit, TheCloseButtonEndsTheGameWithoutAWord) {
    WorkFolder work;
    GameProcess game(Program(work.Path(), work.Path() + "/state"));
    ASSERT_TRUE(game.Start());
    ASSERT_FALSE(game.WaitForWindow().empty()) << game.Stderr();
    ASSERT_TRUE(WaitUntilSteady(30, [&] { return ShowsTheTitle(game); })) << "no title";
    game.SendCloseRequest();
    EXPECT_EQ(game.WaitExit(20), 0);
    EXPECT_EQ(game.Stderr(), "");
}

// Runs the crash scene with its reports going to stateHome; its outcome.
struct Crash {
    std::optional<int> status;
    std::string out, err;
};

Crash RunCrashScene(const std::string& stateHome, const std::string& fault) {
    GameProcess::Options options = Program("", stateHome);
    options.binary = BuildFolder() + "/crash_scene";
    options.env.push_back("CRASH_SCENE=" + fault);
    GameProcess game(options);
    Crash crash;
    if (!game.Start()) return crash;
    crash.status = game.WaitExit(60);
    crash.out = game.Stdout();
    crash.err = game.Stderr();
    return crash;
}

TEST(CrashReport, ARuntimeErrorInAWindowedProgramLeavesOneReport) {
    WorkFolder work;
    Crash crash = RunCrashScene(work.Path(), "error");
    EXPECT_EQ(crash.status, 255) << crash.err;
    EXPECT_NE(crash.out.find("update 40\nVellum Runtime Error : crash scene failed on purpose\n\n"), std::string::npos)
        << crash.out;
    std::vector<std::string> reports = Reports(work.Path());
    ASSERT_EQ(reports.size(), 1u);
    const std::string& report = reports[0];
    EXPECT_NE(report.find("Message: Vellum Runtime Error : crash scene failed on purpose\n"), std::string::npos);
    EXPECT_NE(report.find("Version: 1."), std::string::npos) << report;
    EXPECT_NE(report.find("Window: 640 x 480\n"), std::string::npos) << report;
    EXPECT_NE(report.find("UpdateGame"), std::string::npos) << report;  // a frame of the program, by name
    // The last twenty lines: updates 21 to 40, then the banner and its empty line.
    EXPECT_EQ(report.find("update 20\n"), std::string::npos) << report;
    EXPECT_NE(report.find("\nupdate 23\n"), std::string::npos) << report;
    EXPECT_TRUE(report.ends_with("update 40\nVellum Runtime Error : crash scene failed on purpose\n\n")) << report;
}

TEST(CrashReport, ASegmentationFaultInAWindowedProgramLeavesOneReport) {
    WorkFolder work;
    Crash crash = RunCrashScene(work.Path(), "segv");
    if (crash.err.find("AddressSanitizer") != std::string::npos) {
        GTEST_SKIP() << "the address sanitizer handles SIGSEGV itself in this build";
    }
    EXPECT_EQ(crash.status, 255) << crash.err;
    EXPECT_NE(crash.out.find("update 40\nVellum Runtime Error : Memory access violation\n\n"), std::string::npos)
        << crash.out;
    std::vector<std::string> reports = Reports(work.Path());
    ASSERT_EQ(reports.size(), 1u);
    const std::string& report = reports[0];
    EXPECT_NE(report.find("Message: Vellum Runtime Error : Memory access violation\n"), std::string::npos);
    EXPECT_NE(report.find("Signal: SIGSEGV (11)\n"), std::string::npos) << report;
    EXPECT_NE(report.find("Version: 1."), std::string::npos) << report;
    EXPECT_NE(report.find("UpdateGame"), std::string::npos) << report;
    EXPECT_TRUE(report.ends_with("update 39\nupdate 40\n")) << report;
}

}  // namespace
