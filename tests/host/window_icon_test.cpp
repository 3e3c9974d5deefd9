// The window's icon: which files are read, how their pixels become RGBA, and
// that the window system receives them (or nothing, without icon files).
#include "desktop/window_icon.h"

#include <gtest/gtest.h>
#include <stb_image_write.h>
#include <unistd.h>

#define GLFW_EXPOSE_NATIVE_X11
#include <GLFW/glfw3.h>
#include <GLFW/glfw3native.h>
#include <X11/Xatom.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "tests/support/test_gl_window.h"

namespace fs = std::filesystem;

namespace {

struct IconFolder {
    fs::path root = fs::temp_directory_path() / ("solbrim-icon-" + std::to_string(getpid()));
    fs::path data = root / "data";

    IconFolder() { fs::create_directories(data); }
    ~IconFolder() { fs::remove_all(root); }

    // A size x size icon of one colour with the given channel count.
    void Write(int size, int channels, std::vector<unsigned char> pixel) {
        std::vector<unsigned char> pixels;
        for (int i = 0; i < size * size; ++i) pixels.insert(pixels.end(), pixel.begin(), pixel.end());
        std::string path = (data / ("icon-" + std::to_string(size) + ".png")).string();
        ASSERT_TRUE(stbi_write_png(path.c_str(), size, size, channels, pixels.data(), size * channels));
    }
};

std::vector<unsigned char> FirstPixel(const IconImage& icon) {
    return std::vector<unsigned char>(icon.rgba.begin(), icon.rgba.begin() + 4);
}

TEST(WindowIcon, ExistingFilesAreReadInSizeOrderAsRgba) {
    IconFolder folder;
    folder.Write(48, 3, {200, 100, 50});
    folder.Write(16, 4, {10, 20, 30, 140});
    folder.Write(32, 2, {77, 99});
    std::ofstream(folder.data / "icon-64.png") << "not a picture";
    std::vector<IconImage> icons = LoadIconImages(folder.data.string() + "/");
    ASSERT_EQ(icons.size(), 3u);
    EXPECT_EQ(icons[0].width, 16);
    EXPECT_EQ(icons[1].width, 32);
    EXPECT_EQ(icons[2].height, 48);
    EXPECT_EQ(icons[2].rgba.size(), 48u * 48u * 4u);
    EXPECT_EQ(FirstPixel(icons[0]), (std::vector<unsigned char>{10, 20, 30, 140}));
    EXPECT_EQ(FirstPixel(icons[1]), (std::vector<unsigned char>{77, 77, 77, 99}));
    EXPECT_EQ(FirstPixel(icons[2]), (std::vector<unsigned char>{200, 100, 50, 255}));
}

TEST(WindowIcon, NoFilesMeansNoIcons) {
    IconFolder folder;
    EXPECT_TRUE(LoadIconImages(folder.data.string() + "/").empty());
    EXPECT_TRUE(LoadIconImages("/nonexistent/solbrim/").empty());
}

// The icon property the window system holds for a window: width, height and
// the ARGB pixels of each image, one after another.
std::vector<unsigned long> IconProperty(GLFWwindow* window) {
    Display* display = glfwGetX11Display();
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(display, glfwGetX11Window(window), XInternAtom(display, "_NET_WM_ICON", False), 0,
                       1 << 20, False, XA_CARDINAL, &type, &format, &count, &after, &data);
    std::vector<unsigned long> values;
    if (data) {
        // 32-bit values, each in a long (sign-extended when the top bit is set).
        auto* longs = reinterpret_cast<unsigned long*>(data);
        for (unsigned long i = 0; i < count; ++i) values.push_back(longs[i] & 0xFFFFFFFFul);
        XFree(data);
    }
    return values;
}

struct WindowIconOnScreen : ::testing::Test {
    IconFolder folder;

    // The library stays started until the process ends (see
    // glfw_window_test.cpp).
    void SetUp() override {
        ASSERT_TRUE(StartTestWindowLibrary());
        glfwDefaultWindowHints();
        glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
    }
};

TEST_F(WindowIconOnScreen, TheDataFolderIconsReachTheWindow) {
    folder.Write(16, 4, {10, 20, 30, 140});
    folder.Write(32, 3, {200, 100, 50});
    GLFWwindow* window = glfwCreateWindow(64, 48, "icon test", nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    SetWindowIcon(window, folder.data.string() + "/");
    std::vector<unsigned long> icon = IconProperty(window);
    ASSERT_EQ(icon.size(), 2u + 16 * 16 + 2u + 32 * 32);
    EXPECT_EQ(icon[0], 16u);
    EXPECT_EQ(icon[2], 0x8C0A141Eu);  // A R G B
    EXPECT_EQ(icon[2 + 256], 32u);
    EXPECT_EQ(icon[2 + 256 + 2], 0xFFC86432u);
    glfwDestroyWindow(window);
}

TEST_F(WindowIconOnScreen, WithoutIconFilesTheWindowHasNone) {
    GLFWwindow* window = glfwCreateWindow(64, 48, "icon test", nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    SetWindowIcon(window, folder.data.string() + "/");
    EXPECT_TRUE(IconProperty(window).empty());
    glfwDestroyWindow(window);
}

}  // namespace
