// Finding the data folder and choosing where the record lives.
#include "host/game_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

using Paths = std::set<std::string>;

// The working folder's data as the asset generator makes it.
const Paths kMarkedWorkingData = {"./data/solbrim-data"};

std::optional<GameFiles> Locate(const std::string& exeFolder, const Paths& folders,
                                const std::string& dataHome = "/home/ann/.local/share",
                                const Paths& files = kMarkedWorkingData) {
    return LocateGameFiles(
        exeFolder, dataHome, [&](const std::string& p) { return folders.count(p) > 0; },
        [&](const std::string& p) { return files.count(p) > 0; });
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

TEST(LocateGameFiles, AWorkingDataFolderWithoutTheMarkerIsPassedOver) {
    const std::string home = "/home/ann/.local/share";
    // A data/ of the player's own in the home folder, and the installed copy.
    auto files = Locate("/usr/bin", {"./data", "/usr/share/solbrim/data"}, home, {"./data/notes.txt"});
    ASSERT_TRUE(files);
    EXPECT_EQ(files->dataFolder, "/usr/share/solbrim/data/");
    EXPECT_EQ(files->stateFile, "/home/ann/.local/share/solbrim/.vellumstate");
    // A folder of the marker's name is no marker; the build's data is next.
    auto build = Locate("/src/b", {"./data", "./data/solbrim-data", "/src/b/data"}, home, {});
    ASSERT_TRUE(build);
    EXPECT_EQ(build->dataFolder, "/src/b/data/");
    // The marker of another candidate does not vouch for ./data.
    EXPECT_EQ(Locate("/src/b", {"./data", "/src/b/data"}, home, {"/src/b/data/solbrim-data"})->dataFolder,
              "/src/b/data/");
    // With nothing else, an unmarked ./data is no data folder at all.
    EXPECT_FALSE(Locate("/usr/bin", {"./data"}, home, {}));
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
    EXPECT_FALSE(Locate("", {"./data"}, "/home/ann/.local/share", {}));
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
