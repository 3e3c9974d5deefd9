#include "graphics/drawing.h"

#include <cmath>

#include "graphics/graphics_globals.h"
#include "host/data_path.h"

namespace {

constexpr float kDegreesToRadians = 0.017453292f;

c_GraphicsContext& Context() { return *graphicsContext; }

// The render device after a pending matrix was handed to it; null outside
// a frame.
gxtkGraphics* ValidDevice() {
    if (!renderDevice) return nullptr;
    Context().Validate();
    return renderDevice;
}

// Draws one frame with its top-left at (x, y) (handle already applied).
void DrawFrame(gxtkGraphics* device, c_Image* image, float x, float y, int frame) {
    c_Frame* f = image->frames[frame];
    if (image->flags & WholeSurface) {
        device->DrawSurface(image->surface, x, y);
    } else {
        device->DrawSurfaceRect(image->surface, x, y, f->x, f->y, image->width, image->height);
    }
}

bool HasFrame(c_Image* image, int frame) { return image && frame >= 0 && frame < image->frames.Length(); }

}  // namespace

int ClearScreen(float r, float g, float b) {
    if (renderDevice) renderDevice->Clear(r, g, b);
    return 0;
}

int SetColor(float r, float g, float b) {
    c_GraphicsContext& c = Context();
    c.colorR = r;
    c.colorG = g;
    c.colorB = b;
    if (renderDevice) renderDevice->SetColor(r, g, b);
    return 0;
}

int SetAlpha(float alpha) {
    Context().alpha = alpha;
    if (renderDevice) renderDevice->SetAlpha(alpha);
    return 0;
}

int SetBlend(int blend) {
    Context().blend = blend;
    if (renderDevice) renderDevice->SetBlend(blend);
    return 0;
}

int SetScissor(float x, float y, float width, float height) {
    c_GraphicsContext& c = Context();
    c.scissorX = x;
    c.scissorY = y;
    c.scissorW = width;
    c.scissorH = height;
    if (renderDevice)
        renderDevice->SetScissor(static_cast<int>(x), static_cast<int>(y), static_cast<int>(width),
                                 static_cast<int>(height));
    return 0;
}

int SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty) {
    c_GraphicsContext& c = Context();
    c.ix = ix;
    c.iy = iy;
    c.jx = jx;
    c.jy = jy;
    c.tx = tx;
    c.ty = ty;
    c.tformed = !(ix == 1 && iy == 0 && jx == 0 && jy == 1 && tx == 0 && ty == 0);
    c.matDirty = 1;
    return 0;
}

int Transform(float a, float b, float cc, float d, float e, float f) {
    const c_GraphicsContext& c = Context();
    return SetMatrix(a * c.ix + b * c.jx, a * c.iy + b * c.jy, cc * c.ix + d * c.jx, cc * c.iy + d * c.jy,
                     e * c.ix + f * c.jx + c.tx, e * c.iy + f * c.jy + c.ty);
}

int Translate(float x, float y) { return Transform(1, 0, 0, 1, x, y); }

int Scale(float x, float y) { return Transform(x, 0, 0, y, 0, 0); }

int Rotate(float angle) {
    float a = angle * kDegreesToRadians;
    return Transform(std::cos(a), -std::sin(a), std::sin(a), std::cos(a), 0, 0);
}

int PushMatrix() {
    c_GraphicsContext& c = Context();
    // Deeper nesting than the usual 32 levels grows the stack instead of
    // writing past it.
    if (c.matrixSp + 6 > c.matrixStack.Length()) c.matrixStack = c.matrixStack.Resize(c.matrixStack.Length() * 2 + 6);
    float* m = c.matrixStack.begin() + c.matrixSp;
    m[0] = c.ix;
    m[1] = c.iy;
    m[2] = c.jx;
    m[3] = c.jy;
    m[4] = c.tx;
    m[5] = c.ty;
    c.matrixSp += 6;
    return 0;
}

int PopMatrix() {
    c_GraphicsContext& c = Context();
    // An unmatched pop keeps the current matrix rather than reading before the stack.
    if (c.matrixSp < 6) return 0;
    c.matrixSp -= 6;
    const float* m = c.matrixStack.begin() + c.matrixSp;
    return SetMatrix(m[0], m[1], m[2], m[3], m[4], m[5]);
}

int DrawPoint(float x, float y) {
    if (gxtkGraphics* device = ValidDevice()) device->DrawPoint(x, y);
    return 0;
}

int DrawRect(float x, float y, float width, float height) {
    if (gxtkGraphics* device = ValidDevice()) device->DrawRect(x, y, width, height);
    return 0;
}

int DrawLine(float x1, float y1, float x2, float y2) {
    if (gxtkGraphics* device = ValidDevice()) device->DrawLine(x1, y1, x2, y2);
    return 0;
}

int DrawOval(float x, float y, float width, float height) {
    if (gxtkGraphics* device = ValidDevice()) device->DrawOval(x, y, width, height);
    return 0;
}

int DrawEllipse(float x, float y, float xRadius, float yRadius) {
    return DrawOval(x - xRadius, y - yRadius, 2 * xRadius, 2 * yRadius);
}

int DrawPoly(Array<float> vertices) {
    if (gxtkGraphics* device = ValidDevice()) device->DrawPoly(vertices);
    return 0;
}

int DrawImage(c_Image* image, float x, float y, int frame) {
    if (!HasFrame(image, frame)) return 0;
    if (gxtkGraphics* device = ValidDevice()) DrawFrame(device, image, x - image->tx, y - image->ty, frame);
    return 0;
}

int DrawImageTransformed(c_Image* image, float x, float y, float rotation, float scaleX, float scaleY, int frame) {
    if (!HasFrame(image, frame) || !renderDevice) return 0;
    PushMatrix();
    Translate(x, y);
    Rotate(rotation);
    Scale(scaleX, scaleY);
    Translate(-image->tx, -image->ty);
    DrawFrame(ValidDevice(), image, 0, 0, frame);
    PopMatrix();
    return 0;
}

int ReadPixels(Array<int> pixels, int x, int y, int width, int height, int offset, int pitch) {
    if (renderDevice) renderDevice->ReadPixels(pixels, x, y, width, height, offset, pitch);
    return 0;
}

int DeviceWidth() { return graphicsDevice ? graphicsDevice->Width() : 0; }

int DeviceHeight() { return graphicsDevice ? graphicsDevice->Height() : 0; }

c_Image* LoadImage(const String& path, int frameCount, int flags) {
    if (!graphicsDevice || frameCount < 1) return nullptr;
    gxtkSurface* surface = graphicsDevice->LoadSurface(FixDataPath(path));
    if (!surface) return nullptr;
    return (new c_Image())->Init(surface, frameCount, flags);
}

c_Image* LoadImageStrip(const String& path, int frameWidth, int frameHeight, int frameCount, int flags) {
    c_Image* atlas = LoadImage(path, 1, 0);
    if (!atlas) return nullptr;
    return atlas->GrabImage(0, 0, frameWidth, frameHeight, frameCount, flags);
}

int BeginFrameDrawing() {
    renderDevice = graphicsDevice;
    c_GraphicsContext& c = Context();
    c.matrixSp = 0;
    SetMatrix(1, 0, 0, 1, 0, 0);
    SetColor(255, 255, 255);
    SetAlpha(1);
    SetBlend(0);
    SetScissor(0, 0, static_cast<float>(DeviceWidth()), static_cast<float>(DeviceHeight()));
    return 0;
}

int EndFrameDrawing() {
    renderDevice = nullptr;
    return 0;
}

void LoadDefaultFont() {
    c_GraphicsContext& c = Context();
    if (!c.defaultFont) c.defaultFont = LoadImage(String("brio_font.png"), 96, PadX);
    c.font = c.defaultFont;
    c.firstChar = 32;
}
