#include "input/input_device.h"

#include <gtest/gtest.h>

#include <array>

#include "host/hx_game.h"
#include "input/input.h"
#include "runtime/gc.h"

namespace {

// A host whose joysticks are whatever the test says. Ports at or beyond
// `present` are absent.
class FakeJoystickHost : public HxGame {
public:
    struct Port {
        std::array<float, 2> x{}, y{}, z{};
        std::array<bool, 32> buttons{};
    };

    bool PollJoystick(int port, Array<float> x, Array<float> y, Array<float> z, Array<bool> buttons) override {
        ++polls[port];
        if (port >= present) return false;
        const Port& p = ports[port];
        for (int i = 0; i < 2; ++i) {
            x[i] = p.x[i];
            y[i] = p.y[i];
            z[i] = p.z[i];
        }
        for (int b = 0; b < 32; ++b) buttons[b] = p.buttons[b];
        return true;
    }

    int present = 0;
    std::array<Port, 4> ports{};
    std::array<int, 4> polls{};
};

class InputDeviceTest : public ::testing::Test {
protected:
    void SetUp() override { gInputDevice = new c_InputDevice(); }
    void TearDown() override { gInputDevice = nullptr; }

    c_InputDevice& In() { return *gInputDevice; }
    // One update as the delegate runs it, with the game's reads in between.
    template <class Read>
    void Update(Read read) {
        In().BeginUpdate();
        read();
        In().EndUpdate();
    }
    void Key(int event, int key) { In().KeyEvent(event, key); }

    FakeJoystickHost host_;
};

TEST_F(InputDeviceTest, KeyPressesCountUntilTheUpdateEnds) {
    Key(EVENT_KEY_DOWN, 65);
    Key(EVENT_KEY_UP, 65);
    Key(EVENT_KEY_DOWN, 65);
    // Auto-repeat sends downs while the key is held: each counts.
    Key(EVENT_KEY_DOWN, 65);
    Update([&] {
        EXPECT_EQ(KeyHit(65), 3);
        EXPECT_TRUE(KeyDown(65));
        EXPECT_EQ(KeyHit(66), 0);
    });
    Update([&] {
        EXPECT_EQ(KeyHit(65), 0);
        EXPECT_TRUE(KeyDown(65)) << "held keys stay down across updates";
    });
    Key(EVENT_KEY_UP, 65);
    EXPECT_FALSE(KeyDown(65));
    EXPECT_EQ(KeyHit(65), 0) << "a release does not count";
}

TEST_F(InputDeviceTest, LeftButtonAndFirstTouchMirrorEachOther) {
    // Press and release within one update.
    In().MouseEvent(EVENT_MOUSE_DOWN, 0, 10, 20);
    In().MouseEvent(EVENT_MOUSE_UP, 0, 99, 99);
    Update([&] {
        EXPECT_EQ(MouseHit(), 1);
        EXPECT_FALSE(MouseDown());
        EXPECT_FALSE(TouchDown(0));
        EXPECT_EQ(KeyHit(384), 1);
        EXPECT_EQ(MouseX(), 10) << "the release position is not stored";
        EXPECT_EQ(TouchY(0), 20);
    });
    // A touch of finger 0 is a left click too.
    In().TouchEvent(EVENT_TOUCH_DOWN, 0, 5, 6);
    EXPECT_TRUE(MouseDown());
    EXPECT_EQ(MouseHit(), 1);
    EXPECT_EQ(MouseX(), 5);
    EXPECT_EQ(MouseY(), 6);
    In().TouchEvent(EVENT_TOUCH_UP, 0, 0, 0);
    EXPECT_FALSE(MouseDown());
    // Other buttons and fingers do not mirror.
    In().MouseEvent(EVENT_MOUSE_DOWN, 1, 0, 0);
    In().TouchEvent(EVENT_TOUCH_DOWN, 3, 7, 8);
    EXPECT_TRUE(KeyDown(2));
    EXPECT_TRUE(TouchDown(3));
    EXPECT_EQ(KeyHit(3), 0);
    EXPECT_EQ(KeyHit(385), 0);
    EXPECT_EQ(TouchX(3), 7);
    EXPECT_EQ(MouseX(), 0) << "the right button's press stores the pointer";
}

TEST_F(InputDeviceTest, PointerAndTouchPositions) {
    In().MouseEvent(EVENT_MOUSE_MOVE, 0, 31, 41);
    EXPECT_EQ(TouchX(0), 31);
    EXPECT_EQ(TouchY(0), 41);
    In().TouchEvent(EVENT_TOUCH_MOVE, 5, 1, 2);
    EXPECT_EQ(TouchX(5), 1);
    EXPECT_EQ(MouseX(), 31) << "only finger 0 moves the pointer";
    In().TouchEvent(EVENT_TOUCH_MOVE, 0, 3, 4);
    EXPECT_EQ(MouseX(), 3);
    EXPECT_EQ(MouseY(), 4);
    In().MotionEvent(EVENT_MOTION_ACCEL, 0, 0.5f, -0.25f, 1);
    In().MotionEvent(EVENT_KEY_DOWN, 0, 9, 9, 9);
    EXPECT_EQ(AccelX(), 0.5f);
    EXPECT_EQ(AccelY(), -0.25f);
    EXPECT_EQ(In().accelZ, 1);
}

TEST_F(InputDeviceTest, CharactersQueueForOneUpdate) {
    for (int c : {int('h'), int('i'), 0x10025}) Key(EVENT_KEY_CHAR, c);
    EXPECT_EQ(GetChar(), 'h');
    EXPECT_EQ(GetChar(), 'i');
    EXPECT_EQ(GetChar(), 0x10025);
    EXPECT_EQ(GetChar(), 0);
    // Unread characters are forgotten at the end of the update.
    Key(EVENT_KEY_CHAR, 'x');
    In().EndUpdate();
    EXPECT_EQ(GetChar(), 0);
    // The 33rd character of one update is dropped.
    for (int i = 0; i < 40; ++i) Key(EVENT_KEY_CHAR, 'A' + i);
    int read = 0;
    for (int c; (c = GetChar()) != 0; ++read) EXPECT_EQ(c, 'A' + read);
    EXPECT_EQ(read, 32);
    // Characters are not key presses.
    EXPECT_EQ(KeyHit('A'), 0);
}

TEST_F(InputDeviceTest, OutOfRangeCodesReadAsNothingAndWriteNothing) {
    EXPECT_EQ(KeyHit(0), 0);
    EXPECT_EQ(KeyHit(512), 0);
    EXPECT_FALSE(KeyDown(-1));
    for (int bad : {0, -1, 512, 100000, -100000}) {
        Key(EVENT_KEY_DOWN, bad);
        EXPECT_EQ(KeyHit(bad), 0);
        EXPECT_FALSE(KeyDown(bad));
    }
    Key(EVENT_KEY_DOWN, 511);
    EXPECT_EQ(KeyHit(511), 1);
    // Fingers beyond 31 (or negative) are ignored, not written.
    In().TouchEvent(EVENT_TOUCH_DOWN, 32, 1, 1);
    In().TouchEvent(EVENT_TOUCH_MOVE, -1, 1, 1);
    EXPECT_EQ(KeyHit(416), 0);
    EXPECT_EQ(TouchX(32), 0);
    EXPECT_EQ(TouchX(-1), 0);
    EXPECT_FALSE(TouchDown(-1));
    // A mouse button the host never sends still stays in bounds.
    In().MouseEvent(EVENT_MOUSE_DOWN, 600, 1, 1);
    EXPECT_EQ(MouseX(), 1);
    // Sticks and ports outside the four joysticks read 0.
    EXPECT_EQ(In().JoyX(2, 0), 0);
    EXPECT_EQ(In().JoyY(0, 4), 0);
    EXPECT_EQ(In().JoyX(-1, -1), 0);
    // Unknown events change nothing.
    Key(99, 65);
    EXPECT_FALSE(KeyDown(65));
    EXPECT_EQ(GetChar(), 0);
}

TEST_F(InputDeviceTest, CloseRequestIsAKey) {
    Key(EVENT_KEY_DOWN, KEY_CLOSE);
    Key(EVENT_KEY_UP, KEY_CLOSE);
    EXPECT_EQ(KeyHit(KEY_CLOSE), 1);
    EXPECT_FALSE(KeyDown(KEY_CLOSE));
}

TEST_F(InputDeviceTest, HeldJoystickButtonCountsOnce) {
    host_.present = 1;
    host_.ports[0].buttons[7] = true;
    for (int update = 0; update < 10; ++update) {
        Update([&] {
            EXPECT_TRUE(KeyDown(263)) << "update " << update;
            EXPECT_EQ(KeyHit(263), update == 0 ? 1 : 0) << "update " << update;
        });
    }
    host_.ports[0].buttons[7] = false;
    Update([&] { EXPECT_FALSE(KeyDown(263)); });
    host_.ports[0].buttons[7] = true;
    Update([&] { EXPECT_EQ(KeyHit(263), 1) << "a new press counts again"; });
}

TEST_F(InputDeviceTest, JoystickValuesAndButtonsByPort) {
    host_.present = 2;
    host_.ports[0].x = {0.5f, -0.5f};
    host_.ports[0].y = {-1.0f, 0.25f};
    host_.ports[1].z = {0.75f, 0.0f};
    host_.ports[1].buttons[0] = true;
    host_.ports[1].buttons[31] = true;
    Update([&] {
        EXPECT_EQ(JoyX(), 0.5f);
        EXPECT_EQ(JoyY(), -1.0f);
        EXPECT_EQ(In().JoyX(1, 0), -0.5f);
        EXPECT_EQ(In().JoyY(1, 0), 0.25f);
        EXPECT_EQ(In().joyStates[1]->joyz[0], 0.75f);
        EXPECT_TRUE(KeyDown(256 + 32));
        EXPECT_TRUE(KeyDown(256 + 32 + 31));
        EXPECT_FALSE(KeyDown(256));
    });
}

TEST_F(InputDeviceTest, FirstAbsentPortEndsThePoll) {
    host_.present = 1;
    host_.ports[0].buttons[0] = true;
    Update([] {});
    EXPECT_EQ(host_.polls[0], 1);
    EXPECT_EQ(host_.polls[1], 1);
    EXPECT_EQ(host_.polls[2], 0);
    EXPECT_EQ(host_.polls[3], 0);
    // A joystick that goes away keeps its last state but does not count
    // as present.
    host_.present = 0;
    Update([&] {
        EXPECT_TRUE(KeyDown(256));
        EXPECT_EQ(KeyHit(256), 0);
        EXPECT_FALSE(JoyPresent());
    });
}

TEST_F(InputDeviceTest, PresenceFollowsEachPoll) {
    EXPECT_FALSE(JoyPresent()) << "nothing polled yet";
    host_.present = 2;
    Update([&] {
        EXPECT_TRUE(JoyPresent());
        EXPECT_TRUE(In().JoyPresent(1));
        EXPECT_FALSE(In().JoyPresent(2));
        EXPECT_FALSE(In().JoyPresent(-1));
    });
    host_.present = 1;
    Update([&] {
        EXPECT_TRUE(JoyPresent());
        EXPECT_FALSE(In().JoyPresent(1));
    });
    host_.present = 0;
    Update([&] { EXPECT_FALSE(JoyPresent()); });
    host_.present = 1;
    Update([&] { EXPECT_TRUE(JoyPresent()) << "plugged in again"; });
}

TEST_F(InputDeviceTest, KeyboardSwitchReachesTheHost) {
    EXPECT_EQ(EnableKeyboard(), 1);
    EXPECT_TRUE(host_.KeyboardEnabled());
    EXPECT_EQ(DisableKeyboard(), 1);
    EXPECT_FALSE(host_.KeyboardEnabled());
}

TEST_F(InputDeviceTest, SurvivesCollectionWithItsState) {
    Key(EVENT_KEY_DOWN, 40);
    In().TouchEvent(EVENT_TOUCH_MOVE, 9, 3, 3);
    for (int i = 0; i < 3; ++i) {
        gc::SetForce();
        gc::CollectStep();
    }
    EXPECT_TRUE(gc::IsLive(gInputDevice.get()));
    EXPECT_TRUE(gc::IsLive(In().joyStates[3].get()));
    EXPECT_TRUE(gc::IsLive(In().joyStates[3]->buttons.rep()));
    EXPECT_TRUE(KeyDown(40));
    EXPECT_EQ(TouchX(9), 3);
}

TEST(InputWithoutDevice, QueriesReadZero) {
    ASSERT_FALSE(gInputDevice);
    EXPECT_FALSE(KeyDown(65));
    EXPECT_EQ(KeyHit(65), 0);
    EXPECT_EQ(GetChar(), 0);
    EXPECT_EQ(MouseX(), 0);
    EXPECT_EQ(JoyX(), 0);
    EXPECT_EQ(EnableKeyboard(), 0);
}

TEST(InputWithoutHost, UpdateSkipsJoysticks) {
    ASSERT_EQ(HxGame::Current(), nullptr);
    Ref<c_InputDevice> device = new c_InputDevice();
    device->BeginUpdate();
    device->EndUpdate();
    EXPECT_EQ(device->SetKeyboardEnabled(true), 1);
}

}  // namespace
