// A GoogleTest fixture around one GameProcess: SetUp starts the program and
// waits for its window (a failure shows what the program printed); Shot
// saves a screenshot of the window in the program's working directory.
//
//   class TitleTest : public GameProcessTest {};   // runs ${SOLBRIM_BUILD_DIR}/solbrim
//   TEST_F(TitleTest, ...) { std::string png = Shot("title"); game.Key("space"); }
//
// A fixture for another program passes its options to the constructor.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "tests/e2e/game_process.h"

class GameProcessTest : public ::testing::Test {
protected:
    GameProcessTest() = default;
    explicit GameProcessTest(GameProcess::Options options) : game(std::move(options)) {}

    void SetUp() override {
        ASSERT_TRUE(game.Start());
        ASSERT_FALSE(game.WaitForWindow().empty())
            << "no window of the program mapped; it printed: " << game.Stdout() << game.Stderr();
    }

    // The path of a new screenshot "<name>.png" of the window.
    std::string Shot(const std::string& name) {
        std::string path = game.WorkDir() + "/" + name + ".png";
        game.Screenshot(path);
        return path;
    }

    GameProcess game;
};
