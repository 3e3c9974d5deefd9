#include "graphics/image.h"

#include "host/runtime_error.h"

void c_Image::Mark() {
    gc_mark(surface);
    gc_mark(frames);
    gc_mark(source);
}

int c_Image::SetHandle(float x, float y) {
    tx = x;
    ty = y;
    flags &= ~CentreHandle;
    return 0;
}

int c_Image::ApplyFlags(int newFlags) {
    flags = newFlags;
    if (flags & PadX) {
        for (const Ref<c_Frame>& f : frames) f->x += 1;
        width -= 2;
    }
    if (flags & PadY) {
        for (const Ref<c_Frame>& f : frames) f->y += 1;
        height -= 2;
    }
    if (flags & CentreHandle) SetHandle(static_cast<float>(width) * 0.5f, static_cast<float>(height) * 0.5f);
    if (surface && frames.Length() == 1 && frames[0]->x == 0 && frames[0]->y == 0 && width == surface->Width() &&
        height == surface->Height()) {
        flags |= WholeSurface;
    }
    return 0;
}

c_Image* c_Image::Init(gxtkSurface* s, int frameCount, int newFlags) {
    surface = s;
    // No frames rather than a division by zero.
    int count = frameCount > 0 ? frameCount : 0;
    width = count > 0 ? s->Width() / count : 0;
    height = s->Height();
    frames = Array<Ref<c_Frame>>(count);
    for (int i = 0; i < count; ++i) frames[i] = new c_Frame(i * width, 0);
    ApplyFlags(newFlags);
    return this;
}

c_Image* c_Image::InitGrab(int x, int y, int w, int h, int frameCount, int newFlags, c_Image* src) {
    surface = src->surface;
    source = src;
    width = w;
    height = h;
    int count = frameCount > 0 ? frameCount : 0;
    frames = Array<Ref<c_Frame>>(count);
    const c_Frame* origin = src->frames[0];
    for (int i = 0; i < count; ++i) {
        if (x + w > src->width) {
            y += h;
            x = 0;
        }
        if (x + w > src->width || y + h > src->height) Error(String("Image frame outside surface"));
        frames[i] = new c_Frame(x + origin->x, y + origin->y);
        x += w;
    }
    ApplyFlags(newFlags);
    return this;
}

c_Image* c_Image::GrabImage(int x, int y, int w, int h, int frameCount, int newFlags) {
    if (frames.Length() != 1) return nullptr;
    return (new c_Image())->InitGrab(x, y, w, h, frameCount, newFlags, this);
}
