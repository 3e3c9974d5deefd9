// c_Image: frames cut from a texture surface, plus the handle point that is
// placed at the drawing position.
#pragma once
#include "graphics/frame.h"
#include "graphics/gxtk_surface.h"
#include "runtime/object.h"

// Image flags.
constexpr int CentreHandle = 1;
constexpr int PadX = 2;
constexpr int PadY = 4;
// Set by the image itself when its one frame is the whole surface.
constexpr int WholeSurface = 65536;

class c_Image : public Object {
public:
    void Mark() override;

    // Sets the handle; the image no longer counts as centred.
    virtual int SetHandle(float tx, float ty);
    // Removes padding, centres the handle and detects the whole-surface case.
    virtual int ApplyFlags(int flags);
    // A horizontal strip of frameCount equal frames.
    virtual c_Image* Init(gxtkSurface* surface, int frameCount, int flags);
    // Frames of width x height laid left to right from (x, y) in source,
    // wrapping to the next row. Raises "Image frame outside surface" when
    // they do not fit.
    virtual c_Image* InitGrab(int x, int y, int width, int height, int frameCount, int flags, c_Image* source);
    // A new image cut from this one, which must have exactly one frame
    // (null otherwise).
    virtual c_Image* GrabImage(int x, int y, int width, int height, int frameCount, int flags);

    Ref<gxtkSurface> surface;
    // Frame size after padding is removed.
    int width = 0;
    int height = 0;
    Array<Ref<c_Frame>> frames;
    int flags = 0;
    // Handle point.
    float tx = 0;
    float ty = 0;
    Ref<c_Image> source;
};
