// The running framework end to end: the real binary draws a moving scene,
// answers a key and a click injected through the X server, and quits with
// exit code 0 on the window manager's close request.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/e2e/game_process.h"
#include "tests/e2e/game_process_test.h"

namespace {

// The test scene is its own program; "solbrim" is the game.
GameProcess::Options SceneProgram() {
    GameProcess::Options options;
    options.binary = BuildFolder() + "/solbrim_test_scene";
    return options;
}

struct SceneTest : GameProcessTest {
    SceneTest() : GameProcessTest(SceneProgram()) {}
    bool StdoutHas(const std::string& line) {
        return WaitUntil(10, [&] { return game.Stdout().find(line + "\n") != std::string::npos; });
    }
};

TEST_F(SceneTest, ShowsAMovingSceneThatIsNotBlank) {
    ASSERT_TRUE(WaitUntilSteady(10, [&] { return CountColours(Shot("first")) >= 4; })) << "nothing drawn";
    std::string a = Shot("a");
    ASSERT_TRUE(WaitUntil(5, [&] { return DifferingPixels(a, Shot("b")) > 100; })) << "the scene stands still";
}

TEST_F(SceneTest, ReactsToAKeyAndAClick) {
    game.Focus();
    std::string before = Shot("before");
    game.Key("a");
    EXPECT_TRUE(StdoutHas("key 65")) << game.Stdout();
    game.Click(100, 50);
    EXPECT_TRUE(StdoutHas("click 100 50")) << game.Stdout();
    // The background colour follows the key presses.
    EXPECT_TRUE(WaitUntilSteady(5, [&] { return DifferingPixels(before, Shot("after")) > 640 * 480 / 2; }))
        << "the background kept its colour";
}

TEST_F(SceneTest, QuitsWithExitZeroOnTheCloseRequest) {
    game.SendCloseRequest();
    std::optional<int> status = game.WaitExit();
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 0) << game.Stdout() << game.Stderr();
    EXPECT_EQ(game.Stdout().find("Vellum Runtime Error"), std::string::npos) << game.Stdout();
}

}  // namespace
