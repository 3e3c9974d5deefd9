// The input device polling real host code: HxGlfwGame's PollJoystick fed by
// a scripted joystick source instead of the window library.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <span>
#include <vector>

#include "host/hx_glfw_game.h"
#include "input/input.h"

namespace {

class IdleWindow : public HostWindow {
public:
    void Attach(HxGlfwGame*) override {}
    void PollEvents() override {}
    void WaitEvents() override {}
    bool IsOpen() override { return true; }
    bool IsIconified() override { return false; }
    bool IsActive() override { return true; }
    double Now() override { return 0; }
    void Sleep(double) override {}
    void SetCursorVisible(bool) override {}
};

class ScriptedJoysticks : public JoystickSource {
public:
    bool Present(int port) override { return port == 0 && !axes.empty(); }
    std::span<const float> Axes(int) override { return axes; }
    std::span<const bool> Buttons(int) override { return {buttons.data(), buttons.size()}; }

    std::vector<float> axes;
    std::array<bool, 12> buttons{};
};

class JoystickPollTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto source = std::make_unique<ScriptedJoysticks>();
        joysticks_ = source.get();
        host_ = std::make_unique<HxGlfwGame>(std::make_unique<IdleWindow>(), std::move(source));
        gInputDevice = new c_InputDevice();
    }
    void TearDown() override { gInputDevice = nullptr; }

    void Poll() {
        gInputDevice->BeginUpdate();
    }
    float X(int stick) { return gInputDevice->JoyX(stick, 0); }
    float Y(int stick) { return gInputDevice->JoyY(stick, 0); }
    float Z(int stick) { return gInputDevice->joyStates[0]->joyz[stick]; }

    ScriptedJoysticks* joysticks_ = nullptr;
    std::unique_ptr<HxGlfwGame> host_;
};

TEST_F(JoystickPollTest, SixAxesMapToTwoSticksAndTriggers) {
    joysticks_->axes = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f};
    Poll();
    EXPECT_FLOAT_EQ(X(0), 0.1f);
    EXPECT_FLOAT_EQ(Y(0), 0.2f);
    EXPECT_FLOAT_EQ(Z(0), 0.3f);
    EXPECT_FLOAT_EQ(X(1), 0.4f);
    EXPECT_FLOAT_EQ(Y(1), 0.5f);
    EXPECT_FLOAT_EQ(Z(1), 0.6f);
    EXPECT_FLOAT_EQ(JoyX(), 0.1f);
}

TEST_F(JoystickPollTest, FourAxisStickPutsItsSecondStickInPlace) {
    joysticks_->axes = {0.1f, 0.2f, 0.3f, 0.4f};
    Poll();
    EXPECT_FLOAT_EQ(Y(1), 0.3f);
    EXPECT_FLOAT_EQ(X(1), 0.4f);
    EXPECT_FLOAT_EQ(Z(0), 0.0f);
}

TEST_F(JoystickPollTest, FiveAxisStickPutsItsSecondStickInPlace) {
    joysticks_->axes = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f};
    Poll();
    EXPECT_FLOAT_EQ(Y(1), 0.4f);
    EXPECT_FLOAT_EQ(X(1), 0.5f);
    EXPECT_FLOAT_EQ(Z(0), 0.3f);
}

TEST_F(JoystickPollTest, ButtonsBecomeKeysAndAbsentStickIsSkipped) {
    joysticks_->axes = {0, 0};
    joysticks_->buttons[7] = true;
    Poll();
    EXPECT_TRUE(KeyDown(263));
    EXPECT_EQ(KeyHit(263), 1);
    Poll();
    EXPECT_EQ(KeyHit(263), 1) << "a held button counts once";
    // Unplugged: the last state stays.
    joysticks_->axes.clear();
    Poll();
    EXPECT_TRUE(KeyDown(263));
}

}  // namespace
