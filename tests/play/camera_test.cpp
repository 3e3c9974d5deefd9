// The drifting camera: speed ramp, gradual turns, the four bounces, staying
// inside the world, standing still while paused, and the sky behind it.
#include <algorithm>
#include <cmath>
#include <set>

#include "game/game_globals.h"
#include "runtime/random.h"
#include "tests/play/play_test_support.h"

namespace {

class CameraTest : public PlayTest {
protected:
    void SetUp() override {
        PlayTest::SetUp();
        NewSeededGame(4242);
        App()->headingTimer = 500;
    }

    // One drift update per seed from the same start; the headings it chose.
    template <class Arrange>
    std::set<int> HeadingsAfterBounce(Arrange arrange) {
        std::set<int> headings;
        for (int seed = 0; seed < 400; ++seed) {
            arrange(App());
            randomSeed = seed * 104729;
            App()->UpdateDrift();
            headings.insert(static_cast<int>(App()->heading));
        }
        return headings;
    }
};

TEST_F(CameraTest, DriftSpeedReachesTwoAfterAbout200Updates) {
    c_MyApp* app = App();
    int reached = 0;
    for (int n = 1; n <= 400 && reached == 0; ++n) {
        app->UpdateDrift();
        if (n == 100) {
            EXPECT_NEAR(app->driftSpeed, 1.0f, 0.02f);
        }
        if (app->driftSpeed == 2.0f) reached = n;
    }
    EXPECT_GE(reached, 195);
    EXPECT_LE(reached, 205);
    for (int n = 0; n < 50; ++n) app->UpdateDrift();
    EXPECT_EQ(app->driftSpeed, 2.0f);  // and stays there
}

TEST_F(CameraTest, TurnsAreGradual) {
    c_MyApp* app = App();
    app->driftSpeed = 2;
    app->headingTimer = 100000;
    app->heading = 0;  // up
    for (int n = 0; n < 600; ++n) app->UpdateDrift();
    EXPECT_NEAR(app->driftVelY, -2, 0.01);
    app->heading = 180;  // down
    for (int n = 0; n < 30; ++n) app->UpdateDrift();
    EXPECT_LT(app->driftVelY, 0);  // still going up half a second later
    for (int n = 0; n < 90; ++n) app->UpdateDrift();
    EXPECT_GT(app->driftVelY, 0);
    EXPECT_NEAR(app->driftVelX, 0, 0.01);
}

TEST_F(CameraTest, ANewHeadingComesWhenTheTimerRunsOut) {
    c_MyApp* app = App();
    app->heading = 1000;  // no heading the game would choose
    app->headingTimer = 2;
    app->UpdateDrift();
    EXPECT_EQ(app->heading, 1000);
    EXPECT_EQ(app->headingTimer, 1);
    app->UpdateDrift();
    EXPECT_GE(app->heading, 0);
    EXPECT_LE(app->heading, 360);
    EXPECT_GE(app->headingTimer, 450);
    EXPECT_LE(app->headingTimer, 900);
}

TEST_F(CameraTest, EachEdgeBouncesTheHeadingBackIntoTheWorld) {
    struct Edge {
        const char* name;
        void (*arrange)(c_MyApp*);
        int lo, hi;
    };
    const Edge edges[] = {
        {"left", [](c_MyApp* a) { a->cameraX = -40, a->driftX = -200, a->heading = 270; }, 45, 135},
        {"top", [](c_MyApp* a) { a->cameraY = -40, a->driftY = -200, a->heading = 0; }, 135, 225},
        {"right", [](c_MyApp* a) { a->cameraX = 4096 - 630, a->driftX = 5000, a->heading = 90; }, 225, 315},
        {"bottom", [](c_MyApp* a) { a->cameraY = 4096 - 470, a->driftY = 5000, a->heading = 180; }, -45, 45},
    };
    for (const Edge& edge : edges) {
        SetUp();
        float headingTimer = App()->headingTimer;
        std::set<int> headings = HeadingsAfterBounce(edge.arrange);
        EXPECT_EQ(*headings.begin(), edge.lo) << edge.name;
        EXPECT_EQ(*headings.rbegin(), edge.hi) << edge.name;
        EXPECT_GT(headings.size(), 60u) << edge.name;  // spread over the whole quarter
        EXPECT_EQ(App()->headingTimer, headingTimer - 400) << edge.name;  // not reset by a bounce
    }
    c_MyApp* app = App();
    edges[0].arrange(app);
    app->UpdateDrift();
    EXPECT_EQ(app->cameraX, -32);
    EXPECT_LT(app->driftX, -32);  // the drift point is not clamped
    edges[3].arrange(app);
    app->UpdateDrift();
    EXPECT_EQ(app->cameraY, 4096 - 480);
}

TEST_F(CameraTest, TheCameraStaysInsideTheWorldOverALongDrift) {
    c_MyApp* app = App();
    for (float width : {640.0f, 320.0f}) {
        virtualWidth = width;
        virtualHeight = 480;
        float minX = 1e9f, maxX = -1e9f, minY = 1e9f, maxY = -1e9f;
        for (int n = 0; n < 40000; ++n) {
            app->UpdateDrift();
            ASSERT_GE(app->cameraX, -32);
            ASSERT_GE(app->cameraY, -32);
            ASSERT_LE(app->cameraX, 4096 - width);
            ASSERT_LE(app->cameraY, 4096 - 480);
            minX = std::min(minX, app->cameraX), maxX = std::max(maxX, app->cameraX);
            minY = std::min(minY, app->cameraY), maxY = std::max(maxY, app->cameraY);
        }
        // The drift roams the world and meets its edges.
        EXPECT_GT(maxX - minX, 2000);
        EXPECT_GT(maxY - minY, 2000);
        EXPECT_TRUE(minX == -32 || maxX == 4096 - width || minY == -32 || maxY == 4096 - 480);
    }
}

TEST_F(CameraTest, DriftStandsStillWhilePausedOrAfterGameOver) {
    c_MyApp* app = App();
    for (int n = 0; n < 100; ++n) app->UpdateDrift();
    for (int state = 0; state < 2; ++state) {
        app->paused = state == 0;
        app->gameOver = state == 1;
        float cx = app->cameraX, cy = app->cameraY, dx = app->driftX, speed = app->driftSpeed;
        float timer = app->headingTimer;
        app->PlayUpdate();
        EXPECT_EQ(app->cameraX, cx);
        EXPECT_EQ(app->cameraY, cy);
        EXPECT_EQ(app->driftX, dx);
        EXPECT_EQ(app->driftSpeed, speed);
        EXPECT_EQ(app->headingTimer, timer);
    }
    app->paused = app->gameOver = 0;
    float cx = app->cameraX;
    app->PlayUpdate();
    EXPECT_NE(app->cameraX, cx);
}

TEST_F(CameraTest, TheSkyTilesScrollAtSevenTenthsOfTheCamera) {
    c_MyApp* app = App();
    app->paused = 1;
    app->cameraX = 100;
    app->cameraY = 1000;
    app->PlayUpdate();
    EXPECT_EQ(app->clearRed, 100);
    EXPECT_EQ(app->clearGreen, 160);
    EXPECT_EQ(app->clearBlue, 250);
    std::vector<DrawCommand> all = Game().Commands();
    ASSERT_GE(all.size(), 9u);
    // -70 and -700 wrapped into 0..512: 442 and 324.
    std::multiset<std::pair<int, int>> tiles, expected;
    for (int i = 0; i < 9; ++i) {
        EXPECT_TRUE(all[i].IsImage(99));
        EXPECT_EQ(all[i].a, 2);
        EXPECT_EQ(all[i].b, 2);
        tiles.insert({static_cast<int>(std::lround(all[i].x)), static_cast<int>(std::lround(all[i].y))});
    }
    for (int x : {-70, 442, 954})
        for (int y : {-188, 324, 836}) expected.insert({x, y});
    EXPECT_EQ(tiles, expected);
}

}  // namespace
