// The Debian package made from this build with cpack: its control fields,
// its contents under /usr, and the game unpacked from it into a scratch
// folder (without installing it) drawing its title.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/installed_game.h"

namespace fs = std::filesystem;

namespace {

class Package : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        scratch_ = new ScratchFolder();
        std::string out = scratch_->Make("out");
        int status = -1;
        log_ = RunCommand(ShellQuote(SOLBRIM_CPACK_COMMAND) + " -G DEB --config " +
                              ShellQuote(BuildFolder() + "/CPackConfig.cmake") + " -B " + ShellQuote(out) + " 2>&1",
                          &status);
        std::string expected = out + "/solbrim_" SOLBRIM_VERSION "_amd64.deb";
        if (status == 0 && fs::is_regular_file(expected)) deb_ = expected;
    }
    static void TearDownTestSuite() {
        delete scratch_;
        scratch_ = nullptr;
    }
    void SetUp() override { ASSERT_FALSE(deb_.empty()) << log_; }

    static std::string Field(const std::string& name) {
        std::string value = RunCommand("dpkg-deb --field " + ShellQuote(deb_) + " " + name);
        while (!value.empty() && value.back() == '\n') value.pop_back();
        return value;
    }

    static inline ScratchFolder* scratch_ = nullptr;
    static inline std::string deb_;
    static inline std::string log_;
};

TEST_F(Package, ControlFieldsAndContents) {
    EXPECT_EQ(Field("Package"), "solbrim");
    EXPECT_EQ(Field("Version"), SOLBRIM_VERSION);
    EXPECT_EQ(Field("Architecture"), "amd64");
    EXPECT_EQ(Field("Section"), "games");
    // Worked out from the binary, so the libraries it links appear by name.
    std::string depends = Field("Depends");
    for (const char* library : {"libglfw3", "libopenal1", "libopengl0", "libstdc++6"})
        EXPECT_NE(depends.find(library), std::string::npos) << library << " missing from: " << depends;
    std::string description = Field("Description");
    EXPECT_NE(description.find("\n"), std::string::npos) << "no long description: " << description;

    std::string listing = RunCommand("dpkg-deb --contents " + ShellQuote(deb_));
    std::istringstream lines(listing);
    std::string line;
    int files = 0;
    while (std::getline(lines, line)) {
        std::string path = line.substr(line.rfind(' ') + 1);
        EXPECT_TRUE(path == "./" || path.starts_with("./usr/")) << path;
        ++files;
    }
    EXPECT_GT(files, 40);
    for (const char* path : {"./usr/bin/solbrim", "./usr/share/solbrim/data/menu-hd.png",
                             "./usr/share/applications/io.github.solbrim.SolBrim.desktop",
                             "./usr/share/icons/hicolor/48x48/apps/io.github.solbrim.SolBrim.png",
                             "./usr/share/metainfo/io.github.solbrim.SolBrim.metainfo.xml",
                             "./usr/share/man/man6/solbrim.6"})
        EXPECT_NE(listing.find(std::string(" ") + path + "\n"), std::string::npos) << path;
}

TEST_F(Package, UnpackedGameDrawsItsTitle) {
    std::string root = scratch_->Make("root");
    int status = -1;
    std::string out = RunCommand("dpkg-deb -x " + ShellQuote(deb_) + " " + ShellQuote(root) + " 2>&1", &status);
    ASSERT_EQ(status, 0) << out;

    ScratchFolder run;
    std::string start = run.Make("start"), home = run.Make("home");
    GameProcess game(AwayFromTheBuild(root + "/usr/bin/solbrim", start, home));
    ASSERT_TRUE(game.Start());
    ASSERT_FALSE(game.WaitForWindow().empty()) << game.Stdout() << game.Stderr();
    EXPECT_TRUE(DrawsTheTitle(game, ArtifactFolder("package") + "/unpacked-title.png"))
        << "no title drawn; it printed: " << game.Stdout();
    game.SendCloseRequest();
    ASSERT_TRUE(game.WaitExit(20).has_value());
    EXPECT_EQ(LeftInStartFolder(start), std::vector<std::string>{});
}

}  // namespace
