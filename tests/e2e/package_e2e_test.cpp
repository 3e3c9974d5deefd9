// The Debian package made from this build with cpack: its control fields,
// its contents under /usr, Debian's own check of it (lintian), its documents,
// that packing the same build twice gives the same bytes, and the game
// unpacked from it into a scratch folder (without installing it), started
// as its menu entry starts it, drawing its title.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/installed_game.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kAppId = "io.github.solbrim.SolBrim";
// Any fixed time: what counts is that both packs of the reproducibility
// test are given the same one.
constexpr const char* kSourceDate = "1765195321";

// Makes the package of this build in folder out; returns its path, or ""
// with cpack's output in log.
std::string Pack(const std::string& out, std::string& log) {
    int status = -1;
    log = RunCommand(std::string("SOURCE_DATE_EPOCH=") + kSourceDate + " " + ShellQuote(SOLBRIM_CPACK_COMMAND) +
                         " -G DEB --config " + ShellQuote(BuildFolder() + "/CPackConfig.cmake") + " -B " +
                         ShellQuote(out) + " 2>&1",
                     &status);
    std::string deb = out + "/solbrim_" SOLBRIM_VERSION "_amd64.deb";
    return status == 0 && fs::is_regular_file(deb) ? deb : "";
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// A gzip member written without the original name and time stamp, as
// `gzip -n` writes it: no FNAME flag, MTIME zero.
bool GzipWithoutNameOrTime(const std::string& bytes) {
    return bytes.size() > 10 && bytes.compare(0, 3, "\x1f\x8b\x08") == 0 && (bytes[3] & 0x08) == 0 &&
           bytes.compare(4, 4, std::string(4, '\0')) == 0;
}

class Package : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        scratch_ = new ScratchFolder();
        deb_ = Pack(scratch_->Make("out"), log_);
        if (deb_.empty()) return;
        root_ = scratch_->Make("root");
        int status = -1;
        std::string out = RunCommand("dpkg-deb -x " + ShellQuote(deb_) + " " + ShellQuote(root_) + " 2>&1", &status);
        if (status != 0) log_ += "dpkg-deb -x failed: " + out;
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
    static std::string Unpacked(const std::string& path) { return root_ + path; }
    static std::string Gunzip(const std::string& path) { return RunCommand("gzip -dc " + ShellQuote(path)); }

    static inline ScratchFolder* scratch_ = nullptr;
    static inline std::string deb_;
    static inline std::string root_;
    static inline std::string log_;
};

TEST_F(Package, ControlFieldsAndContents) {
    EXPECT_EQ(Field("Package"), "solbrim");
    EXPECT_EQ(Field("Version"), SOLBRIM_VERSION);
    EXPECT_EQ(Field("Architecture"), "amd64");
    EXPECT_EQ(Field("Section"), "games");
    std::string maintainer = Field("Maintainer");
    EXPECT_TRUE(std::regex_match(maintainer, std::regex(R"([A-Za-z][^<>]* <[^<>@ ]+@[^<>@ ]+\.[a-z]+>)")))
        << maintainer;
    // Worked out from the binary, so the libraries it links appear by name.
    std::string depends = Field("Depends");
    for (const char* library : {"libglfw3", "libopenal1", "libopengl0", "libstdc++6"})
        EXPECT_NE(depends.find(library), std::string::npos) << library << " missing from: " << depends;
    std::string description = Field("Description");
    EXPECT_NE(description.find("\n"), std::string::npos) << "no long description: " << description;

    std::string listing = RunCommand("dpkg-deb --contents " + ShellQuote(deb_));
    int files = 0;
    for (const std::string& line : Lines(listing)) {
        std::string path = line.substr(line.rfind(' ') + 1);
        EXPECT_TRUE(path == "./" || path.starts_with("./usr/")) << path;
        EXPECT_FALSE(path.starts_with("./usr/bin/")) << path;  // games go to /usr/games
        ++files;
    }
    EXPECT_GT(files, 40);
    for (const char* path : {"./usr/games/solbrim", "./usr/share/solbrim/data/menu-hd.png",
                             "./usr/share/applications/io.github.solbrim.SolBrim.desktop",
                             "./usr/share/icons/hicolor/48x48/apps/io.github.solbrim.SolBrim.png",
                             "./usr/share/metainfo/io.github.solbrim.SolBrim.metainfo.xml",
                             "./usr/share/man/man6/solbrim.6.gz", "./usr/share/doc/solbrim/copyright",
                             "./usr/share/doc/solbrim/changelog.gz"})
        EXPECT_NE(listing.find(std::string(" ") + path + "\n"), std::string::npos) << path;
}

TEST_F(Package, LintianFindsNoErrorsAndNoWarnings) {
    int status = -1;
    std::string out =
        RunCommand(std::string("lintian ") + (geteuid() == 0 ? "--allow-root " : "") + ShellQuote(deb_) + " 2>&1",
                   &status);
    EXPECT_EQ(status, 0) << out;
    for (const std::string& line : Lines(out)) {
        EXPECT_FALSE(line.starts_with("E: ")) << line;
        EXPECT_FALSE(line.starts_with("W: ")) << line;
    }
}

TEST_F(Package, DocumentsNameThisVersionAndLicenceAndAreCompressedWithoutTimeStamps) {
    std::string changelog = Unpacked("/usr/share/doc/solbrim/changelog.gz");
    EXPECT_TRUE(GzipWithoutNameOrTime(ReadFile(changelog)));
    std::vector<std::string> entry = Lines(Gunzip(changelog));
    ASSERT_FALSE(entry.empty());
    EXPECT_EQ(entry.front(), "solbrim (" SOLBRIM_VERSION ") unstable; urgency=medium");
    EXPECT_EQ(entry.back().substr(0, 4 + Field("Maintainer").size()), " -- " + Field("Maintainer"));

    std::string manual = Unpacked("/usr/share/man/man6/solbrim.6.gz");
    EXPECT_TRUE(GzipWithoutNameOrTime(ReadFile(manual)));
    EXPECT_NE(Gunzip(manual).find(".SH FILES"), std::string::npos);

    // The copyright file states the licence the metainfo states.
    std::string metainfo = ReadFile(Unpacked("/usr/share/metainfo/" + std::string(kAppId) + ".metainfo.xml"));
    std::smatch licence;
    ASSERT_TRUE(std::regex_search(metainfo, licence, std::regex("<project_license>([^<]+)</project_license>")));
    std::string copyright = ReadFile(Unpacked("/usr/share/doc/solbrim/copyright"));
    EXPECT_TRUE(copyright.starts_with("Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"));
    EXPECT_NE(copyright.find("\nFiles: *\n"), std::string::npos) << copyright;
    EXPECT_NE(copyright.find("\nLicense: " + licence[1].str() + "\n"), std::string::npos) << copyright;
}

// Packing one build twice, a second apart, gives the same bytes: every time
// stamp comes from SOURCE_DATE_EPOCH and every list is sorted. (Two builds of
// one commit give the same game binary as well; that takes a second Release
// build and is left to scripts/package.)
TEST_F(Package, PackingTheSameBuildAgainGivesTheSameBytes) {
    sleep(1);
    std::string log;
    std::string again = Pack(scratch_->Make("again"), log);
    ASSERT_FALSE(again.empty()) << log;
    EXPECT_EQ(ReadFile(again), ReadFile(deb_));
}

TEST_F(Package, TheMenuEntryStartsTheUnpackedGameWhichDrawsItsTitle) {
    std::string desktop = Unpacked("/usr/share/applications/" + std::string(kAppId) + ".desktop");
    int status = -1;
    std::string out = RunCommand("desktop-file-validate " + ShellQuote(desktop) + " 2>&1", &status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_TRUE(out.empty()) << out;
    std::smatch exec;
    std::string entry = ReadFile(desktop);
    ASSERT_TRUE(std::regex_search(entry, exec, std::regex("\nExec=([^\n]*)\n"))) << entry;
    // A full path: a desktop session's PATH need not hold /usr/games.
    EXPECT_EQ(exec[1].str(), "/usr/games/solbrim");

    ScratchFolder run;
    std::string start = run.Make("start"), home = run.Make("home");
    GameProcess game(AwayFromTheBuild(Unpacked(exec[1].str()), start, home));
    ASSERT_TRUE(game.Start());
    ASSERT_FALSE(game.WaitForWindow().empty()) << game.Stdout() << game.Stderr();
    EXPECT_TRUE(DrawsTheTitle(game, ArtifactFolder("package") + "/unpacked-title.png"))
        << "no title drawn; it printed: " << game.Stdout();
    game.SendCloseRequest();
    ASSERT_TRUE(game.WaitExit(20).has_value());
    EXPECT_EQ(LeftInStartFolder(start), std::vector<std::string>{});
}

}  // namespace
