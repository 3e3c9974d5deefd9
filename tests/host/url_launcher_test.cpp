// OpenUrl: the URL reaches the desktop's handler as one argument, untouched
// by any shell, and the handler's process is collected.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "host/url_launcher.h"
#include "tests/host/fake_host.h"

namespace fs = std::filesystem;

namespace {

struct UrlTest : ::testing::Test {
    fs::path dir;
    std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";

    void SetUp() override {
        char pattern[] = "/tmp/solbrim-url-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        // A stand-in for xdg-open that records its arguments, one per line.
        fs::path script = dir / "xdg-open";
        std::ofstream(script) << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"" << (dir / "args").string()
                              << ".tmp\"\nmv \"" << (dir / "args").string() << ".tmp\" \"" << (dir / "args").string()
                              << "\"\n";
        fs::permissions(script, fs::perms::owner_all);
        setenv("PATH", (dir.string() + ":" + oldPath).c_str(), 1);
    }
    void TearDown() override {
        setenv("PATH", oldPath.c_str(), 1);
        fs::remove_all(dir);
    }
    std::string WaitForArgs() {
        for (int i = 0; i < 200 && !fs::exists(dir / "args"); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        std::ifstream in(dir / "args");
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

TEST_F(UrlTest, UrlArrivesAsOneUntouchedArgument) {
    FakeHost host;
    const char* url = "https://example.org/a b?x=1&y=$(touch pwned);`id`|cat";
    host.game->OpenUrl(url);
    EXPECT_EQ(WaitForArgs(), std::string(url) + "\n");
    EXPECT_FALSE(fs::exists("pwned"));
}

TEST_F(UrlTest, FinishedLaunchersAreReaped) {
    UrlLauncher launcher;
    ASSERT_TRUE(launcher.Open("https://example.org/"));
    EXPECT_EQ(launcher.Pending(), 1);
    WaitForArgs();
    for (int i = 0; i < 200 && launcher.Pending() > 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
        launcher.Reap();
    }
    EXPECT_EQ(launcher.Pending(), 0);
}

TEST_F(UrlTest, ReapNeverWaitsForARunningLauncher) {
    UrlLauncher launcher("sleep");
    ASSERT_TRUE(launcher.Open("1"));
    auto start = std::chrono::steady_clock::now();
    launcher.Reap();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(launcher.Pending(), 1);
}

TEST_F(UrlTest, OptionLikeAndEmptyUrlsAreRefused) {
    UrlLauncher launcher;
    EXPECT_FALSE(launcher.Open(""));
    EXPECT_FALSE(launcher.Open("--help"));
    EXPECT_EQ(launcher.Pending(), 0);
}

TEST_F(UrlTest, MissingProgramIsNotAnError) {
    UrlLauncher launcher("solbrim-no-such-program");
    EXPECT_FALSE(launcher.Open("https://example.org/"));
}

}  // namespace
