// The XDG base-directory rules and creating the game's folders.
#include "host/user_folders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/host/scoped_env.h"

namespace fs = std::filesystem;

namespace {

TEST(XdgFolders, AbsoluteVariablesWinAndEverythingElseFallsBackUnderHome) {
    ScopedEnv home("HOME", "/home/player7");
    {
        ScopedEnv data("XDG_DATA_HOME", "/srv/d");
        ScopedEnv state("XDG_STATE_HOME", "/srv/s");
        ScopedEnv config("XDG_CONFIG_HOME", "/srv/c");
        EXPECT_EQ(XdgDataHome(), "/srv/d");
        EXPECT_EQ(XdgStateHome(), "/srv/s");
        EXPECT_EQ(XdgConfigHome(), "/srv/c");
    }
    for (const char* ignored : {static_cast<const char*>(nullptr), "", "relative/dir", "./x"}) {
        ScopedEnv data("XDG_DATA_HOME", ignored);
        ScopedEnv state("XDG_STATE_HOME", ignored);
        ScopedEnv config("XDG_CONFIG_HOME", ignored);
        EXPECT_EQ(XdgDataHome(), "/home/player7/.local/share");
        EXPECT_EQ(XdgStateHome(), "/home/player7/.local/state");
        EXPECT_EQ(XdgConfigHome(), "/home/player7/.config");
    }
}

TEST(XdgFolders, NoUsableHomeMeansNoFolder) {
    ScopedEnv data("XDG_DATA_HOME", nullptr);
    for (const char* home : {static_cast<const char*>(nullptr), "", "home/rel"}) {
        ScopedEnv h("HOME", home);
        EXPECT_EQ(XdgDataHome(), "");
        EXPECT_EQ(GameFolderIn(XdgDataHome()), "");
    }
    EXPECT_EQ(GameFolderIn("/a/b"), "/a/b/solbrim");
}

class CreateFoldersTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/solbrim-folders-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root_ = pattern;
    }
    void TearDown() override {
        fs::current_path(start_);
        fs::remove_all(root_);
    }
    std::string root_;
    fs::path start_ = fs::current_path();
};

TEST_F(CreateFoldersTest, MakesEveryMissingLevelWithTheGivenMode) {
    std::string leaf = root_ + "/one/two/solbrim";
    ASSERT_TRUE(CreateFolders(leaf, 0700));
    struct stat info;
    ASSERT_EQ(stat(leaf.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    ASSERT_EQ(stat((root_ + "/one").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    // A second call finds it there, and a trailing slash changes nothing.
    EXPECT_TRUE(CreateFolders(leaf, 0700));
    EXPECT_TRUE(CreateFolders(leaf + "/", 0700));
}

TEST_F(CreateFoldersTest, RefusesFilesInTheWayAndRelativePaths) {
    std::ofstream(root_ + "/plain") << "x";
    EXPECT_FALSE(CreateFolders(root_ + "/plain", 0700));
    EXPECT_FALSE(CreateFolders(root_ + "/plain/below", 0700));
    // From inside the test's own folder, so a wrongly made folder goes
    // with it instead of staying behind to fail the next run.
    fs::current_path(root_);
    EXPECT_FALSE(CreateFolders("relative/folder", 0700));
    EXPECT_FALSE(CreateFolders("", 0700));
    EXPECT_FALSE(fs::exists("relative"));
}

}  // namespace
