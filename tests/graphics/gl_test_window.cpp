#include "tests/graphics/gl_test_window.h"

#include <GLFW/glfw3.h>
#include <stb_image_write.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "host/hx_glfw_game.h"

namespace {

void PrintGlfwError(int code, const char* description) {
    std::fprintf(stderr, "GLFW error %#x: %s\n", code, description);
}

// Several test processes start at once on the same X server; a connection
// refused in that rush is worth another try.
bool InitGlfwWithRetries() {
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (glfwInit()) return true;
        usleep(50000);
    }
    return false;
}

}  // namespace

bool EnsureTestWindow() {
    static int state = 0;  // 0 untried, 1 ready, -1 failed
    if (state == 0) {
        state = -1;
        glfwSetErrorCallback(PrintGlfwError);
        if (!InitGlfwWithRetries()) {
            std::fprintf(stderr, "glfwInit failed\n");
            return false;
        }
        glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
        glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
        glfwWindowHint(GLFW_DEPTH_BITS, 0);
        glfwWindowHint(GLFW_STENCIL_BITS, 0);
        glfwWindowHint(GLFW_ALPHA_BITS, 8);
        GLFWwindow* window = glfwCreateWindow(kTestWindowWidth, kTestWindowHeight, "gfx test", nullptr, nullptr);
        if (!window) {
            std::fprintf(stderr, "glfwCreateWindow failed\n");
            return false;
        }
        glfwMakeContextCurrent(window);
        // Lives as long as the process, like the game's host.
        new HxGlfwGame();
        state = 1;
    }
    return state == 1;
}

int PixelAt(gxtkGraphics* g, int x, int y) {
    Array<int> one(1);
    g->ReadPixels(one, x, y, 1, 1, 0, 1);
    return one[0];
}

namespace {

// Never destroyed: the exit handler below still needs it.
std::vector<std::string>& TempDirs() {
    static auto* dirs = new std::vector<std::string>();
    return *dirs;
}

void RemoveTempDirs() {
    std::error_code ignored;
    for (const std::string& dir : TempDirs()) std::filesystem::remove_all(dir, ignored);
}

}  // namespace

std::string TestTempDir() {
    static int serial = 0;
    if (serial == 0) std::atexit(RemoveTempDirs);
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("solbrim-gfx-" + std::to_string(getpid()) + "-" + std::to_string(serial++));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    TempDirs().push_back(dir.string());
    return dir.string();
}

std::string WriteTestPng(const std::string& name, int width, int height, int channels, const unsigned char* pixels) {
    static std::string dir = TestTempDir();
    std::string path = dir + "/" + name;
    if (!stbi_write_png(path.c_str(), width, height, channels, pixels, width * channels)) std::abort();
    return path;
}
