#include "desktop/window_icon.h"

#include <GLFW/glfw3.h>

#include <cstdio>

#include "codec/image_decoder.h"

namespace {

// Grey, grey+alpha, RGB or RGBA pixels to RGBA.
std::vector<unsigned char> ToRgba(const unsigned char* pixels, int count, int depth) {
    std::vector<unsigned char> rgba(static_cast<std::size_t>(count) * 4);
    for (int i = 0; i < count; ++i) {
        const unsigned char* p = pixels + static_cast<std::size_t>(i) * depth;
        unsigned char* out = &rgba[static_cast<std::size_t>(i) * 4];
        bool grey = depth < 3;
        out[0] = p[0];
        out[1] = grey ? p[0] : p[1];
        out[2] = grey ? p[0] : p[2];
        out[3] = depth == 2 ? p[1] : depth == 4 ? p[3] : 255;
    }
    return rgba;
}

bool LoadIcon(const std::string& path, IconImage* icon) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    int depth = 0;
    unsigned char* pixels = DecodeImageFile(file, &icon->width, &icon->height, &depth);
    std::fclose(file);
    if (!pixels) return false;
    icon->rgba = ToRgba(pixels, icon->width * icon->height, depth);
    FreeImageData(pixels);
    return true;
}

}  // namespace

std::vector<IconImage> LoadIconImages(const std::string& folder) {
    std::vector<IconImage> icons;
    for (int size : kIconSizes) {
        IconImage icon;
        if (LoadIcon(folder + "icon-" + std::to_string(size) + ".png", &icon)) icons.push_back(std::move(icon));
    }
    return icons;
}

void SetWindowIcon(GLFWwindow* window, const std::string& dataFolder) {
    std::vector<IconImage> icons = LoadIconImages(dataFolder);
    if (icons.empty()) return;
    std::vector<GLFWimage> images;
    for (IconImage& icon : icons) images.push_back(GLFWimage{icon.width, icon.height, icon.rgba.data()});
    glfwSetWindowIcon(window, static_cast<int>(images.size()), images.data());
}
