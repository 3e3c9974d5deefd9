// Steering with joystick 0 (left stick and d-pad) and the direction keys,
// through the real input device: each update a deflection adds K / d of
// velocity per unit, beside the drag and under the same speed limit, only
// while the game runs unpaused, and only from a pad that is there.
#include <cmath>

#include "game/game_globals.h"
#include "game/steering.h"
#include "tests/play/play_test_support.h"

namespace {

constexpr int kRight = 39, kDown = 40, kEscape = 27;
constexpr int kStart = 7, kDpadUp = 9, kDpadRight = 10;  // the game's pad buttons

// Per update, a full tilt at move speed 5 (divisor 8).
constexpr float kTiltStep = kFullTiltDrag / 8;

class PadSteeringTest : public PlayTest {
protected:
    // A game started from the title's state, on an empty field with the
    // ball in the middle of the view, standing still.
    void StartPlay() {
        c_MyApp* app = App();
        app->settings[kSettingMoveSpeed] = 5;
        app->screen = kScreenNewGame;
        RunFrames(1);
        ASSERT_EQ(app->screen, kScreenPlay);
        EmptyWorldAt(1000, 1000, 320, 240);
        app->driftTargetSpeed = 0;  // a still view, so the ball stays clear of its edges
        RunFrames(1);               // the new game's pointer latch is let go
        ASSERT_EQ(app->touchLatch, 0);
    }
    RecordingHost& Pad() const { return *Game().Host(); }
    float Speed() const { return std::hypot(App()->ballVelX, App()->ballVelY); }
};

TEST_F(PadSteeringTest, AFullTiltAddsKOverTheDivisorEachUpdateUpToTheLimit) {
    c_MyApp* app = App();
    StartPlay();
    Pad().joystickPresent = true;
    Pad().joyX = 1;
    for (int n = 1; n <= 10; ++n) {
        RunFrames(1);
        EXPECT_FLOAT_EQ(app->ballVelX, std::min(n * kTiltStep, 6.0f)) << "update " << n;
        EXPECT_EQ(app->ballVelY, 0) << "update " << n;
    }
    EXPECT_GT(app->ballX, 1320 + 30);
    // Pushed up (the stick's y counts upwards), the ball goes up the screen.
    Pad().joyX = 0;
    Pad().joyY = 1;
    RunFrames(3);
    EXPECT_FLOAT_EQ(app->ballVelY, -3 * kTiltStep);
    EXPECT_EQ(app->ballVelX, 6) << "a stick let go leaves the ball its velocity";
}

TEST_F(PadSteeringTest, AStickInsideTheDeadZoneChangesNothing) {
    c_MyApp* app = App();
    StartPlay();
    app->ballVelX = -0.0f;  // an exact -0 must stay -0
    app->ballVelY = 1.25f;
    Pad().joystickPresent = true;
    Pad().joyX = 0.13f;
    Pad().joyY = -0.15f;
    RunFrames(12);
    EXPECT_EQ(app->ballVelX, 0);
    EXPECT_TRUE(std::signbit(app->ballVelX));
    EXPECT_EQ(app->ballVelY, 1.25f);
    // Just beyond the zone it steers, gently.
    Pad().joyX = 0.26f;
    Pad().joyY = 0;
    RunFrames(4);
    EXPECT_NEAR(app->ballVelX, 4 * 0.075f * kTiltStep, 1e-6f);
}

TEST_F(PadSteeringTest, ADiagonalKeyPairIsNoFasterThanOneKey) {
    c_MyApp* app = App();
    StartPlay();
    PressKey(kRight);
    RunFrames(5);
    EXPECT_FLOAT_EQ(app->ballVelX, 5 * kTiltStep);
    EXPECT_EQ(app->ballVelY, 0);
    ReleaseKey(kRight);
    RunFrames(1);
    EXPECT_FLOAT_EQ(app->ballVelX, 5 * kTiltStep) << "a released key leaves the ball its velocity";

    for (auto [across, down] : {std::pair{kRight, kDown}, {'A', 'W'}}) {
        app->ballVelX = app->ballVelY = 0;
        PressKey(across);
        PressKey(down);
        RunFrames(5);
        EXPECT_NEAR(Speed(), 5 * kTiltStep, 1e-5f) << across << "+" << down;
        EXPECT_NEAR(std::fabs(app->ballVelX), std::fabs(app->ballVelY), 1e-6f);
        ReleaseKey(across);
        ReleaseKey(down);
    }
    EXPECT_LT(app->ballVelX, 0);  // A and W: left and up
    EXPECT_LT(app->ballVelY, 0);
}

TEST_F(PadSteeringTest, TheDpadSteersAsADigitalStick) {
    c_MyApp* app = App();
    StartPlay();
    Pad().joystickPresent = true;
    Pad().joyButtons[kDpadRight] = true;
    RunFrames(3);
    EXPECT_FLOAT_EQ(app->ballVelX, 3 * kTiltStep);
    Pad().joyButtons[kDpadUp] = true;
    app->ballVelX = 0;
    RunFrames(3);
    EXPECT_NEAR(Speed(), 3 * kTiltStep, 1e-5f);
    EXPECT_LT(app->ballVelY, 0);
    // With the stick at full tilt the same way, still a full tilt at most.
    Pad().joyX = 1;
    Pad().joyY = 1;
    app->ballVelX = app->ballVelY = 0;
    RunFrames(2);
    EXPECT_NEAR(Speed(), 2 * kTiltStep, 1e-5f);
}

TEST_F(PadSteeringTest, ADragAndAStickAddUpAndAreLimitedOnce) {
    c_MyApp* app = App();
    StartPlay();
    PressPointer(300, 300);
    RunFrames(1);
    Pad().joystickPresent = true;
    Pad().joyX = 1;
    MovePointer(311, 300);
    RunFrames(1);
    EXPECT_FLOAT_EQ(app->ballVelX, 11.0f / 8 + kTiltStep);
    // Over the limit after the drag, back under it after the stick: the
    // limit applies to the sum.
    app->ballVelX = 5.5f;
    Pad().joyX = -1;
    MovePointer(319, 300);
    RunFrames(1);
    EXPECT_FLOAT_EQ(app->ballVelX, 5.5f + 1 - kTiltStep);
    app->ballVelX = 5.5f;
    Pad().joyX = 1;
    MovePointer(335, 300);
    RunFrames(1);
    EXPECT_EQ(app->ballVelX, 6);
}

TEST_F(PadSteeringTest, NoSteeringWhilePausedOrOver) {
    c_MyApp* app = App();
    float velocity = 0, x = 0;
    for (bool start : {false, true}) {
        StartPlay();
        Pad().joystickPresent = true;
        Pad().joyX = 1;
        RunFrames(2);
        // Start on the pad, or Escape: the menu opens at the end of the update.
        if (start) Pad().joyButtons[kStart] = true;
        else PressKey(kEscape);
        RunFrames(1);
        ASSERT_EQ(app->paused, 1) << (start ? "Start" : "Escape");
        velocity = app->ballVelX;
        x = app->ballX;
        Pad().joyButtons[kStart] = false;
        ReleaseKey(kEscape);
        RunFrames(20);
        EXPECT_EQ(app->ballVelX, velocity);
        EXPECT_EQ(app->ballX, x);
        EXPECT_EQ(app->pauseCursor, 0) << "the stick held since before the pause takes no step";
        EXPECT_EQ(app->paused, 1);
    }

    app->paused = 0;
    app->gameOver = 1;
    PressKey(kRight);
    RunFrames(5);
    EXPECT_EQ(app->ballVelX, velocity);
    EXPECT_EQ(app->ballX, x);
}

// A direction held through the pause menu is a level, like a held stick:
// it steers again as soon as the menu has gone.
TEST_F(PadSteeringTest, AKeyHeldThroughThePauseMenuSteersOnceTheMenuHasGone) {
    c_MyApp* app = App();
    StartPlay();
    PressKey(kRight);
    RunFrames(2);
    PressKey(kEscape);
    RunFrames(1);
    ReleaseKey(kEscape);
    RunFrames(15);  // the menu has come down
    float velocity = app->ballVelX;
    EXPECT_FLOAT_EQ(velocity, 3 * kTiltStep);
    EXPECT_EQ(app->pauseCursor, 0);
    // Right held keeps the control latch: only the pointer can resume.
    PressPointer(virtualWidth / 2, static_cast<float>(app->pauseMenuY));
    RunFrames(1);
    ASSERT_EQ(app->pauseMenuDir, -1);
    ReleasePointer();
    int updates = 0;
    while (app->paused == 1 && updates < 20) RunFrames(1), ++updates;
    ASSERT_EQ(app->paused, 0);
    EXPECT_EQ(app->ballVelX, velocity);
    RunFrames(3);
    EXPECT_FLOAT_EQ(app->ballVelX, velocity + 3 * kTiltStep);
    // Steering with Right held all along, Escape pauses again.
    PressKey(kEscape);
    RunFrames(1);
    EXPECT_EQ(app->paused, 1);
}

TEST_F(PadSteeringTest, AnUnpluggedPadLeavesTheBallItsVelocityUntilItIsBack) {
    c_MyApp* app = App();
    StartPlay();
    Pad().joystickPresent = true;
    Pad().joyX = -1;
    Pad().joyButtons[kDpadUp] = true;
    RunFrames(3);
    float vx = app->ballVelX, vy = app->ballVelY;
    ASSERT_LT(vx, 0);
    ASSERT_LT(vy, 0);
    // Gone with the stick tilted and the d-pad down: the device keeps that
    // last reading, but nothing steers from it.
    Pad().joystickPresent = false;
    RunFrames(6);
    EXPECT_EQ(app->ballVelX, vx);
    EXPECT_EQ(app->ballVelY, vy);
    EXPECT_EQ(app->paused, 0);
    Pad().joystickPresent = true;
    RunFrames(1);
    EXPECT_LT(app->ballVelX, vx);
}

}  // namespace
