// The ball: steering by dragging (through real pointer input), the speed
// limit, no friction, the trail and eyes, protection, and what stands still
// while paused or after the game is over.
#include <climits>

#include "game/game_globals.h"
#include "tests/play/play_test_support.h"

namespace {

class BallTest : public PlayTest {
protected:
    // A game started as the title screen starts one, the pointer up.
    void StartPlay() {
        c_MyApp* app = App();
        app->settings[kSettingMoveSpeed] = 5;
        app->screen = kScreenNewGame;
        MovePointer(300, 300);
        RunFrames(2);
        ASSERT_EQ(app->screen, kScreenPlay);
        ASSERT_EQ(app->touchLatch, 0);
    }
    std::vector<DrawCommand> BlackEllipses() const {
        std::vector<DrawCommand> out;
        for (const DrawCommand& c : Queued(kEllipse))
            if (c.red == 0 && c.green == 0 && c.blue == 0) out.push_back(c);
        return out;
    }
};

TEST_F(BallTest, ADragSteersAndTheSpeedIsLimitedToSix) {
    c_MyApp* app = App();
    StartPlay();
    PressPointer(300, 300);
    RunFrames(1);
    EXPECT_EQ(app->ballVelX, 0);  // the update of the press has no movement
    EXPECT_EQ(app->ballVelY, 0);

    MovePointer(332, 300);  // 32 pixels at move speed 5: 32 / 8
    RunFrames(1);
    EXPECT_FLOAT_EQ(app->ballVelX, 4);
    EXPECT_EQ(app->ballVelY, 0);

    MovePointer(432, 260);
    RunFrames(1);
    EXPECT_EQ(app->ballVelX, 6);
    EXPECT_FLOAT_EQ(app->ballVelY, -5);
    MovePointer(0, 400);
    RunFrames(1);
    EXPECT_EQ(app->ballVelX, -6);
    EXPECT_EQ(app->ballVelY, 6);
}

TEST_F(BallTest, AReleasedBallKeepsItsVelocity) {
    c_MyApp* app = App();
    StartPlay();
    PressPointer(300, 300);
    RunFrames(1);
    MovePointer(316, 292);
    RunFrames(1);
    ReleasePointer();
    MovePointer(100, 100);  // moving the free mouse does not steer
    for (int n = 0; n < 20; ++n) {
        float x = app->ballX, y = app->ballY;
        RunFrames(1);
        EXPECT_FLOAT_EQ(app->ballVelX, 2);
        EXPECT_FLOAT_EQ(app->ballVelY, -1);
        EXPECT_FLOAT_EQ(app->ballX, x + 2);
        EXPECT_FLOAT_EQ(app->ballY, y - 1);
    }
}

TEST_F(BallTest, ThePressThatStartedTheGameDoesNotSteer) {
    c_MyApp* app = App();
    app->settings[kSettingMoveSpeed] = 5;
    PressPointer(300, 300);
    RunFrames(1);
    app->screen = kScreenNewGame;
    RunFrames(1);
    ASSERT_EQ(app->screen, kScreenPlay);
    MovePointer(364, 300);
    RunFrames(3);
    EXPECT_EQ(app->ballVelX, 0);
    ReleasePointer();
    RunFrames(1);
    PressPointer(364, 300);
    RunFrames(1);
    MovePointer(396, 300);
    RunFrames(1);
    EXPECT_FLOAT_EQ(app->ballVelX, 4);
}

// One update of a held drag by (11, -7) pixels, which no divisor of the
// game divides evenly: the divisor is 18 - 2 x move speed, in floating point;
// only a speed that would make it zero or less plays as speed 5.
TEST_F(BallTest, EveryMoveSpeedSteersWithItsOwnDivisor) {
    c_MyApp* app = App();
    StartPlay();
    const struct {
        int speed;
        double divisor;
    } cases[] = {{0, 18},  {-3, 24}, {1, 16}, {8, 2}, {7, 4},  {9, 8},
                 {10, 8}, {INT_MAX, 8}, {INT_MIN, 18.0 + 4294967296.0}};
    float x = 300, y = 300;
    PressPointer(x, y);
    RunFrames(1);
    for (auto c : cases) {
        app->settings[kSettingMoveSpeed] = c.speed;
        app->ballVelX = app->ballVelY = 0;
        x += 11;
        y -= 7;
        MovePointer(x, y);
        RunFrames(1);
        EXPECT_FLOAT_EQ(app->ballVelX, static_cast<float>(11 / c.divisor)) << "speed " << c.speed;
        EXPECT_FLOAT_EQ(app->ballVelY, static_cast<float>(-7 / c.divisor)) << "speed " << c.speed;
    }
}

// A drag that is not a multiple of the divisor keeps its fraction.
TEST_F(BallTest, ADragIsDividedInFloatingPoint) {
    c_MyApp* app = App();
    StartPlay();
    PressPointer(300, 300);
    RunFrames(1);
    MovePointer(312, 312);  // 12 / 8 at move speed 5
    RunFrames(1);
    EXPECT_FLOAT_EQ(app->ballVelX, 1.5f);
    EXPECT_FLOAT_EQ(app->ballVelY, 1.5f);
}

TEST_F(BallTest, TheBallStandsStillWhilePausedAndAfterGameOver) {
    c_MyApp* app = App();
    EmptyWorldAt(1000, 1000, 320, 240);
    app->settings[kSettingMoveSpeed] = 5;
    app->ballVelX = 3;
    app->invulnerable = 50;
    app->pointerDown = 1;
    app->touchLatch = 0;
    app->pointerX = app->prevPointerX + 40;
    for (int state = 0; state < 2; ++state) {
        app->paused = state == 0;
        app->gameOver = state == 1;
        app->PlayUpdate();
        EXPECT_EQ(app->ballX, 1320);
        EXPECT_EQ(app->ballVelX, 3);
        EXPECT_EQ(app->invulnerable, 50);
    }
    app->paused = app->gameOver = 0;
    app->PlayUpdate();
    EXPECT_EQ(app->ballVelX, 6);  // 3 + 40 / 8, limited
    EXPECT_EQ(app->ballX, 1326);
    EXPECT_EQ(app->invulnerable, 49);
}

TEST_F(BallTest, TheTrailShowsTwentyFiveShrinkingDotsBehindTheBall) {
    c_MyApp* app = App();
    EmptyWorldAt(1000, 1000, 320, 240);
    app->paused = 1;
    for (int k = 0; k < 65; ++k) {
        app->trail[2 * k] = 1100 + k;
        app->trail[2 * k + 1] = 1200;
    }
    app->PlayUpdate();
    std::vector<DrawCommand> dots = BlackEllipses();
    ASSERT_EQ(dots.size(), 26u);  // 25 trail dots and the ball
    for (int i = 0; i < 25; ++i) {
        int k = 39 + i;  // entry k now holds what entry k + 1 held
        EXPECT_EQ(dots[i].x, 100 + k + 1);
        EXPECT_EQ(dots[i].y, 200);
        EXPECT_EQ(dots[i].a, k / 3 - 12);
        EXPECT_EQ(dots[i].a, dots[i].b);
    }
    EXPECT_EQ(dots.front().a, 1);
    EXPECT_EQ(dots[24].a, 9);
    EXPECT_EQ(dots[25].x, 320);
    EXPECT_EQ(dots[25].y, 240);
    EXPECT_EQ(dots[25].a, 16);
    EXPECT_EQ(dots[25].alpha, 1);
    EXPECT_EQ(app->trail[128], 1320);
    EXPECT_EQ(app->trail[129], 1240);
    EXPECT_EQ(app->trail[0], 1101);
}

TEST_F(BallTest, TheEyesTurnWithTheBallAndVanishAfterGameOver) {
    c_MyApp* app = App();
    EmptyWorldAt(1000, 1000, 320, 240);
    app->facing = 40;
    app->PlayUpdate();
    std::vector<DrawCommand> eyes = Queued(2);
    ASSERT_EQ(eyes.size(), 1u);
    EXPECT_EQ(eyes[0].x, 320);
    EXPECT_EQ(eyes[0].y, 240);
    EXPECT_EQ(eyes[0].rotation, -40);  // the ball stands still: no turn

    app->gameOver = 1;
    app->trail[124] = 0;  // a long way moved: the eyes may turn, but are not drawn
    app->PlayUpdate();
    EXPECT_EQ(Queued(2).size(), 0u);
    for (const DrawCommand& c : BlackEllipses()) EXPECT_NE(c.a, 16);
    EXPECT_EQ(app->trail[128], 1320);  // the tail shrinks into the last position
}

TEST_F(BallTest, ProtectionPulsesOverTheBallAndCountsDown) {
    c_MyApp* app = App();
    EmptyWorldAt(1000, 1000, 320, 240);
    app->driftTargetSpeed = 0;  // the view stands still
    auto discs = [] {
        std::vector<DrawCommand> out;
        for (const DrawCommand& c : Game().Commands(kEllipse))
            if (c.alpha < 1 && c.x == 320 && c.y == 240) out.push_back(c);
        return out;
    };
    app->invulnerable = 100;
    app->PlayUpdate();
    EXPECT_EQ(app->invulnerable, 99);
    std::vector<DrawCommand> first = discs();
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0].red, 100);
    EXPECT_EQ(first[0].green, 255);
    EXPECT_EQ(first[0].blue, 100);
    EXPECT_EQ(first[0].alpha, 0.5f);
    EXPECT_GE(first[0].a, 8);
    EXPECT_LE(first[0].a, 24);
    EXPECT_EQ(first[1].red, 0);
    EXPECT_EQ(first[1].green, 155);
    EXPECT_EQ(first[1].blue, 0);
    EXPECT_EQ(first[1].alpha, 0.3f);
    EXPECT_GE(first[1].a, 10);
    EXPECT_LE(first[1].a, 22);

    for (int n = 0; n < 5; ++n) app->PlayUpdate();
    std::vector<DrawCommand> later = discs();
    ASSERT_EQ(later.size(), 2u);
    EXPECT_NE(later[0].a, first[0].a);  // the discs pulse

    app->invulnerable = 1;
    app->PlayUpdate();
    EXPECT_EQ(app->invulnerable, 0);
    EXPECT_EQ(discs().size(), 2u);  // drawn in the last protected update
    app->PlayUpdate();
    EXPECT_EQ(app->invulnerable, 0);
    EXPECT_EQ(discs().size(), 0u);
}

// ---- AngleDiff and the eyes' turning ------------------------------------------------

TEST_F(BallTest, AngleDiffFoldsAt179AndSubtracts359) {
    c_MyApp* app = App();
    const struct {
        float a, b;
        int expected;
    } cases[] = {
        {0, 0, 0},       {0, 90, 90},       {0, 179, 179},    {0, 179.5f, -179}, {0, 180, -179},
        {0, 181, -178},  {0, 270, -89},     {0, 355, -4},     {0, 359, 0},       {0, 359.5f, 0},
        {10, 5, -4},     {350, 10, 20},     {-90, 90, -179},  {720, 30, 30},     {30, -330, 0},
        {0, 3.9f, 3},    {100.5f, 100, 0},  {0, -1, 0},       {0, -2, -1},       {90, 0, -89},
    };
    for (auto c : cases) EXPECT_EQ(app->AngleDiff(c.a, c.b), c.expected) << c.a << " -> " << c.b;
}

TEST_F(BallTest, TheEyesSnapWhenCloseAndOtherwiseTurnBySix) {
    c_MyApp* app = App();
    // Moving straight down the screen (dy > 0): the direction angle is 0.
    auto moveDown = [app] {
        app->trail[124] = 500, app->trail[125] = 500;
        app->trail[128] = 500, app->trail[129] = 510;
    };
    const struct {
        float facing, after;
    } cases[] = {{2, 0}, {-3, 0}, {30, 36}, {-30, -36}, {5, 10}, {178, 184}, {200, 194}, {358, 0}};
    for (auto c : cases) {
        moveDown();
        app->facing = c.facing;
        app->TurnEyes();
        EXPECT_NEAR(app->facing, c.after, 1e-3) << "from " << c.facing;
    }
    // Hardly moving (one pixel or less): the eyes keep their angle.
    app->trail[128] = 500, app->trail[129] = 501;
    app->facing = 30;
    app->TurnEyes();
    EXPECT_EQ(app->facing, 30);
    // Moving right: atan2(-dx, dy) gives -90.
    app->trail[128] = 510, app->trail[129] = 500;
    app->facing = -88;
    app->TurnEyes();
    EXPECT_NEAR(app->facing, -90, 1e-3);
}

// Whole updates of a ball rolling straight down (direction angle 0): both
// sides of the snap limit (4) and of the turn limit (6). Below zero the fold
// at 179 with 359 moves each limit by one degree: -4 is a difference of -3.
TEST_F(BallTest, TheEyesTurnFromFourDegreesOnAndByAtMostSix) {
    c_MyApp* app = App();
    const struct {
        float facing, after;
    } cases[] = {{4, 8},   {3.9f, 0}, {6, 12},   {6.9f, 12.9f}, {7, 13},  {8, 14},
                 {-5, -9}, {-4, 0},   {-7, -13}, {-8, -14},     {-9, -15}};
    for (auto c : cases) {
        EmptyWorldAt(1000, 1000, 320, 150);
        app->driftTargetSpeed = 0;
        app->ballVelY = 3;
        for (int n = 0; n < 3; ++n) app->PlayUpdate();  // the trail learns the direction
        ASSERT_NEAR(app->facing, 0, 1e-3);
        app->facing = c.facing;
        app->PlayUpdate();
        EXPECT_NEAR(app->facing, c.after, 1e-3) << "from " << c.facing;
    }
}

}  // namespace
