// A browser pad in the standard layout, read into the gamepad layout and on
// through the real joystick source and PollJoystick into the game's stick
// and button numbers: the left stick, Start as the back control and the
// d-pad must land where the desktop's mapped pads put them.
#include "web/standard_gamepad.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "host/joystick_source.h"
#include "runtime/gc.h"
#include "tests/host/fake_host.h"

namespace {

enum Standard { kA = 0, kLeftTrigger = 6, kBack = 8, kStart = 9, kDpadUp = 12, kDpadDown, kDpadLeft, kDpadRight, kGuide };

std::vector<unsigned char> Pressed(std::initializer_list<int> which, std::size_t count = 17) {
    std::vector<unsigned char> buttons(count, 0);
    for (int b : which) buttons[b] = 1;
    return buttons;
}

TEST(StandardGamepad, AxesAndButtonsTakeTheirPlaces) {
    const std::vector<float> axes = {0.375f, -0.625f, 0.125f, 0.875f};
    GamepadReading pad;
    ASSERT_TRUE(ReadStandardGamepad(axes, Pressed({kStart, kDpadLeft, kLeftTrigger, kGuide}), &pad));
    EXPECT_EQ(pad.axes[GamepadReading::kLeftX], 0.375f);
    EXPECT_EQ(pad.axes[GamepadReading::kLeftY], -0.625f);
    EXPECT_EQ(pad.axes[GamepadReading::kRightX], 0.125f);
    EXPECT_EQ(pad.axes[GamepadReading::kRightY], 0.875f);
    EXPECT_EQ(pad.axes[GamepadReading::kLeftTrigger], 1.0f);
    EXPECT_EQ(pad.axes[GamepadReading::kRightTrigger], -1.0f);
    for (int b = 0; b < GamepadReading::kButtonCount; ++b) {
        bool expected = b == GamepadReading::kStart || b == GamepadReading::kDpadLeft || b == GamepadReading::kGuide;
        EXPECT_EQ(pad.buttons[b], expected) << "button " << b;
    }
}

TEST(StandardGamepad, TooFewAxesOrButtonsAreNotTheLayout) {
    GamepadReading pad;
    pad.axes[0] = 0.5f;
    EXPECT_FALSE(ReadStandardGamepad(std::vector<float>(3), Pressed({}), &pad));
    EXPECT_FALSE(ReadStandardGamepad(std::vector<float>(4), Pressed({kA}, 15), &pad));
    EXPECT_EQ(pad.axes[0], 0.5f) << "left untouched";
    // Sixteen buttons are enough: the guide button is optional.
    ASSERT_TRUE(ReadStandardGamepad(std::vector<float>(4), Pressed({kDpadDown}, 16), &pad));
    EXPECT_TRUE(pad.buttons[GamepadReading::kDpadDown]);
    EXPECT_FALSE(pad.buttons[GamepadReading::kGuide]);
    EXPECT_EQ(pad.axes[0], 0.0f);
}

// A device standing for the browser's port with one standard pad.
class StandardPadDevice : public JoystickDevice {
public:
    std::vector<float> axes = std::vector<float>(4);
    std::vector<unsigned char> buttons = Pressed({});

    bool Present(int port) override { return port == 0; }
    std::span<const float> RawAxes(int) override { return axes; }
    std::span<const unsigned char> RawButtons(int) override { return buttons; }
    bool ReadGamepad(int, GamepadReading* reading) override { return ReadStandardGamepad(axes, buttons, reading); }
};

TEST(StandardGamepad, ReachesTheGameAsAMappedPadDoes) {
    auto* device = new StandardPadDevice();
    HxGlfwGame host{std::make_unique<FakeWindow>(),
                    std::make_unique<GlfwJoystickSource>(std::unique_ptr<JoystickDevice>(device))};
    Global<Array<float>> x{Array<float>(2)}, y{Array<float>(2)}, z{Array<float>(2)};
    Global<Array<bool>> buttons{Array<bool>(32)};

    device->axes = {0.75f, -0.5f, 0, 0};  // right and up
    device->buttons = Pressed({kStart, kDpadUp, kDpadRight});
    ASSERT_TRUE(host.PollJoystick(0, x, y, z, buttons));
    EXPECT_FLOAT_EQ(x[0], 0.75f);
    EXPECT_FLOAT_EQ(y[0], 0.5f) << "up counts positive, as on the desktop";
    // The game's numbers: 7 back (pause), 8..11 d-pad left, up, right, down.
    for (int b = 0; b < 32; ++b) EXPECT_EQ(buttons[b], b == 7 || b == 9 || b == 10) << "button " << b;

    device->buttons = Pressed({kBack, kDpadDown});
    ASSERT_TRUE(host.PollJoystick(0, x, y, z, buttons));
    EXPECT_TRUE(buttons[6]);
    EXPECT_TRUE(buttons[11]);
    EXPECT_FALSE(buttons[7]);
}

}  // namespace
