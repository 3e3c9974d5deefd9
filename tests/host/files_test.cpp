// Virtual paths, whole-file reading and the state file.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "host/data_path.h"
#include "host/file_io.h"
#include "host/hx_vellum_game.h"
#include "runtime/gc.h"
#include "tests/host/child_process.h"
#include "tests/host/fake_host.h"

namespace fs = std::filesystem;

namespace {

std::string Narrow(const String& s) { return s.ToNarrow(); }

TEST(VirtualPaths, RootsMapToFoldersUnderTheWorkingDirectory) {
    EXPECT_EQ(MapVirtualPath("vellum://data/menu.png"), "./data/menu.png");
    EXPECT_EQ(MapVirtualPath("vellum://data/"), "./data/");
    EXPECT_EQ(MapVirtualPath("vellum://internal/a/b.txt"), "./internal/a/b.txt");
    EXPECT_EQ(MapVirtualPath("vellum://external/x"), "./external/x");
}

TEST(VirtualPaths, TheDataRootFollowsTheDataFolderAndTheOthersStayPut) {
    std::string installed("/usr/share/solbrim/data/");
    EXPECT_EQ(MapVirtualPath("vellum://data/sfx/001.wav", installed), "/usr/share/solbrim/data/sfx/001.wav");
    EXPECT_EQ(MapVirtualPath("vellum://internal/a", installed), "./internal/a");
    EXPECT_EQ(MapVirtualPath("./.vellumstate", installed), "./.vellumstate");
    EXPECT_TRUE(MapVirtualPath("vellum://dat/x", installed).empty());
}

TEST(VirtualPaths, PlainPathsPassAndUnknownRootsGiveNothing) {
    EXPECT_EQ(MapVirtualPath("./.vellumstate"), "./.vellumstate");
    EXPECT_EQ(MapVirtualPath("/etc/hosts"), "/etc/hosts");
    EXPECT_EQ(MapVirtualPath("menu.png"), "menu.png");
    EXPECT_TRUE(MapVirtualPath("vellum://cache/x").empty());
    EXPECT_TRUE(MapVirtualPath("vellum:data/x").empty());
    EXPECT_TRUE(MapVirtualPath("vellum://dat").empty());
}

TEST(VirtualPaths, FolderBytesThatAreNotUtf8AreJoinedUnchanged) {
    const std::string latin1 = "/home/jos\xe9/share/solbrim/data/";
    EXPECT_EQ(MapVirtualPath("vellum://data/menu-hd.png", latin1), latin1 + "menu-hd.png");
    // The game's own names are text: a name with é becomes its UTF-8.
    const std::u16string name = u"vellum://data/caf\u00e9.png";
    EXPECT_EQ(MapVirtualPath(String(name.data(), static_cast<int>(name.size())), latin1),
              latin1 + "caf\xc3\xa9.png");
}

TEST(FixDataPath, LeavesSchemesDrivesAndExplicitPathsAlone) {
    for (const char* path : {"./x.png", "/x.png", "vellum://data/x.png", "c:/games/x.png", "http://a/b"})
        EXPECT_EQ(Narrow(FixDataPath(path)), path);
}

TEST(FixDataPath, PrefixesAssetNames) {
    EXPECT_EQ(Narrow(FixDataPath("x.png")), "vellum://data/x.png");
    EXPECT_EQ(Narrow(FixDataPath("sfx/001.wav")), "vellum://data/sfx/001.wav");
    EXPECT_EQ(Narrow(FixDataPath("a:b/c")), "vellum://data/a:b/c");
    // A slash before the scheme's ":/" means it is not a scheme.
    EXPECT_EQ(Narrow(FixDataPath("dir/a:/b")), "vellum://data/dir/a:/b");
    EXPECT_EQ(Narrow(FixDataPath("")), "vellum://data/");
}

// Every test runs in a fresh working directory.
struct FileTest : ::testing::Test {
    fs::path old = fs::current_path();
    fs::path dir;
    FakeHost host;
    HxGlfwGame& game = *host.game;

    void SetUp() override {
        char pattern[] = "/tmp/solbrim-files-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        fs::current_path(dir);
        fs::create_directory("data");
    }
    void TearDown() override {
        fs::current_path(old);
        fs::permissions(dir, fs::perms::owner_all);
        fs::remove_all(dir);
    }
    static void Write(const fs::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string Read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(FileTest, ReadsFilesAtAndAroundTheBlockSize) {
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, kReadBlockSize - 1, kReadBlockSize,
                             kReadBlockSize + 1, 3 * kReadBlockSize}) {
        std::string bytes(size, '\0');
        for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 7 + 1);
        Write("data/blob.bin", bytes);
        int length = -5;
        unsigned char* data = game.LoadData("vellum://data/blob.bin", &length);
        ASSERT_NE(data, nullptr) << size;
        EXPECT_EQ(length, static_cast<int>(size));
        EXPECT_EQ(std::string(reinterpret_cast<char*>(data), static_cast<std::size_t>(length)), bytes);
        std::free(data);
    }
}

TEST_F(FileTest, ReadWholeFileStopsAtTheShortRead) {
    Write("exact.bin", std::string(kReadBlockSize, 'x'));
    FILE* f = std::fopen("exact.bin", "rb");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(ReadWholeFile(f).size(), kReadBlockSize);
    EXPECT_TRUE(std::feof(f));
    std::fclose(f);
}

TEST_F(FileTest, LoadDataSetsTheForceFlagAndMissingFilesGiveNothing) {
    gc::CollectStep();
    Write("data/a.bin", "abc");
    int length = -5;
    unsigned char* data = game.LoadData("vellum://data/a.bin", &length);
    ASSERT_NE(data, nullptr);
    std::free(data);
    EXPECT_TRUE(gc::GetStats().forceFlag);
    gc::CollectStep();

    length = -5;
    EXPECT_EQ(game.LoadData("vellum://data/missing.bin", &length), nullptr);
    EXPECT_EQ(length, -5);
    EXPECT_EQ(game.LoadData("vellum://nowhere/a.bin", &length), nullptr);
}

TEST_F(FileTest, OpenFileGoesThroughTheMapping) {
    Write("data/a.txt", "A");
    FILE* f = game.OpenFile("vellum://data/a.txt", "rb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    EXPECT_EQ(game.OpenFile("vellum://bogus/a.txt", "rb"), nullptr);
    // The neutral host maps nothing, so it opens nothing.
    HxGame base;
    EXPECT_EQ(base.OpenFile("./data/a.txt", "rb"), nullptr);
    EXPECT_EQ(base.SaveState("x"), -1);
    EXPECT_TRUE(base.LoadState().Empty());
}

TEST_F(FileTest, LoadStringDecodesEveryAcceptedEncoding) {
    Write("data/le.txt", std::string("\xFF\xFE" "A\0\xE9\0", 6));
    Write("data/be.txt", std::string("\xFE\xFF\0A\0\xE9", 6));
    Write("data/bom8.txt", "\xEF\xBB\xBF" "A\xC3\xA9");
    Write("data/plain8.txt", "A\xC3\xA9");
    for (const char* name : {"le", "be", "bom8", "plain8"}) {
        String text = game.LoadString(String("vellum://data/") + String(name) + String(".txt"));
        ASSERT_EQ(text.Length(), 2) << name;
        EXPECT_EQ(text[0], 'A') << name;
        EXPECT_EQ(text[1], 0xE9) << name;
    }
    EXPECT_TRUE(game.LoadString("vellum://data/missing.txt").Empty());
}

TEST_F(FileTest, StateRoundTripStoresUtf8WithoutMark) {
    const char16_t units[] = {'s', 'c', 'o', 'r', 'e', 0xE9, '|', 0x20AC};
    String state(units, 8);
    EXPECT_EQ(game.SaveState(state), 0);
    EXPECT_EQ(Read(".vellumstate"), "score\xC3\xA9|\xE2\x82\xAC");
    EXPECT_TRUE(game.LoadState() == state);
    EXPECT_EQ(Entries(), (std::vector<std::string>{".vellumstate", "data"}));  // no temporary left
}

TEST_F(FileTest, EmptyStateTruncatesTheFileAndLoadsBackEmpty) {
    Write(".vellumstate", "old content");
    EXPECT_EQ(game.SaveState(String()), 0);
    EXPECT_TRUE(fs::exists(".vellumstate"));
    EXPECT_EQ(fs::file_size(".vellumstate"), 0u);
    EXPECT_TRUE(game.LoadState().Empty());
}

TEST_F(FileTest, StateWrittenByAnotherToolInUtf16Loads) {
    Write(".vellumstate", std::string("\xFF\xFE" "1\0|\0\xE9\0", 8));
    String s = game.LoadState();
    ASSERT_EQ(s.Length(), 3);
    EXPECT_EQ(s[2], 0xE9);
}

TEST_F(FileTest, MissingStateLoadsEmpty) { EXPECT_TRUE(game.LoadState().Empty()); }

TEST_F(FileTest, SaveIntoReadOnlyDirectoryFailsWithMinusOneAndKeepsTheOldFile) {
    Write(".vellumstate", "previous");
    fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                             fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(".vellumstate", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    int result = InChild([&] {
        if (!DropRoot()) return 99;
        int rc = game.SaveState("new state");
        return rc == -1 ? 0 : 10 - rc;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Read(".vellumstate"), "previous");
    EXPECT_EQ(Entries(), (std::vector<std::string>{".vellumstate", "data"}));
}

TEST_F(FileTest, ShortWriteFailsWithMinusTwoAndKeepsTheOldFile) {
    Write(".vellumstate", "previous");
    int result = InChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4, 4};  // no file may grow beyond 4 bytes
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 99;
        int rc = game.SaveState("a state far longer than four bytes");
        return rc == -2 ? 0 : 10 - rc;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Read(".vellumstate"), "previous");
    EXPECT_EQ(Entries(), (std::vector<std::string>{".vellumstate", "data"}));
}

TEST_F(FileTest, SaveOverAReadOnlyFileFailsWithMinusOneAndKeepsIt) {
    Write(".vellumstate", "previous");
    const auto readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
    fs::permissions(".vellumstate", readOnly);
    // The folder stays writable: only the file forbids the save.
    fs::permissions(dir, fs::perms::all);
    int result = InChild([&] {
        if (!DropRoot()) return 99;
        int rc = game.SaveState("new state");
        return rc == -1 ? 0 : 10 - rc;
    });
    if (result == 99) GTEST_SKIP() << "running as root and cannot switch to an ordinary user";
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Read(".vellumstate"), "previous");
    EXPECT_EQ(fs::status(".vellumstate").permissions(), readOnly);
    EXPECT_EQ(Entries(), (std::vector<std::string>{".vellumstate", "data"}));
}

TEST_F(FileTest, SymbolicLinksStayAndTheFilesTheyLeadToReceiveTheState) {
    fs::create_directory("synced");
    Write("synced/state", "old");
    // An absolute link to a relative one, which resolves beside itself.
    fs::create_symlink("state", "synced/latest");
    fs::create_symlink(dir / "synced/latest", ".vellumstate");
    EXPECT_EQ(game.SaveState("new state"), 0);
    EXPECT_TRUE(fs::is_symlink(".vellumstate"));
    EXPECT_EQ(fs::read_symlink(".vellumstate"), dir / "synced/latest");
    EXPECT_TRUE(fs::is_symlink("synced/latest"));
    EXPECT_EQ(Read("synced/state"), "new state");
    EXPECT_TRUE(game.LoadState() == String("new state"));
    EXPECT_EQ(Entries(), (std::vector<std::string>{".vellumstate", "data", "synced"}));
    std::vector<std::string> synced;
    for (const auto& e : fs::directory_iterator("synced")) synced.push_back(e.path().filename().string());
    std::sort(synced.begin(), synced.end());
    EXPECT_EQ(synced, (std::vector<std::string>{"latest", "state"}));  // no temporary left

    // A link to a file not yet written creates that file.
    fs::remove(".vellumstate");
    fs::create_symlink("synced/first", ".vellumstate");
    EXPECT_EQ(game.SaveState("first"), 0);
    EXPECT_TRUE(fs::is_symlink(".vellumstate"));
    EXPECT_EQ(Read("synced/first"), "first");
}

TEST_F(FileTest, LinksThatLoopAreRefusedWithMinusOne) {
    fs::create_symlink("b", "a");
    fs::create_symlink("a", "b");
    fs::create_symlink("a", ".vellumstate");
    EXPECT_EQ(game.SaveState("state"), -1);
    EXPECT_TRUE(fs::is_symlink("a"));
    EXPECT_TRUE(fs::is_symlink("b"));
    EXPECT_TRUE(fs::is_symlink(".vellumstate"));
}

TEST_F(FileTest, SaveKeepsThePermissionBitsAndTheOwner) {
    mode_t oldMask = ::umask(022);  // a new file would get 0644
    for (mode_t mode : {0600, 0640, 0666}) {
        Write(".vellumstate", "previous");
        ASSERT_EQ(::chmod(".vellumstate", mode), 0);
        EXPECT_EQ(game.SaveState("state"), 0);
        struct stat info {};
        ASSERT_EQ(::stat(".vellumstate", &info), 0);
        EXPECT_EQ(info.st_mode & 07777, mode) << std::oct << mode;
        EXPECT_EQ(Read(".vellumstate"), "state");
    }
    ::umask(oldMask);
    if (geteuid() != 0) return;  // only root can hand a file to someone else
    ASSERT_EQ(::chown(".vellumstate", kNobody, kNobody), 0);
    EXPECT_EQ(game.SaveState("saved by root"), 0);
    struct stat info {};
    ASSERT_EQ(::stat(".vellumstate", &info), 0);
    EXPECT_EQ(info.st_uid, 65534u);
    EXPECT_EQ(info.st_gid, 65534u);
}

TEST_F(FileTest, ADirectoryOrAPipeWhereTheFileBelongsIsRefusedWithMinusOne) {
    fs::create_directory(".vellumstate");
    Write(".vellumstate/keep", "x");
    EXPECT_EQ(game.SaveState("state"), -1);
    EXPECT_TRUE(fs::is_directory(".vellumstate"));
    EXPECT_EQ(Read(".vellumstate/keep"), "x");
    EXPECT_EQ(Entries(), (std::vector<std::string>{".vellumstate", "data"}));

    ASSERT_EQ(::mkfifo("pipe", 0644), 0);
    EXPECT_EQ(ReplaceFileContents("pipe", "state"), ReplaceResult::kCannotCreate);
    EXPECT_TRUE(fs::is_fifo("pipe"));
}

TEST_F(FileTest, SaveReplacesTheWholeFile) {
    Write(".vellumstate", "a much longer previous state");
    EXPECT_EQ(game.SaveState("short"), 0);
    EXPECT_EQ(Read(".vellumstate"), "short");
}

TEST(GetDate, FillsAsFarAsTheArrayReaches) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    HxGame host;
    Global<Array<int>> three{Array<int>(3)};
    host.GetDate(three);
    EXPECT_EQ(three[0], local.tm_year + 1900);
    EXPECT_GE(three[1], 1);
    EXPECT_LE(three[1], 12);
    EXPECT_GE(three[2], 1);
    EXPECT_LE(three[2], 31);

    Global<Array<int>> nine{Array<int>(9)};
    nine[6] = 55;
    nine[7] = 77;
    nine[8] = 88;
    host.GetDate(nine);
    EXPECT_GE(nine[3], 0);
    EXPECT_LE(nine[3], 23);
    EXPECT_LE(nine[4], 59);
    EXPECT_LE(nine[5], 60);
    EXPECT_EQ(nine[6], 0);
    EXPECT_EQ(nine[7], 77);
    EXPECT_EQ(nine[8], 88);

    host.GetDate(Array<int>());  // nothing to fill, nothing happens
}

// The game's own host started away from its files: the data folder of an
// installed copy and the record in the player's folder, both elsewhere than
// the (empty) folder the game was started from.
struct PlayerFolderTest : FileTest {
    fs::path start, installed, playerFolder;
    std::unique_ptr<HxVellumGame> vellum;

    void SetUp() override {
        FileTest::SetUp();
        start = dir / "start";
        installed = dir / "usr/share/solbrim/data";
        playerFolder = dir / "home/.local/share/solbrim";
        fs::create_directories(start);
        fs::create_directories(installed);
        fs::current_path(start);
        vellum = MakeHost({installed.string() + "/", (playerFolder / ".vellumstate").string(), playerFolder.string()});
    }
    static std::unique_ptr<HxVellumGame> MakeHost(GameFiles files) {
        return std::make_unique<HxVellumGame>(std::move(files), std::make_unique<FakeWindow>(),
                                              std::make_unique<FakeJoystick>());
    }
};

TEST_F(PlayerFolderTest, AssetsComeFromTheDataFolderFoundAtStart) {
    Write(installed / "a.txt", "installed");
    Write(dir / "data/a.txt", "a stray copy");
    EXPECT_TRUE(vellum->LoadString("vellum://data/a.txt") == String("installed"));
    int length = -5;
    unsigned char* bytes = vellum->LoadData("vellum://data/missing.bin", &length);
    EXPECT_EQ(bytes, nullptr);
    EXPECT_EQ(length, -5);
}

TEST_F(PlayerFolderTest, FirstSaveMakesAPrivateFolderAndWritesNothingWhereTheGameStarted) {
    EXPECT_TRUE(vellum->LoadState().Empty());
    ASSERT_EQ(vellum->SaveState("7|8|"), 0);
    EXPECT_EQ(Read(playerFolder / ".vellumstate"), "7|8|");
    EXPECT_EQ(fs::status(playerFolder).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_TRUE(vellum->LoadState() == String("7|8|"));
    // A second save replaces the record in the folder the first one made.
    ASSERT_EQ(vellum->SaveState("9|"), 0);
    EXPECT_EQ(Read(playerFolder / ".vellumstate"), "9|");
    EXPECT_TRUE(fs::is_empty(start));
}

TEST_F(PlayerFolderTest, UnwritablePlayerFolderFailsAndWritesNothingAnywhere) {
    fs::create_directories(dir / "home");
    fs::permissions(dir / "home", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                      fs::perms::others_exec);
    int result = InChild([&] {
        if (!DropRoot()) return 99;
        int rc = vellum->SaveState("lost");
        return rc == -1 ? 0 : 10 - rc;
    });
    fs::permissions(dir / "home", fs::perms::owner_all);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(fs::is_empty(dir / "home"));
    EXPECT_TRUE(fs::is_empty(start));
}

TEST_F(PlayerFolderTest, FoldersWhoseNamesAreNotUtf8AreUsedAsTheyAre) {
    const fs::path latin1 = dir / "jos\xe9";  // a Latin-1 home folder
    const fs::path data = latin1 / "share/solbrim/data", player = latin1 / ".local/share/solbrim";
    fs::create_directories(data);
    Write(data / "a.txt", "installed");
    auto host = MakeHost({data.string() + "/", (player / ".vellumstate").string(), player.string()});
    EXPECT_TRUE(host->LoadString("vellum://data/a.txt") == String("installed"));
    int length = 0;
    unsigned char* bytes = host->LoadData("vellum://data/a.txt", &length);
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(length, 9);
    std::free(bytes);

    ASSERT_EQ(host->SaveState("7|8|"), 0);
    EXPECT_EQ(Read(player / ".vellumstate"), "7|8|");
    EXPECT_TRUE(host->LoadState() == String("7|8|"));
    // Nothing went to a folder of the name decoded and encoded again.
    EXPECT_EQ(Entries(), (std::vector<std::string>{"data", "jos\xe9", "start", "usr"}));
}

TEST_F(PlayerFolderTest, NoPlayerFolderAtAllMeansNoRecord) {
    auto homeless = MakeHost({installed.string() + "/", "", ""});
    EXPECT_EQ(homeless->SaveState("lost"), -1);
    EXPECT_TRUE(homeless->LoadState().Empty());
    EXPECT_TRUE(fs::is_empty(start));
    EXPECT_FALSE(fs::exists(dir / "home"));
}

}  // namespace
