#include "tests/support/test_gl_window.h"

#include <GLFW/glfw3.h>

#include <chrono>
#include <cstdio>
#include <thread>

namespace {

void PrintGlfwError(int code, const char* description) {
    std::fprintf(stderr, "GLFW error %#x: %s\n", code, description);
}

GLFWwindow* MakeHiddenWindow(int width, int height) {
    glfwDefaultWindowHints();
    glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    glfwWindowHint(GLFW_RESIZABLE, GLFW_TRUE);
    glfwWindowHint(GLFW_DEPTH_BITS, 0);
    glfwWindowHint(GLFW_STENCIL_BITS, 0);
    glfwWindowHint(GLFW_ALPHA_BITS, 8);
    GLFWwindow* window = glfwCreateWindow(width, height, "Sol Brim test", nullptr, nullptr);
    if (!window) {
        std::fprintf(stderr, "glfwCreateWindow failed\n");
        return nullptr;
    }
    glfwMakeContextCurrent(window);
    return window;
}

}  // namespace

bool StartTestWindowLibrary() {
    glfwSetErrorCallback(PrintGlfwError);
    if (glfwInit()) return true;
    // The X server may have been busy accepting another client.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    if (glfwInit()) return true;
    std::fprintf(stderr, "glfwInit failed (is DISPLAY set?)\n");
    return false;
}

GLFWwindow* TestGlWindow(int width, int height) {
    static bool tried = false;
    static GLFWwindow* window = nullptr;
    static int madeWidth = 0, madeHeight = 0;
    if (!tried) {
        tried = true;
        madeWidth = width;
        madeHeight = height;
        if (StartTestWindowLibrary()) window = MakeHiddenWindow(width, height);
    }
    if (width != madeWidth || height != madeHeight) {
        std::fprintf(stderr, "the test window is %d x %d, not %d x %d\n", madeWidth, madeHeight, width, height);
        return nullptr;
    }
    return window;
}
