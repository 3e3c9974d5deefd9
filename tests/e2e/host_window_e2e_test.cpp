// The real game binary under the test's X server: its window, its start-up
// failures and its answer to a window manager's close request.
#include <gtest/gtest.h>

#include "desktop/entry_point.h"
#include "tests/e2e/game_process.h"

namespace {

TEST(GameWindow, Opens640By480TitledAndCentredOnTheScreen) {
    GameProcess game;
    ASSERT_TRUE(game.Start());
    ASSERT_FALSE(game.WaitForWindow().empty()) << game.Stdout() << game.Stderr();
    EXPECT_EQ(game.Title(), "Sol Brim");
    WindowGeometry g = game.Geometry();
    EXPECT_EQ(g.width, 640);
    EXPECT_EQ(g.height, 480);
    WindowGeometry screen = ScreenSize();
    ASSERT_GT(screen.width, 0);
    EXPECT_EQ(g.x, (screen.width - kWindowWidth) / 2);
    EXPECT_EQ(g.y, (screen.height - kWindowHeight) / 2);
    EXPECT_TRUE(game.Running());
}

TEST(GameWindow, CloseRequestEndsTheProgramWithExitZero) {
    GameProcess game;
    ASSERT_TRUE(game.Start());
    ASSERT_FALSE(game.WaitForWindow().empty()) << game.Stdout() << game.Stderr();
    game.SendCloseRequest();
    std::optional<int> status = game.WaitExit();
    ASSERT_TRUE(status.has_value()) << "still running after the close request";
    EXPECT_EQ(*status, 0) << game.Stdout() << game.Stderr();
    EXPECT_EQ(game.Stdout().find("Vellum Runtime Error"), std::string::npos);
}

TEST(GameWindow, NoDisplayMeansGlfwInitFailed) {
    GameProcess::Options options;
    options.env = {"DISPLAY=", "WAYLAND_DISPLAY="};
    GameProcess game(options);
    ASSERT_TRUE(game.Start());
    std::optional<int> status = game.WaitExit();
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 255);
    EXPECT_EQ(game.Stdout(), "glfwInit failed\n");
}

TEST(GameWindow, NoOpenGLMeansGlfwOpenWindowFailed) {
    // A display without GLX: the window library starts, the window cannot.
    PrivateXServer x({"-extension", "GLX"});
    ASSERT_FALSE(x.Display().empty());
    GameProcess::Options options;
    options.env = {"DISPLAY=" + x.Display()};
    GameProcess game(options);
    ASSERT_TRUE(game.Start());
    std::optional<int> status = game.WaitExit();
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 255);
    EXPECT_EQ(game.Stdout(), "glfwOpenWindow failed\n");
}

}  // namespace
