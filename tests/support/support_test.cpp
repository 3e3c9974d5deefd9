// The shared test pieces keep their promises: one hidden window per process
// with the buffers the read-back tests rely on, and one idle host.
#include <gtest/gtest.h>

#include <GLFW/glfw3.h>

#include "runtime/array.h"
#include "tests/support/idle_host.h"
#include "tests/support/test_gl_window.h"

namespace {

TEST(TestGlWindow, IsMadeOnceHiddenWithAlphaAndNoDepthOrStencil) {
    GLFWwindow* window = TestGlWindow(200, 150);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(glfwGetCurrentContext(), window);
    EXPECT_EQ(glfwGetWindowAttrib(window, GLFW_VISIBLE), GLFW_FALSE);
    int width = 0, height = 0;
    glfwGetFramebufferSize(window, &width, &height);
    EXPECT_EQ(width, 200);
    EXPECT_EQ(height, 150);
    GLint alpha = -1, depth = -1, stencil = -1;
    glGetIntegerv(GL_ALPHA_BITS, &alpha);
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    glGetIntegerv(GL_STENCIL_BITS, &stencil);
    EXPECT_EQ(alpha, 8);
    EXPECT_EQ(depth, 0);
    EXPECT_EQ(stencil, 0);
    EXPECT_EQ(TestGlWindow(200, 150), window);
}

TEST(TestGlWindow, AnotherSizeIsRefusedAndTheWindowStays) {
    GLFWwindow* window = TestGlWindow(200, 150);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(TestGlWindow(200, 151), nullptr);
    EXPECT_EQ(TestGlWindow(201, 150), nullptr);
    EXPECT_EQ(TestGlWindow(200, 150), window);
    EXPECT_EQ(glfwGetCurrentContext(), window);
}

TEST(IdleHost, IsOneHostThatIsCurrentAndHasNoJoysticks) {
    HxGlfwGame& host = IdleHost();
    EXPECT_EQ(&IdleHost(), &host);
    EXPECT_EQ(HxGame::Current(), &host);
    Global<Array<float>> axes{Array<float>(2)};
    for (int port = 0; port < 4; ++port) EXPECT_FALSE(host.PollJoystick(port, axes, axes, axes, Array<bool>(32)));
    EXPECT_EQ(host.Millisecs(), 0);
}

}  // namespace
