// The whole joystick path on the host's side: a device as the window library
// reports it, through the real joystick source and PollJoystick, into the
// stick and button arrays the input device keeps.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "host/joystick_source.h"
#include "runtime/gc.h"
#include "tests/host/fake_host.h"

namespace {

class FakeJoystickDevice : public JoystickDevice {
public:
    struct Port {
        std::vector<float> axes;
        std::vector<unsigned char> buttons;
        bool mapped = false;
        GamepadReading pad;
    };
    std::map<int, Port> ports;  // a port is present when it has an entry

    bool Present(int port) override { return ports.count(port) > 0; }
    std::span<const float> RawAxes(int port) override { return ports[port].axes; }
    std::span<const unsigned char> RawButtons(int port) override { return ports[port].buttons; }
    bool ReadGamepad(int port, GamepadReading* reading) override {
        if (!ports[port].mapped) return false;
        *reading = ports[port].pad;
        return true;
    }
};

struct JoystickPathTest : ::testing::Test {
    FakeJoystickDevice* device = new FakeJoystickDevice();
    HxGlfwGame host{std::make_unique<FakeWindow>(),
                    std::make_unique<GlfwJoystickSource>(std::unique_ptr<JoystickDevice>(device))};
    Global<Array<float>> x{Array<float>(2)}, y{Array<float>(2)}, z{Array<float>(2)};
    Global<Array<bool>> buttons{Array<bool>(32)};

    bool Poll(int port = 0) { return host.PollJoystick(port, x, y, z, buttons); }
    void ExpectSticks(float x0, float y0, float z0, float x1, float y1, float z1) {
        EXPECT_FLOAT_EQ(x[0], x0);
        EXPECT_FLOAT_EQ(y[0], y0);
        EXPECT_FLOAT_EQ(z[0], z0);
        EXPECT_FLOAT_EQ(x[1], x1);
        EXPECT_FLOAT_EQ(y[1], y1);
        EXPECT_FLOAT_EQ(z[1], z1);
    }
};

// Raw devices: odd axes are negated first, then 4 and 5 axes are remapped.
TEST_F(JoystickPathTest, RawAxesReachTheSticksForTwoFourFiveAndSixAxes) {
    device->ports[0].axes = {0.25f, -0.75f};
    ASSERT_TRUE(Poll());
    ExpectSticks(0.25f, 0.75f, 0, 0, 0, 0);

    device->ports[0].axes = {0.25f, -0.75f, 0.625f, -0.375f};
    ASSERT_TRUE(Poll());
    ExpectSticks(0.25f, 0.75f, 0, 0.375f, 0.625f, 0);

    device->ports[0].axes = {0.25f, -0.75f, 0.625f, -0.375f, 0.875f};
    ASSERT_TRUE(Poll());
    ExpectSticks(0.25f, 0.75f, 0.625f, 0.875f, 0.375f, 0);

    device->ports[0].axes = {0.25f, -0.75f, 0.625f, -0.375f, 0.875f, -0.125f};
    ASSERT_TRUE(Poll());
    ExpectSticks(0.25f, 0.75f, 0.625f, 0.375f, 0.875f, 0.125f);
}

TEST_F(JoystickPathTest, UnmappedJoystickKeepsItsOwnButtonNumbers) {
    device->ports[0].axes = {0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f, 0.5f};
    device->ports[0].buttons = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    ASSERT_TRUE(Poll());
    for (int b = 0; b < 32; ++b) EXPECT_EQ(buttons[b], b == 17) << "button " << b;
    ExpectSticks(0.5f, -0.5f, 0.5f, -0.5f, 0.5f, -0.5f);
}

TEST_F(JoystickPathTest, MappedPadDeliversSticksUpPositiveAndTriggersFromZero) {
    auto& port = device->ports[0];
    port.axes = {0.9f, 0.9f};  // ignored: the mapping wins
    port.mapped = true;
    port.pad.axes[GamepadReading::kLeftX] = -0.3f;
    port.pad.axes[GamepadReading::kLeftY] = -0.7f;  // pushed up
    port.pad.axes[GamepadReading::kRightX] = 0.45f;
    port.pad.axes[GamepadReading::kRightY] = 0.2f;
    port.pad.axes[GamepadReading::kLeftTrigger] = -1.0f;  // released
    port.pad.axes[GamepadReading::kRightTrigger] = 0.5f;  // three quarters
    ASSERT_TRUE(Poll());
    ExpectSticks(-0.3f, 0.7f, 0.0f, 0.45f, -0.2f, 0.75f);
}

TEST_F(JoystickPathTest, EachPadButtonLandsInItsGameSlot) {
    using Pad = GamepadReading;
    const std::pair<Pad::Button, int> slots[] = {
        {Pad::kA, 0},          {Pad::kB, 1},          {Pad::kX, 2},           {Pad::kY, 3},
        {Pad::kLeftShoulder, 4}, {Pad::kRightShoulder, 5}, {Pad::kBack, 6},   {Pad::kStart, 7},
        {Pad::kDpadLeft, 8},   {Pad::kDpadUp, 9},     {Pad::kDpadRight, 10},  {Pad::kDpadDown, 11},
        {Pad::kLeftStick, 12}, {Pad::kRightStick, 13}, {Pad::kGuide, 14},
    };
    auto& port = device->ports[0];
    port.mapped = true;
    port.buttons = std::vector<unsigned char>(20, 1);  // raw buttons are not read
    for (auto [padButton, slot] : slots) {
        port.pad = GamepadReading{};
        port.pad.buttons[padButton] = true;
        ASSERT_TRUE(Poll());
        for (int b = 0; b < 32; ++b) EXPECT_EQ(buttons[b], b == slot) << "pad button " << padButton << ", slot " << b;
    }
}

TEST_F(JoystickPathTest, UnpluggedPadReadsAsAbsentAndKeepsItsLastValues) {
    auto& port = device->ports[0];
    port.mapped = true;
    port.pad.axes[GamepadReading::kLeftX] = 0.6f;
    port.pad.buttons[GamepadReading::kStart] = true;
    ASSERT_TRUE(Poll());
    device->ports.erase(0);
    EXPECT_FALSE(Poll());
    EXPECT_FLOAT_EQ(x[0], 0.6f);
    EXPECT_TRUE(buttons[7]);
}

}  // namespace
