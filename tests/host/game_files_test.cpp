// Finding the data folder and choosing where the record lives.
#include "host/game_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

using Folders = std::set<std::string>;

std::optional<GameFiles> Locate(const std::string& exeFolder, const Folders& existing,
                                const std::string& dataHome = "/home/ann/.local/share") {
    return LocateGameFiles(exeFolder, dataHome, [&](const std::string& p) { return existing.count(p) > 0; });
}

TEST(DataFolderCandidates, WorkingFolderThenBesideTheExecutableThenTheSharedFolder) {
    EXPECT_EQ(DataFolderCandidates("/opt/x/bin"),
              (std::vector<std::string>{"./data", "/opt/x/bin/data", "/opt/x/share/solbrim/data"}));
    EXPECT_EQ(DataFolderCandidates("/tmp/pkg.3Fq/usr/bin"),
              (std::vector<std::string>{"./data", "/tmp/pkg.3Fq/usr/bin/data", "/tmp/pkg.3Fq/usr/share/solbrim/data"}));
    // An executable at the root has no parent to climb to.
    EXPECT_EQ(DataFolderCandidates("/"), (std::vector<std::string>{"./data", "/data", "/share/solbrim/data"}));
    // Without /proc/self/exe only the working folder is known.
    EXPECT_EQ(DataFolderCandidates(""), (std::vector<std::string>{"./data"}));
}

TEST(LocateGameFiles, WorkingFolderKeepsItsOwnRecordEvenWhenOthersExist) {
    auto files = Locate("/opt/x/bin", {"./data", "/opt/x/bin/data", "/opt/x/share/solbrim/data"});
    ASSERT_TRUE(files);
    EXPECT_EQ(files->dataFolder, "./data/");
    EXPECT_EQ(files->stateFile, "./.vellumstate");
    EXPECT_EQ(files->stateFolder, "");
}

TEST(LocateGameFiles, BuildTreeAndInstalledCopyKeepTheRecordInThePlayersFolder) {
    auto build = Locate("/src/solbrim/build", {"/src/solbrim/build/data", "/src/solbrim/share/solbrim/data"});
    ASSERT_TRUE(build);
    EXPECT_EQ(build->dataFolder, "/src/solbrim/build/data/");
    EXPECT_EQ(build->stateFolder, "/home/ann/.local/share/solbrim");
    EXPECT_EQ(build->stateFile, "/home/ann/.local/share/solbrim/.vellumstate");

    auto installed = Locate("/usr/bin", {"/usr/share/solbrim/data"}, "/var/h/d");
    ASSERT_TRUE(installed);
    EXPECT_EQ(installed->dataFolder, "/usr/share/solbrim/data/");
    EXPECT_EQ(installed->stateFile, "/var/h/d/solbrim/.vellumstate");
}

TEST(LocateGameFiles, NoPlayerFolderMeansNoRecordRatherThanOneInTheWorkingFolder) {
    auto files = Locate("/usr/bin", {"/usr/share/solbrim/data"}, "");
    ASSERT_TRUE(files);
    EXPECT_EQ(files->dataFolder, "/usr/share/solbrim/data/");
    EXPECT_EQ(files->stateFile, "");
    EXPECT_EQ(files->stateFolder, "");
}

TEST(LocateGameFiles, NothingFoundWhenNoCandidateIsAFolder) {
    // Folders near the candidates do not count.
    EXPECT_FALSE(Locate("/opt/x/bin", {"/opt/x/data", "/opt/x/share/data", "./Data"}));
    // Without the executable's folder a build tree is not found either.
    EXPECT_FALSE(Locate("", {"/src/solbrim/build/data"}));
    EXPECT_TRUE(Locate("", {"./data"}));
}

TEST(MissingDataMessage, NamesEveryFolderLookedIn) {
    EXPECT_EQ(MissingDataMessage(DataFolderCandidates("/opt/x/bin")),
              "Sol Brim: cannot find the game's data folder (looked in ./data, /opt/x/bin/data, "
              "/opt/x/share/solbrim/data)");
    EXPECT_EQ(MissingDataMessage(DataFolderCandidates("")),
              "Sol Brim: cannot find the game's data folder (looked in ./data)");
}

TEST(ExecutableFolder, IsWhereThisTestProgramLies) {
    std::string folder = ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(std::filesystem::equivalent(folder, std::filesystem::path(SOLBRIM_BUILD_DIR) / "tests" / "host"))
        << folder;
}

}  // namespace
