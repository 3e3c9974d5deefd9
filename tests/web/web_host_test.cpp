// The web host's frames on a fake window and clock: the browser calls Frame
// at its own rate, the fixed-step schedule decides the updates, a hidden
// page suspends, a save is copied out to storage only when it worked, and
// a resolution level's package is fetched once and counts only when whole.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "runtime/ref.h"
#include "tests/host/child_process.h"
#include "tests/host/fake_host.h"
#include "web/hx_web_game.h"

namespace {

Global<Ref<RecordingDelegate>> gDelegate;

// The browser's window: it never sleeps, so the clock moves only when a
// test moves it.
class PageWindow : public FakeWindow {
public:
    void Sleep(double seconds) override { sleeps.push_back(seconds); }
};

struct WebHost {
    PageWindow* window = nullptr;
    std::unique_ptr<HxWebGame> game;
    RecordingDelegate* delegate = nullptr;
    int persisted = 0;
    int startedFrames = 0;
    std::string openedUrl;
    std::vector<int> fetched;

    explicit WebHost(GameFiles files = GameFiles{}, bool storage = true) {
        auto w = std::make_unique<PageWindow>();
        window = w.get();
        WebPage page;
        page.storageAvailable = storage;
        page.persist = [this] { ++persisted; };
        page.openUrl = [this](const std::string& url) { openedUrl = url; };
        page.startFrames = [this](std::function<void()>) { ++startedFrames; };
        page.fetchLevel = [this](int level) { fetched.push_back(level); };
        page.presentLevels = {2};
        game = std::make_unique<HxWebGame>(files, std::move(w), std::make_unique<FakeJoystick>(), std::move(page));
        delegate = new RecordingDelegate();
        gDelegate = delegate;
        game->SetDelegate(delegate);
        delegate->hook = [this](const std::string& call) {
            if (call == "StartGame") game->SetUpdateRate(60);
        };
    }
    ~WebHost() { gDelegate = nullptr; }

    // One browser frame after `seconds` more have passed; the updates it ran.
    int FrameAfter(double seconds) {
        window->now += seconds;
        int before = delegate->Count("UpdateGame");
        game->Frame();
        return delegate->Count("UpdateGame") - before;
    }
};

TEST(WebHostFrames, RunHandsTheFramesToThePageAndTheFirstFrameStartsAndRenders) {
    WebHost host;
    host.game->Run();
    EXPECT_EQ(host.startedFrames, 1);
    EXPECT_TRUE(host.delegate->calls.empty());  // nothing happens until the browser calls

    host.game->Frame();
    ASSERT_EQ(host.delegate->calls.size(), 2u);
    EXPECT_EQ(host.delegate->calls[0], "StartGame");
    EXPECT_EQ(host.delegate->calls[1], "RenderGame");
    EXPECT_EQ(host.window->attached, host.game.get());
}

TEST(WebHostFrames, FastDisplayRunsSixtyUpdatesASecondAtMostOnePerFrame) {
    WebHost host;
    host.game->Frame();
    int updates = 0, renders = host.delegate->Count("RenderGame");
    for (int frame = 0; frame < 144; ++frame) {  // one second at 144 Hz
        int ran = host.FrameAfter(1.0 / 144);
        EXPECT_LE(ran, 1) << "frame " << frame;
        updates += ran;
    }
    EXPECT_GE(updates, 59);
    EXPECT_LE(updates, 60);
    // Frames between updates render nothing and never wait.
    EXPECT_EQ(host.delegate->Count("RenderGame") - renders, updates);
    EXPECT_EQ(host.window->waits, 0);
}

TEST(WebHostFrames, SlowDisplayRunsTwoUpdatesAndOneRenderPerFrame) {
    WebHost host;
    host.game->Frame();
    host.FrameAfter(1.0 / 60 + 0.001);  // on schedule: one update
    int renders = host.delegate->Count("RenderGame");
    for (int frame = 0; frame < 15; ++frame) EXPECT_EQ(host.FrameAfter(1.0 / 30), 2) << "frame " << frame;
    EXPECT_EQ(host.delegate->Count("RenderGame") - renders, 15);
}

TEST(WebHostFrames, StalledPageRunsFourUpdatesThenDropsTheBacklog) {
    WebHost host;
    host.game->Frame();
    host.FrameAfter(0.017);
    EXPECT_EQ(host.FrameAfter(0.250), 4);  // 15 were due
    // The schedule restarts from the stall's end: the next frame runs one
    // update, not four more of the eleven left over.
    EXPECT_EQ(host.FrameAfter(0.004), 1);
    EXPECT_EQ(host.FrameAfter(0.004), 0);
}

TEST(WebHostFrames, HiddenPageSuspendsAndShownPageResumesWithoutCatchingUp) {
    WebHost host;
    host.game->Frame();
    host.FrameAfter(0.017);
    host.window->iconified = true;
    host.window->active = false;
    int renders = host.delegate->Count("RenderGame");
    for (int frame = 0; frame < 5; ++frame) EXPECT_EQ(host.FrameAfter(1.0), 0);
    EXPECT_EQ(host.delegate->Count("SuspendGame"), 1);
    EXPECT_EQ(host.delegate->Count("RenderGame"), renders);  // nothing drawn while hidden

    host.window->iconified = false;
    host.window->active = true;
    // Resumes with one update, not the three hundred that fell due while hidden.
    EXPECT_EQ(host.FrameAfter(1.0), 1);
    EXPECT_EQ(host.delegate->Count("ResumeGame"), 1);
    EXPECT_EQ(host.FrameAfter(0.004), 0);
    EXPECT_EQ(host.FrameAfter(1.0 / 60), 1);
    EXPECT_EQ(host.delegate->Count("SuspendGame"), 1);
}

TEST(WebHostFrames, OpenedLinksGoToThePage) {
    WebHost host;
    host.game->OpenUrl(String("https://example.org/sol brim"));
    EXPECT_EQ(host.openedUrl, "https://example.org/sol brim");
}

// ---- saving -----------------------------------------------------------------

struct WebHostSave : ::testing::Test {
    std::filesystem::path folder;

    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "solbrim-web-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    GameFiles FilesIn(const std::filesystem::path& stateFolder) const {
        return GameFiles{"./data/", (stateFolder / ".vellumstate").string(), ""};
    }
    static std::string Read(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

TEST_F(WebHostSave, SavedRecordIsWrittenThenCopiedOutOnce) {
    WebHost host(FilesIn(folder));
    EXPECT_EQ(host.game->SaveState(String("7|8|")), 0);
    EXPECT_EQ(Read(folder / ".vellumstate"), "7|8|");
    EXPECT_EQ(host.persisted, 1);
    EXPECT_EQ(host.game->LoadState().ToUtf8(), "7|8|");
    // The temporary file is gone: only the record goes to storage.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
}

TEST_F(WebHostSave, WithoutStorageTheSaveFailsAndWritesNothing) {
    WebHost host(FilesIn(folder), /*storage=*/false);
    EXPECT_EQ(host.game->SaveState(String("7|8|")), -1);
    EXPECT_FALSE(std::filesystem::exists(folder / ".vellumstate"));
    EXPECT_EQ(host.persisted, 0);
}

TEST_F(WebHostSave, FailedWriteIsNotCopiedOut) {
    WebHost host(FilesIn(folder / "missing"));
    EXPECT_NE(host.game->SaveState(String("7|8|")), 0);
    EXPECT_EQ(host.persisted, 0);
}

TEST_F(WebHostSave, WritePastTheSizeLimitReportsItsFailureAndIsNotCopiedOut) {
    std::ofstream(folder / ".vellumstate") << "1|";
    WebHost host(FilesIn(folder));
    int result = InChild([&] {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{6, 6};  // no file may grow beyond 6 bytes
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0) return 99;
        int rc = host.game->SaveState(String("a record of far more than six bytes|"));
        return rc == -2 && host.persisted == 0 ? 0 : 10;
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Read(folder / ".vellumstate"), "1|");
    // Within the limit the same host saves and copies out once.
    EXPECT_EQ(host.game->SaveState(String("2|3|")), 0);
    EXPECT_EQ(host.persisted, 1);
}

}  // namespace

namespace {

TEST(WebHostLevels, OnlyTheLevelsPutInPlaceBeforeStartArePresent) {
    WebHost host;
    EXPECT_TRUE(host.game->ResolutionLevelPresent(2));
    EXPECT_FALSE(host.game->ResolutionLevelPresent(1));
    EXPECT_FALSE(host.game->ResolutionLevelPresent(4));
    host.game->FetchResolutionLevel(2);  // present: nothing to fetch
    EXPECT_TRUE(host.fetched.empty());
}

TEST(WebHostLevels, AnAbsentLevelIsFetchedOnceAndPresentOnlyWhenItArrived) {
    WebHost host;
    for (int ask = 0; ask < 3; ++ask) host.game->FetchResolutionLevel(4);
    EXPECT_EQ(host.fetched, std::vector<int>{4});
    EXPECT_FALSE(host.game->ResolutionLevelPresent(4));  // on its way
    host.game->LevelFetched(1, true);  // never asked for: ignored
    EXPECT_FALSE(host.game->ResolutionLevelPresent(1));
    host.game->LevelFetched(4, true);
    EXPECT_TRUE(host.game->ResolutionLevelPresent(4));
    host.game->FetchResolutionLevel(4);
    EXPECT_EQ(host.fetched.size(), 1u);
}

TEST(WebHostLevels, AFailedLevelIsNeitherPresentNorFetchedAgain) {
    WebHost host;
    host.game->FetchResolutionLevel(1);
    host.game->LevelFetched(1, false);
    EXPECT_FALSE(host.game->ResolutionLevelPresent(1));
    host.game->FetchResolutionLevel(1);
    host.game->LevelFetched(1, true);  // a late answer cannot revive it
    EXPECT_FALSE(host.game->ResolutionLevelPresent(1));
    EXPECT_EQ(host.fetched, std::vector<int>{1});
}

}  // namespace
