// Framework globals and functions: the update rate, the clock, the state
// file through the host, the asynchronous event sources.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/framework.h"
#include "runtime/gc.h"
#include "tests/host/fake_host.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> gServed;

class Source : public c_IAsyncEventSource {
public:
    explicit Source(std::string name, int unregisterTimes = 0) : name_(std::move(name)), unregister_(unregisterTimes) {}
    void UpdateAsyncEvents() override {
        gServed.push_back(name_ + (gCurrentEventSource.get() == this ? "" : " (not current)"));
        // Serving again from inside a source does nothing.
        ::UpdateAsyncEvents();
        if (unregister_ > 0) {
            --unregister_;
            gCurrentEventSource = nullptr;
        }
    }

private:
    std::string name_;
    int unregister_;
};

struct FrameworkTest : ::testing::Test {
    FakeHost host;
    void SetUp() override {
        InitFrameworkGlobals();
        gServed.clear();
    }
    void TearDown() override {
        InitFrameworkGlobals();
    }
};

TEST_F(FrameworkTest, GlobalsStartEmptyWithTheHostAndAnEmptySourceStack) {
    EXPECT_EQ(HxGame::Current(), host.game.get());
    EXPECT_FALSE(gApp);
    EXPECT_FALSE(gGameDelegate);
    EXPECT_EQ(gUpdateRate, 0);
    ASSERT_TRUE(gAsyncEventSources);
    EXPECT_EQ(gAsyncEventSources->Length(), 0);
    EXPECT_FALSE(gCurrentEventSource);
}

TEST_F(FrameworkTest, SetUpdateRateStoresTheRateAndTellsTheHost) {
    host.window->now = 2.0;
    SetUpdateRate(60);
    EXPECT_EQ(gUpdateRate, 60);
    EXPECT_EQ(host.game->UpdateRate(), 60);
    EXPECT_DOUBLE_EQ(host.game->Scheduler().NextUpdateTime(), 2.0 + 1.0 / 60);
    SetUpdateRate(5);
    EXPECT_EQ(host.game->UpdateRate(), 5);
}

TEST_F(FrameworkTest, MillisecsIsTheHostsClock) {
    host.window->now = 12.3456;
    EXPECT_EQ(Millisecs(), 12345);
}

TEST_F(FrameworkTest, StateGoesThroughTheHost) {
    fs::path old = fs::current_path();
    char pattern[] = "/tmp/solbrim-fw-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    fs::current_path(pattern);
    EXPECT_EQ(SaveState("1|2|3|"), 0);
    EXPECT_TRUE(LoadState() == String("1|2|3|"));
    fs::current_path(old);
    fs::remove_all(pattern);
}

TEST_F(FrameworkTest, EmptySourceStackServesNothing) {
    EXPECT_EQ(UpdateAsyncEvents(), 0);
    EXPECT_TRUE(gServed.empty());
    EXPECT_FALSE(gCurrentEventSource);
}

TEST_F(FrameworkTest, EverySourceIsServedOnceAsTheCurrentSource) {
    gAsyncEventSources->Push(new Source("a"));
    gAsyncEventSources->Push(new Source("b"));
    gAsyncEventSources->Push(new Source("c"));
    UpdateAsyncEvents();
    EXPECT_EQ(gServed, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_FALSE(gCurrentEventSource);
}

TEST_F(FrameworkTest, ASourceThatClearsTheCurrentSourceKeepsItsIndex) {
    gAsyncEventSources->Push(new Source("a", 1));
    gAsyncEventSources->Push(new Source("b"));
    UpdateAsyncEvents();
    EXPECT_EQ(gServed, (std::vector<std::string>{"a", "a", "b"}));
}

TEST_F(FrameworkTest, SourcesAreKeptByTheStackThroughCollections) {
    for (int i = 0; i < 20; ++i) gAsyncEventSources->Push(new Source(std::to_string(i)));
    gc::SetForce();
    gc::CollectStep();
    gc::SetForce();
    gc::CollectStep();
    ASSERT_EQ(gAsyncEventSources->Length(), 20);
    for (int i = 0; i < 20; ++i) EXPECT_TRUE(gc::IsLive(gAsyncEventSources->Get(i)));
    UpdateAsyncEvents();
    EXPECT_EQ(gServed.size(), 20u);
}

}  // namespace
