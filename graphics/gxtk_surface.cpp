#include "graphics/gxtk_surface.h"

#include <GL/gl.h>
#include <GLFW/glfw3.h>

#include <cstdlib>

#include "codec/image_decoder.h"

namespace {

GLenum FormatForDepth(int depth) {
    switch (depth) {
        case 1: return GL_LUMINANCE;
        case 2: return GL_LUMINANCE_ALPHA;
        case 3: return GL_RGB;
        case 4: return GL_RGBA;
        default: return 0;
    }
}

void DiscardGlErrors() {
    for (int i = 0; i < 16 && glGetError() != GL_NO_ERROR; ++i) {
    }
}

bool AllocateTexture(GLenum format, int width, int height) {
    DiscardGlErrors();
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, format, GL_UNSIGNED_BYTE, nullptr);
    return glGetError() == GL_NO_ERROR;
}

}  // namespace

int NextPowerOfTwo(int value) {
    int n = 1;
    while (n < value && n < (1 << 30)) n *= 2;
    return n;
}

void PremultiplyPixels(unsigned char* pixels, int pixelCount, int depth) {
    if (depth == 2) {
        for (int i = 0; i < pixelCount; ++i, pixels += 2) pixels[0] = static_cast<unsigned char>(pixels[0] * pixels[1] / 255);
    } else if (depth == 4) {
        for (int i = 0; i < pixelCount; ++i, pixels += 4) {
            unsigned a = pixels[3];
            pixels[0] = static_cast<unsigned char>(pixels[0] * a / 255);
            pixels[1] = static_cast<unsigned char>(pixels[1] * a / 255);
            pixels[2] = static_cast<unsigned char>(pixels[2] * a / 255);
        }
    }
}

gxtkSurface::~gxtkSurface() {
    DeleteTexture();
    FreeData();
}

void gxtkSurface::SetImage(unsigned char* pixels, int width, int height, int depth) {
    FreeData();
    data_ = pixels;
    width_ = width;
    height_ = height;
    depth_ = depth;
}

void gxtkSurface::FreeData() {
    if (data_) FreeImageData(data_);
    data_ = nullptr;
}

void gxtkSurface::DeleteTexture() {
    // The collector may destroy a surface after the window (and its
    // context) is gone; GL must not be called then.
    if (texture_ && glfwGetCurrentContext()) glDeleteTextures(1, &texture_);
    texture_ = 0;
}

int gxtkSurface::Discard() {
    DeleteTexture();
    FreeData();
    return 0;
}

int gxtkSurface::Width() { return width_; }
int gxtkSurface::Height() { return height_; }
bool gxtkSurface::Loaded() { return true; }

bool gxtkSurface::UploadTexture() {
    GLenum format = FormatForDepth(depth_);
    if (!format) std::exit(-1);
    if (data_) PremultiplyPixels(data_, width_ * height_, depth_);

    DeleteTexture();
    glGenTextures(1, &texture_);
    glBindTexture(GL_TEXTURE_2D, texture_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);

    int texWidth = width_, texHeight = height_;
    if (!AllocateTexture(format, texWidth, texHeight)) {
        texWidth = NextPowerOfTwo(width_);
        texHeight = NextPowerOfTwo(height_);
        if (!AllocateTexture(format, texWidth, texHeight)) {
            DeleteTexture();
            FreeData();
            return false;
        }
    }
    if (data_) {
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, width_, height_, format, GL_UNSIGNED_BYTE, data_);
    }
    textureWidth_ = texWidth;
    textureHeight_ = texHeight;
    uScale_ = 1.0f / static_cast<float>(texWidth);
    vScale_ = 1.0f / static_cast<float>(texHeight);
    FreeData();
    return true;
}
