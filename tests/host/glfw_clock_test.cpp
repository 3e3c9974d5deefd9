// The desktop host before the window library has started (this program
// never starts it): no time has passed and no joystick is there.
#include <gtest/gtest.h>

#include <memory>

#include "desktop/desktop_host_window.h"
#include "desktop/glfw_joystick_device.h"
#include "host/hx_glfw_game.h"
#include "host/joystick_source.h"

namespace {

TEST(GlfwClock, MillisecsIsZeroBeforeTheLibraryStarts) {
    HxGlfwGame game(std::make_unique<DesktopHostWindow>(nullptr), std::make_unique<GlfwJoystickSource>(std::make_unique<GlfwJoystickDevice>()));
    EXPECT_EQ(game.Millisecs(), 0);
    Global<Array<float>> axes{Array<float>(2)};
    EXPECT_FALSE(game.PollJoystick(0, axes, axes, axes, Array<bool>(32)));
}

}  // namespace
