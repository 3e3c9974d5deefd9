// The game installed with `cmake --install` into a scratch prefix, and the
// built game started away from the repository: each finds its data from its
// own place, draws the title, and keeps the record in the player's folder,
// never in the folder it was started from. A lone copy with no data folder
// anywhere stops at once with a message instead of opening a blank window.
#include <gtest/gtest.h>
#include <stb_image.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/e2e/installed_game.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kAppId = "io.github.solbrim.SolBrim";

class Installed : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        scratch_ = new ScratchFolder();
        prefix_ = scratch_->Make("prefix");
        int status = -1;
        installLog_ = RunCommand(ShellQuote(SOLBRIM_CMAKE_COMMAND) + " --install " + ShellQuote(BuildFolder()) +
                                     " --prefix " + ShellQuote(prefix_) + " 2>&1",
                                 &status);
        installed_ = status == 0;
    }
    static void TearDownTestSuite() {
        delete scratch_;
        scratch_ = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(installed_) << installLog_; }

    static std::string Prefix(const std::string& rest) { return prefix_ + "/" + rest; }

    static inline ScratchFolder* scratch_ = nullptr;
    static inline std::string prefix_;
    static inline std::string installLog_;
    static inline bool installed_ = false;
};

TEST_F(Installed, DesktopEntryMetainfoIconsAndManualPageAreInPlaceAndValid) {
    int status = -1;
    std::string desktop = Prefix("share/applications/" + std::string(kAppId) + ".desktop");
    std::string out = RunCommand("desktop-file-validate " + ShellQuote(desktop) + " 2>&1", &status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_TRUE(out.empty()) << out;  // not even a hint
    std::string entry = ReadFile(desktop);
    EXPECT_NE(entry.find("\nName=Sol Brim\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nExec=solbrim\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nIcon=" + std::string(kAppId) + "\n"), std::string::npos) << entry;

    std::string metainfo = Prefix("share/metainfo/" + std::string(kAppId) + ".metainfo.xml");
    out = RunCommand("appstreamcli validate --no-net " + ShellQuote(metainfo) + " 2>&1", &status);
    EXPECT_EQ(status, 0) << out;
    // The version comes from the project, not from a hand-kept copy.
    EXPECT_EQ(ReadFile(metainfo).find("@"), std::string::npos);
    EXPECT_NE(RunCommand("gzip -dc " + ShellQuote(Prefix("share/man/man6/solbrim.6.gz"))).find(".SH FILES"),
              std::string::npos);
    // Every screenshot it names is one the project keeps.
    std::string xml = ReadFile(metainfo);
    int screenshots = 0;
    for (std::size_t end = xml.find("</image>"); end != std::string::npos; end = xml.find("</image>", end + 1)) {
        std::string url = xml.substr(0, end);
        std::string file = url.substr(url.rfind('/') + 1);
        EXPECT_TRUE(fs::is_regular_file(std::string(SOLBRIM_SOURCE_DIR) + "/dist/screenshots/" + file)) << file;
        ++screenshots;
    }
    EXPECT_EQ(screenshots, 3);

    for (int size : {16, 32, 48, 64, 128, 256}) {
        std::string name = std::to_string(size) + "x" + std::to_string(size);
        std::string icon = Prefix("share/icons/hicolor/" + name + "/apps/" + kAppId + ".png");
        EXPECT_EQ(ReadFile(icon).substr(0, 8), "\x89PNG\r\n\x1a\n") << icon;
        int w = 0, h = 0, channels = 0;
        ASSERT_TRUE(stbi_info(icon.c_str(), &w, &h, &channels)) << icon;
        EXPECT_EQ(w, size) << icon;
        EXPECT_EQ(h, size) << icon;
    }
}

TEST_F(Installed, DataFolderHoldsTheAssetsAndTheMusicOnlyWhenItPlays) {
    const std::string data = Prefix("share/solbrim/data");
    for (const char* file : {"menu-hd.png", "brio_font.png", "fonts/editundo.png", "sfx/001.wav", "icon-48.png"})
        EXPECT_TRUE(fs::is_regular_file(data + "/" + file)) << file;
    EXPECT_TRUE(fs::is_regular_file(Prefix("bin/solbrim")));
    // What only the Debian package carries stays out.
    EXPECT_FALSE(fs::exists(Prefix("games")));
    EXPECT_FALSE(fs::exists(Prefix("share/doc")));
    EXPECT_EQ(fs::exists(data + "/inst/song0.png"), SOLBRIM_MUSIC != 0);
}

TEST_F(Installed, StartsFromAnEmptyFolderAndSavesInThePlayersFolderOnly) {
    ScratchFolder run;
    std::string start = run.Make("start"), home = run.Make("home");
    GameProcess game(AwayFromTheBuild(Prefix("bin/solbrim"), start, home));
    ASSERT_TRUE(game.Start());
    ASSERT_FALSE(game.WaitForWindow().empty()) << game.Stdout() << game.Stderr();
    EXPECT_TRUE(DrawsTheTitle(game, ArtifactFolder("install") + "/installed-title.png"))
        << "no title drawn; it printed: " << game.Stdout();

    game.SendCloseRequest();
    std::optional<int> status = game.WaitExit(20);
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 0) << game.Stdout() << game.Stderr();

    const std::string folder = DataHomeIn(home) + "/solbrim";
    EXPECT_TRUE(HoldsAValidRecord(folder + "/.vellumstate")) << ReadFile(folder + "/.vellumstate");
    struct stat info {};
    ASSERT_EQ(stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(LeftInStartFolder(start), std::vector<std::string>{});
}

// The names and contents of every file under folder.
std::vector<std::pair<std::string, std::string>> FilesIn(const std::string& folder) {
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) files.emplace_back(entry.path().string(), ReadFile(entry.path().string()));
    std::sort(files.begin(), files.end());
    return files;
}

// Starts the game, waits for its title and closes it; whether it drew the
// title and quit with status 0.
void PlayToTheTitleAndClose(GameProcess& game, const std::string& shotName) {
    ASSERT_TRUE(game.Start());
    ASSERT_FALSE(game.WaitForWindow().empty()) << game.Stdout() << game.Stderr();
    EXPECT_TRUE(DrawsTheTitle(game, ArtifactFolder("install") + "/" + shotName))
        << "no title drawn; it printed: " << game.Stdout() << game.Stderr();
    game.SendCloseRequest();
    std::optional<int> status = game.WaitExit(20);
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 0) << game.Stdout() << game.Stderr();
}

TEST_F(Installed, AStrayDataFolderWhereItStartsIsPassedOver) {
    ScratchFolder run;
    std::string start = run.Make("start"), home = run.Make("home");
    // A data/ of the player's own: a name the game loads, holding something
    // else, beside files of no concern to it.
    const std::string stray = run.Make("start/data");
    std::ofstream(stray + "/menu-hd.png") << "holiday notes, not a picture";
    std::ofstream(stray + "/budget.csv") << "rent,412\n";
    run.Make("start/data/photos");
    std::ofstream(stray + "/photos/beach.jpg") << "\xff\xd8\xff\xe0 not really";
    const auto before = FilesIn(stray);

    GameProcess game(AwayFromTheBuild(Prefix("bin/solbrim"), start, home));
    PlayToTheTitleAndClose(game, "installed-stray-data-title.png");
    EXPECT_EQ(game.Stderr().find("cannot load"), std::string::npos) << game.Stderr();

    EXPECT_TRUE(HoldsAValidRecord(DataHomeIn(home) + "/solbrim/.vellumstate"));
    EXPECT_EQ(LeftInStartFolder(start), std::vector<std::string>{"data"});
    EXPECT_EQ(FilesIn(stray), before);
}

TEST_F(Installed, FoldersWhoseNamesAreNotUtf8HoldTheDataAndTheRecord) {
    ScratchFolder run;
    // A Latin-1 home: "jos\xe9" is "josé" in ISO 8859-1 and no UTF-8 at all.
    const std::string bin = run.Make("jos\xe9/prefix/bin"), share = run.Make("jos\xe9/prefix/share/solbrim");
    fs::copy_file(Prefix("bin/solbrim"), bin + "/solbrim");
    fs::permissions(bin + "/solbrim", fs::perms::owner_all);
    fs::copy(Prefix("share/solbrim/data"), share + "/data", fs::copy_options::recursive);
    std::string start = run.Make("jos\xe9/start"), home = run.Make("jos\xe9/home");

    GameProcess game(AwayFromTheBuild(bin + "/solbrim", start, home));
    PlayToTheTitleAndClose(game, "latin1-title.png");
    EXPECT_EQ(game.Stderr().find("cannot load"), std::string::npos) << game.Stderr();

    const std::string record = DataHomeIn(home) + "/solbrim/.vellumstate";
    EXPECT_TRUE(HoldsAValidRecord(record)) << ReadFile(record);
    EXPECT_EQ(LeftInStartFolder(start), std::vector<std::string>{});
    // Nothing was made under the name decoded and encoded again.
    EXPECT_FALSE(fs::exists(run.Path() + "/jos\xc3\xa9"));
}

TEST(BuiltGame, StartsFromAnEmptyFolderWithTheBuildsData) {
    ScratchFolder run;
    std::string start = run.Make("start"), home = run.Make("home");
    GameProcess game(AwayFromTheBuild(BuildFolder() + "/solbrim", start, home));
    ASSERT_TRUE(game.Start());
    ASSERT_FALSE(game.WaitForWindow().empty()) << game.Stdout() << game.Stderr();
    EXPECT_TRUE(DrawsTheTitle(game, ArtifactFolder("install") + "/built-title.png"))
        << "no title drawn; it printed: " << game.Stdout();
    game.SendCloseRequest();
    ASSERT_TRUE(game.WaitExit(20).has_value());
    EXPECT_TRUE(HoldsAValidRecord(DataHomeIn(home) + "/solbrim/.vellumstate"));
    EXPECT_EQ(LeftInStartFolder(start), std::vector<std::string>{});
}

TEST(BuiltGame, ALoneCopyWithNoDataFolderExitsWithTheMessageBeforeAnyWindow) {
    ScratchFolder run;
    std::string start = run.Make("start"), bin = run.Make("opt/x/bin");
    fs::copy_file(BuildFolder() + "/solbrim", bin + "/solbrim");
    fs::permissions(bin + "/solbrim", fs::perms::owner_all);
    // No display at all: had the game tried to open its window, it would
    // have failed with another message and status.
    int status = -1;
    std::string printed = RunCommand("cd " + ShellQuote(start) + " && env -u DISPLAY " +
                                         ShellQuote(bin + "/solbrim") + " 2>&1 >" + ShellQuote(run.Path() + "/out"),
                                     &status);
    EXPECT_EQ(status, 1) << printed;
    EXPECT_EQ(printed, "Sol Brim: cannot find the game's data folder (looked in ./data, " + bin + "/data, " +
                           run.Path() + "/opt/x/share/solbrim/data)\n");
    EXPECT_EQ(ReadFile(run.Path() + "/out"), "");
    EXPECT_TRUE(fs::is_empty(start));
}

}  // namespace
