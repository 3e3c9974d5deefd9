// The process helper's own rules, which every end-to-end test leans on: a
// helper program that fails stops the test with its command and output, a
// screen counts as shown only on two polls in a row, and one odd poll does
// not break a watch.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "tests/e2e/game_process.h"

namespace {

// The message of the HelperFailed that running `call` throws; "" when none.
template <typename Call>
std::string FailureOf(Call call) {
    try {
        call();
    } catch (const HelperFailed& failure) {
        return failure.what();
    }
    return "";
}

TEST(HelperFailure, NamesTheCommandItsStatusAndWhatItPrinted) {
    const std::string command = "echo partial; echo refused >&2; exit 3";
    std::string message = FailureOf([&] { RunHelper(command); });
    EXPECT_NE(message.find("status 3"), std::string::npos) << message;
    EXPECT_NE(message.find(command), std::string::npos) << message;
    EXPECT_NE(message.find("stdout: partial"), std::string::npos) << message;
    EXPECT_NE(message.find("stderr: refused"), std::string::npos) << message;
}

TEST(HelperFailure, AStatusTheCallerAcceptsReturnsTheOutput) {
    EXPECT_EQ(RunHelper("echo differ; exit 1", 1), "differ\n");
    EXPECT_EQ(RunHelper("echo same"), "same\n");
    EXPECT_NE(FailureOf([] { RunHelper("exit 2", 1); }), "");  // only that one status
}

TEST(HelperFailure, ImagesOfDifferentSizesCannotBeCompared) {
    char dir[] = "/tmp/solbrim-helper-test-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    std::string a = std::string(dir) + "/a.png", b = std::string(dir) + "/b.png";
    RunHelper("convert -size 7x5 xc:red " + ShellQuote(a));
    RunHelper("convert -size 7x6 xc:red " + ShellQuote(b));
    EXPECT_EQ(DifferingPixels(a, a), 0);
    EXPECT_NE(FailureOf([&] { DifferingPixels(a, b); }).find("compare"), std::string::npos);
    EXPECT_NE(FailureOf([&] { CountColours(std::string(dir) + "/missing.png"); }).find("missing.png"),
              std::string::npos);
    RunCommand("rm -rf " + ShellQuote(dir));
}

TEST(HelperFailure, AnXCallOnAWindowThatIsGoneStopsTheTest) {
    GameProcess game;
    ASSERT_TRUE(game.Start());
    ASSERT_FALSE(game.WaitForWindow().empty()) << game.Stdout() << game.Stderr();
    game.SendCloseRequest();
    ASSERT_EQ(game.WaitExit(), 0) << game.Stdout() << game.Stderr();
    std::string message = FailureOf([&] { game.Geometry(); });
    EXPECT_NE(message.find("xwininfo -id " + game.WindowId()), std::string::npos) << message;
    EXPECT_NE(FailureOf([&] { game.Title(); }).find("getwindowname"), std::string::npos);
}

// A predicate that answers from a script of polls, then keeps the last answer.
struct Polls {
    std::vector<bool> answers;
    std::size_t asked = 0;
    bool operator()() {
        bool answer = answers[std::min(asked, answers.size() - 1)];
        ++asked;
        return answer;
    }
};

TEST(SteadyWaits, AScreenCountsAsShownOnlyOnTwoPollsInARow) {
    Polls flicker{{false, true, false, true, false, true, false}};
    EXPECT_FALSE(WaitUntilSteady(0.5, std::ref(flicker)));
    EXPECT_GT(flicker.asked, 3u);
    Polls arrives{{false, true, false, true, true}};
    EXPECT_TRUE(WaitUntilSteady(5, std::ref(arrives)));
    EXPECT_EQ(arrives.asked, 5u);
}

TEST(SteadyWaits, AWatchBreaksOnTwoMissesInARowOnly) {
    Polls oneOdd{{true, false, true, true, false, true}};
    oneOdd.answers.resize(40, true);
    for (std::size_t i = 6; i < 40; i += 3) oneOdd.answers[i] = false;  // lone misses all along
    EXPECT_TRUE(KeepsHolding(0.4, std::ref(oneOdd)));
    Polls twoMisses{{true, true, false, false, true}};
    EXPECT_FALSE(KeepsHolding(5, std::ref(twoMisses)));
    EXPECT_EQ(twoMisses.asked, 4u);
}

}  // namespace
