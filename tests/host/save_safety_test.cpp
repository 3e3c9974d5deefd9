// Saving the record where other users may write, where the folder refuses
// new files, and through links that lead elsewhere.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/file_io.h"
#include "tests/host/child_process.h"
#include "tests/host/fake_host.h"

namespace fs = std::filesystem;

namespace {

constexpr fs::perms kReadOnlyFolder = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                      fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
constexpr fs::perms kOpenFolder = kReadOnlyFolder | fs::perms::owner_write;

std::string MakeTempFolder(const std::string& under) {
    std::string pattern = under + "/solbrim-save-XXXXXX";
    return mkdtemp(pattern.data()) ? pattern : std::string();
}

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Write(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

std::vector<std::string> Entries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t ModeOf(const fs::path& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

// Every test saves "./.vellumstate" in a fresh working folder that the
// children's unprivileged user may enter.
struct SaveSafetyTest : ::testing::Test {
    fs::path old = fs::current_path();
    fs::path dir;
    FakeHost host;
    HxGlfwGame& game = *host.game;

    void SetUp() override {
        dir = MakeTempFolder("/tmp");
        ASSERT_FALSE(dir.empty());
        fs::permissions(dir, kOpenFolder);
        fs::current_path(dir);
    }
    void TearDown() override {
        fs::current_path(old);
        fs::permissions(dir, fs::perms::owner_all);
        fs::remove_all(dir);
    }
};

// ---- planted temporary names ------------------------------------------------

TEST_F(SaveSafetyTest, TemporaryNamesPlantedAsLinksAreNeverWrittenThrough) {
    Write("victim", "the victim's own file");
    ASSERT_EQ(::chmod("victim", 0600), 0);
    Write(".vellumstate", "previous");
    ASSERT_EQ(::chmod(".vellumstate", 0644), 0);
    // The name one process id gives, and names a guesser might try.
    const std::vector<std::string> planted = {".vellumstate." + std::to_string(::getpid()) + ".tmp",
                                              ".vellumstate.tmp", ".vellumstate.000000000000.tmp"};
    for (const std::string& name : planted) fs::create_symlink(dir / "victim", name);

    for (const char* state : {"7|8|", "a second, longer state|"}) {
        ASSERT_EQ(game.SaveState(state), 0);
        EXPECT_EQ(Read(".vellumstate"), state);
        EXPECT_FALSE(fs::is_symlink(".vellumstate"));
        EXPECT_EQ(ModeOf(".vellumstate"), 0644u);
    }
    EXPECT_EQ(Read("victim"), "the victim's own file");
    EXPECT_EQ(ModeOf("victim"), 0600u);
    for (const std::string& name : planted) EXPECT_TRUE(fs::is_symlink(name)) << name;
    std::vector<std::string> expected = planted;
    expected.insert(expected.end(), {".vellumstate", "victim"});
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Entries(dir), expected);  // no temporary left behind
}

TEST_F(SaveSafetyTest, TemporaryFileTakesTheNextNameAfterEveryClash) {
    Write("victim", "kept");
    fs::create_symlink(dir / "victim", "record.a.tmp");
    Write("record.b.tmp", "someone's file");
    const std::vector<std::string> suffixes = {"a", "b", "c"};
    std::size_t asked = 0;
    std::string created;
    int fd = CreateTemporaryFile(dir.string(), "record", created, [&] { return suffixes[asked++]; });
    ASSERT_GE(fd, 0);
    EXPECT_EQ(asked, 3u);
    EXPECT_EQ(created, (dir / "record.c.tmp").string());
    ASSERT_EQ(::write(fd, "mine", 4), 4);
    ::close(fd);
    EXPECT_EQ(Read("record.c.tmp"), "mine");
    EXPECT_EQ(Read("victim"), "kept");
    EXPECT_EQ(Read("record.b.tmp"), "someone's file");

    // A folder where every name is taken gives up instead of looping.
    asked = 0;
    errno = 0;
    EXPECT_EQ(CreateTemporaryFile(dir.string(), "record", created, [&] {
                  ++asked;
                  return std::string("b");
              }),
              -1);
    EXPECT_EQ(errno, EEXIST);
    EXPECT_EQ(asked, 100u);
}

TEST(RandomNameSuffix, NamesAreTwelveHexDigitsAndDiffer) {
    std::string first = RandomNameSuffix(), second = RandomNameSuffix();
    EXPECT_EQ(first.size(), 12u);
    EXPECT_EQ(first.find_first_not_of("0123456789abcdef"), std::string::npos) << first;
    EXPECT_NE(first, second);
}

// ---- a folder that refuses new files ----------------------------------------

TEST_F(SaveSafetyTest, ReadOnlyFolderWithAWritableRecordRewritesItInPlace) {
    Write(".vellumstate", "a much longer previous state|");
    ASSERT_EQ(::chmod(".vellumstate", 0644), 0);
    ASSERT_TRUE(GiveToChildUser(".vellumstate"));
    struct stat before {};
    ASSERT_EQ(::stat(".vellumstate", &before), 0);
    fs::permissions(dir, kReadOnlyFolder);
    int result = InChild([&] {
        if (!DropRoot()) return 99;
        int rc = game.SaveState("short|");
        return rc == 0 ? 0 : 10 - rc;
    });
    fs::permissions(dir, kOpenFolder);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Read(".vellumstate"), "short|");
    struct stat after {};
    ASSERT_EQ(::stat(".vellumstate", &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);  // the same file, written in place
    EXPECT_EQ(after.st_mode & 07777, 0644u);
    EXPECT_EQ(Entries(dir), std::vector<std::string>{".vellumstate"});
}

TEST_F(SaveSafetyTest, ReadOnlyFolderWithoutARecordStillFailsWithMinusOne) {
    fs::permissions(dir, kReadOnlyFolder);
    int result = InChild([&] {
        if (!DropRoot()) return 99;
        int rc = game.SaveState("lost|");
        return rc == -1 ? 0 : 10 - rc;
    });
    fs::permissions(dir, kOpenFolder);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(SaveSafetyTest, ShortWriteInPlaceFailsWithMinusTwo) {
    Write(".vellumstate", "previous");
    ASSERT_TRUE(GiveToChildUser(".vellumstate"));
    fs::permissions(dir, kReadOnlyFolder);
    int result = InChild([&] {
        if (!DropRoot()) return 99;
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{5, 5};  // no file may grow beyond 5 bytes
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 98;
        int rc = game.SaveState("a state far longer than five bytes");
        return rc == -2 ? 0 : 10 - rc;
    });
    fs::permissions(dir, kOpenFolder);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Entries(dir), std::vector<std::string>{".vellumstate"});
}

// ---- links whose target is elsewhere ---------------------------------------

TEST_F(SaveSafetyTest, LinkToAFileOnAnotherFileSystemReplacesTheTarget) {
    fs::path elsewhere = MakeTempFolder("/dev/shm");
    if (elsewhere.empty()) GTEST_SKIP() << "no /dev/shm";
    Write(elsewhere / "record", "previous");
    fs::create_symlink(elsewhere / "record", ".vellumstate");
    EXPECT_EQ(game.SaveState("7|8|"), 0);
    EXPECT_EQ(Read(elsewhere / "record"), "7|8|");
    EXPECT_TRUE(fs::is_symlink(".vellumstate"));
    EXPECT_EQ(Entries(dir), std::vector<std::string>{".vellumstate"});
    EXPECT_EQ(Entries(elsewhere), std::vector<std::string>{"record"});
    fs::remove_all(elsewhere);
}

TEST_F(SaveSafetyTest, LinkInAReadOnlyFolderToAFileInAWritableOneReplacesTheTarget) {
    fs::create_directories("ro");
    fs::create_directories("rw");
    Write("rw/record", "previous");
    fs::create_symlink("../rw/record", "ro/.vellumstate");
    ASSERT_TRUE(GiveToChildUser("rw"));
    ASSERT_TRUE(GiveToChildUser("rw/record"));
    fs::permissions("ro", kReadOnlyFolder);
    int result = InChild([&] {
        if (!DropRoot()) return 99;
        return ReplaceFileContents((dir / "ro/.vellumstate").string(), "7|8|") == ReplaceResult::kWritten ? 0 : 1;
    });
    fs::permissions("ro", kOpenFolder);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Read("rw/record"), "7|8|");
    EXPECT_TRUE(fs::is_symlink("ro/.vellumstate"));
    EXPECT_EQ(Entries(dir / "ro"), std::vector<std::string>{".vellumstate"});
    EXPECT_EQ(Entries(dir / "rw"), std::vector<std::string>{"record"});
}

}  // namespace
