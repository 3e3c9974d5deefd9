// gxtkGraphics: the one renderer. It transforms vertices on the CPU and
// hands GL runs of like primitives (same kind, same texture) in one draw
// call: up to 1024 points, 512 lines or 256 quads. Ovals and polygons are
// drawn at once as triangle fans.
#pragma once
#include "graphics/gxtk_surface.h"
#include "graphics/primitive_batch.h"
#include "runtime/object.h"

// What the renderer sent to GL since the last BeginRender.
struct RenderStats {
    int drawCalls = 0;  // glDrawArrays / glDrawElements calls
    int vertices = 0;   // vertices those calls drew
    int flushes = 0;    // batches ended (kind, texture or GL state change, full batch, frame end)
};

class gxtkGraphics : public Object {
public:
    // Takes the device size from the current GL context's window, if any.
    gxtkGraphics();
    void Mark() override;

    virtual int Width();
    virtual int Height();
    // Resets the GL state for a frame; always returns 1.
    virtual int BeginRender();
    // Flushes and swaps the current window's buffers.
    virtual void EndRender();
    virtual void DiscardGraphics();
    virtual gxtkSurface* LoadSurface(const String& path);
    virtual gxtkSurface* LoadSurfaceData(gxtkSurface* surface, const String& path);
    virtual gxtkSurface* CreateSurface(int width, int height);
    // Drops pending primitives (the clear would paint over them), then clears
    // inside the scissor.
    virtual int Clear(float r, float g, float b);
    virtual int SetAlpha(float alpha);
    virtual int SetColor(float r, float g, float b);
    // 1 additive, anything else premultiplied alpha.
    virtual int SetBlend(int blend);
    // Top-left origin; the whole device turns scissoring off.
    virtual int SetScissor(int x, int y, int width, int height);
    virtual int SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty);
    virtual int DrawPoint(float x, float y);
    virtual int DrawRect(float x, float y, float width, float height);
    virtual int DrawLine(float x1, float y1, float x2, float y2);
    virtual int DrawOval(float x, float y, float width, float height);
    // x0, y0, x1, y1, ...: 3 to 1024 vertices, else nothing is drawn.
    virtual int DrawPoly(Array<float> vertices);
    virtual int DrawSurface(gxtkSurface* surface, float x, float y);
    virtual int DrawSurfaceRect(gxtkSurface* surface, float x, float y, int srcX, int srcY, int srcWidth,
                                int srcHeight);
    // Pixel words (alpha 24-31, red 16-23, green 8-15, blue 0-7) of the
    // rectangle with top-left (x, y), top row first, row i at offset + i * pitch.
    // A rectangle that does not fit the array is not read.
    virtual int ReadPixels(Array<int> pixels, int x, int y, int width, int height, int offset, int pitch);
    // Writes pixel words (premultiplied on the way) into the surface's texture.
    // A rectangle that does not fit the array is not written.
    virtual int WritePixels(gxtkSurface* surface, Array<int> pixels, int x, int y, int width, int height,
                            int offset, int pitch);

    // Diagnostics for tests and the debug read-out.
    const RenderStats& FrameStats() const { return stats_; }
    // The counters of the frame before the current one.
    const RenderStats& LastFrameStats() const { return lastStats_; }
    const PrimitiveBatch& Batch() const { return batch_; }
    gxtkSurface* BatchSurface() const { return primSurface_; }

private:
    void ReadDeviceSize();
    // Ends the batch: draws what is pending. The rule for when is in one
    // place, above its definition.
    void Flush();
    // Flushes unless the batch takes one more primitive of this kind and texture.
    void Prepare(int kind, gxtkSurface* surface);
    void DrawFanNow();

    int width_ = 0;
    int height_ = 0;
    PrimitiveBatch batch_;
    Ref<gxtkSurface> primSurface_;
    RenderStats stats_;
    RenderStats lastStats_;
};

// True when a rectangle of width x height words at offset with pitch lies
// inside an array of the given length. Rows lie on a straight line, so the
// first and the last row decide; the pitch may be smaller than the width
// (rows overlap) or negative (rows stored bottom-up).
bool PixelRectFits(int length, int width, int height, int offset, int pitch);
