// gxtkSurface: a GL texture with, until it is uploaded, the decoded pixels
// it is made from. The surface owns both; Discard or destruction frees them.
#pragma once
#include "runtime/object.h"

class gxtkGraphics;

class gxtkSurface : public Object {
public:
    gxtkSurface() = default;
    ~gxtkSurface() override;

    // Deletes the texture and frees pending pixels; the size is kept.
    virtual int Discard();
    virtual int Width();
    virtual int Height();
    virtual bool Loaded();
    // Creates the texture (premultiplying pending pixels, then freeing them).
    // A size the driver refuses is retried at the next powers of two; false
    // when that fails too.
    virtual bool UploadTexture();

    unsigned int Texture() const { return texture_; }
    float UScale() const { return uScale_; }
    float VScale() const { return vScale_; }
    int Depth() const { return depth_; }
    // Pending pixels (null once uploaded).
    const unsigned char* Data() const { return data_; }
    // Size of the GL texture actually allocated.
    int TextureWidth() const { return textureWidth_; }
    int TextureHeight() const { return textureHeight_; }

private:
    friend class gxtkGraphics;
    // Takes ownership of pixels (decoder buffer, may be null).
    void SetImage(unsigned char* pixels, int width, int height, int depth);
    void FreeData();
    void DeleteTexture();

    unsigned char* data_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int depth_ = 0;
    unsigned int texture_ = 0;
    float uScale_ = 1;
    float vScale_ = 1;
    int textureWidth_ = 0;
    int textureHeight_ = 0;
};

// Smallest power of two at least value (1 for values below 2).
int NextPowerOfTwo(int value);
// Premultiplies pixels in place: grey by alpha for depth 2, R, G, B by A for
// depth 4 (integer division); depths 1 and 3 have no alpha and are left alone.
void PremultiplyPixels(unsigned char* pixels, int pixelCount, int depth);
