// PollJoystick: reading a joystick through the host, with the axis layouts of
// sticks with 4 and 5 axes remapped to the 6-axis one.
#include <gtest/gtest.h>

#include "host/joystick_source.h"
#include "runtime/gc.h"
#include "tests/host/fake_host.h"

namespace {

struct JoystickTest : ::testing::Test {
    FakeHost host;
    FakeJoystick& joystick = *host.joystick;
    Global<Array<float>> x{Array<float>(2)}, y{Array<float>(2)}, z{Array<float>(2)};
    Global<Array<bool>> buttons{Array<bool>(32)};

    bool Poll(int port) { return host.game->PollJoystick(port, x, y, z, buttons); }
};

TEST_F(JoystickTest, SixAxesMapStraightToTheTwoSticks) {
    joystick.axes[0] = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f};
    ASSERT_TRUE(Poll(0));
    EXPECT_FLOAT_EQ(x[0], 0.1f);
    EXPECT_FLOAT_EQ(y[0], 0.2f);
    EXPECT_FLOAT_EQ(z[0], 0.3f);
    EXPECT_FLOAT_EQ(x[1], 0.4f);
    EXPECT_FLOAT_EQ(y[1], 0.5f);
    EXPECT_FLOAT_EQ(z[1], 0.6f);
}

TEST_F(JoystickTest, FourAxesPutTheThirdOnYOfStickOneAndTheFourthOnX) {
    joystick.axes[0] = {0.1f, 0.2f, 0.3f, 0.4f};
    ASSERT_TRUE(Poll(0));
    EXPECT_FLOAT_EQ(y[1], 0.3f);
    EXPECT_FLOAT_EQ(x[1], 0.4f);
    EXPECT_FLOAT_EQ(z[0], 0.0f);
    EXPECT_FLOAT_EQ(z[1], 0.0f);
    EXPECT_FLOAT_EQ(x[0], 0.1f);
    EXPECT_FLOAT_EQ(y[0], 0.2f);
}

TEST_F(JoystickTest, FiveAxesPutTheFourthOnYAndTheFifthOnXOfStickOne) {
    joystick.axes[1] = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f};
    ASSERT_TRUE(Poll(1));
    EXPECT_FLOAT_EQ(y[1], 0.4f);
    EXPECT_FLOAT_EQ(x[1], 0.5f);
    EXPECT_FLOAT_EQ(z[0], 0.3f);
    EXPECT_FLOAT_EQ(z[1], 0.0f);
}

TEST_F(JoystickTest, FewAxesLeaveTheRestAtZeroAndManyAreCutAtSix) {
    x[1] = 9;
    joystick.axes[0] = {-1.0f, 1.0f};
    ASSERT_TRUE(Poll(0));
    EXPECT_FLOAT_EQ(x[0], -1.0f);
    EXPECT_FLOAT_EQ(y[0], 1.0f);
    EXPECT_FLOAT_EQ(x[1], 0.0f);
    joystick.axes[0] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    ASSERT_TRUE(Poll(0));
    EXPECT_FLOAT_EQ(z[1], 6.0f);
}

TEST_F(JoystickTest, ButtonsBeyondTheStickCountKeepTheirValues) {
    joystick.axes[0] = {};
    buttons[5] = true;
    buttons[31] = true;
    joystick.SetButtons(0, {true, false, true});
    ASSERT_TRUE(Poll(0));
    EXPECT_TRUE(buttons[0]);
    EXPECT_FALSE(buttons[1]);
    EXPECT_TRUE(buttons[2]);
    EXPECT_TRUE(buttons[5]);
    EXPECT_TRUE(buttons[31]);
}

TEST_F(JoystickTest, AtMostThirtyTwoButtonsAreRead) {
    joystick.axes[0] = {};
    Global<Array<bool>> more{Array<bool>(40)};
    joystick.SetButtons(0, {true, true, true, true, true, true, true, true, true, true, true, true, true, true,
                            true, true, true, true, true, true, true, true, true, true, true, true, true, true,
                            true, true, true, true, true, true});
    ASSERT_TRUE(host.game->PollJoystick(0, x, y, z, more));
    EXPECT_TRUE(more[31]);
    EXPECT_FALSE(more[32]);
}

TEST_F(JoystickTest, AbsentOrOutOfRangePortsReadNothing) {
    joystick.axes[16] = {1, 1};
    joystick.axes[-1] = {1, 1};
    EXPECT_FALSE(Poll(0));
    EXPECT_FALSE(Poll(16));
    EXPECT_FALSE(Poll(-1));
    EXPECT_FLOAT_EQ(x[0], 0.0f);
}

TEST_F(JoystickTest, ShortArraysAreNotWrittenPastTheirEnd) {
    joystick.axes[0] = {1, 2, 3, 4, 5, 6};
    joystick.SetButtons(0, {true, true, true});
    Global<Array<float>> one{Array<float>(1)};
    Global<Array<bool>> two{Array<bool>(2)};
    ASSERT_TRUE(host.game->PollJoystick(0, one, one, one, two));
    EXPECT_FLOAT_EQ(one[0], 3.0f);  // x, then y, then z written at index 0
}

TEST(YUpAxes, OddAxesAreNegated) {
    const float raw[5] = {0.5f, 0.25f, -1.0f, -0.75f, 1.0f};
    float out[4] = {};
    EXPECT_EQ(ToYUpAxes(raw, out), 4);
    EXPECT_FLOAT_EQ(out[0], 0.5f);
    EXPECT_FLOAT_EQ(out[1], -0.25f);
    EXPECT_FLOAT_EQ(out[2], -1.0f);
    EXPECT_FLOAT_EQ(out[3], 0.75f);
}

TEST(HostWithoutJoysticks, BaseHostReportsNone) {
    HxGame base;
    EXPECT_FALSE(base.PollJoystick(0, Array<float>(2), Array<float>(2), Array<float>(2), Array<bool>(32)));
}

}  // namespace
