#include "graphics/gxtk_graphics.h"

#include <GL/gl.h>
#include <GLFW/glfw3.h>

#include <cstdint>
#include <cstdio>
#include <vector>

#include "codec/image_decoder.h"
#include "host/asset_failures.h"
#include "host/hx_game.h"
#include "runtime/gc.h"

gxtkGraphics::gxtkGraphics() { ReadDeviceSize(); }

void gxtkGraphics::Mark() { gc_mark(primSurface_); }

void gxtkGraphics::ReadDeviceSize() {
    if (GLFWwindow* window = glfwGetCurrentContext()) glfwGetFramebufferSize(window, &width_, &height_);
}

int gxtkGraphics::Width() { return width_; }
int gxtkGraphics::Height() { return height_; }

int gxtkGraphics::BeginRender() {
    ReadDeviceSize();
    lastStats_ = stats_;
    stats_ = RenderStats();

    glViewport(0, 0, width_, height_);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width_, height_, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    const Vertex* v = batch_.Vertices();
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(2, GL_FLOAT, sizeof(Vertex), &v->x);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glTexCoordPointer(2, GL_FLOAT, sizeof(Vertex), &v->u);
    glEnableClientState(GL_COLOR_ARRAY);
    glColorPointer(4, GL_UNSIGNED_BYTE, sizeof(Vertex), &v->color);

    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_TEXTURE_2D);

    batch_.Drop();
    return 1;
}

void gxtkGraphics::EndRender() {
    Flush();
    if (GLFWwindow* window = glfwGetCurrentContext()) glfwSwapBuffers(window);
}

void gxtkGraphics::DiscardGraphics() {}

// ---- Batching ---------------------------------------------------------------
// Primitives of one kind and one texture collect in batch_ and reach GL in
// one draw call. Flush ends the batch, and it is the only way one ends:
//   - Prepare flushes when the next primitive differs in kind or texture, or
//     the batch is full;
//   - every GL state change that alters how pending primitives would draw
//     (blend, scissor) flushes first, and so do reading and writing pixels
//     and the end of the frame;
//   - ovals and polygons flush what is pending and are then drawn at once.
// Clear is the one exception: it drops the pending primitives instead, since
// they all lie inside the current scissor (changing it flushes) and the
// clear would paint over them.
void gxtkGraphics::Flush() {
    int count = batch_.Count();
    if (count == 0) return;
    gxtkSurface* surface = primSurface_;
    if (surface) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, surface->Texture());
    }
    bool drew = true;
    switch (batch_.Kind()) {
        case kPrimPoints: glDrawArrays(GL_POINTS, 0, count); break;
        case kPrimLines: glDrawArrays(GL_LINES, 0, count * 2); break;
        case kPrimQuads: glDrawElements(GL_TRIANGLES, count * 6, GL_UNSIGNED_SHORT, batch_.QuadIndices()); break;
        case kPrimFan: glDrawArrays(GL_TRIANGLE_FAN, 0, count); break;
        default: drew = false; break;
    }
    if (surface) glDisable(GL_TEXTURE_2D);
    ++stats_.flushes;
    if (drew) {
        ++stats_.drawCalls;
        stats_.vertices += batch_.VertexCount();
    }
    batch_.Drop();
}

void gxtkGraphics::Prepare(int kind, gxtkSurface* surface) {
    if (batch_.Accepts(kind) && primSurface_.get() == surface) return;
    Flush();
    batch_.Restart(kind);
    primSurface_ = surface;
}

void gxtkGraphics::DrawFanNow() {
    primSurface_ = nullptr;
    Flush();
}

gxtkSurface* gxtkGraphics::LoadSurface(const String& path) {
    gxtkSurface* surface = new gxtkSurface();
    if (LoadSurfaceData(surface, path) != surface) return nullptr;
    if (!surface->UploadTexture()) {
        ReportAssetFailure(path, "the graphics driver refused its texture");
        return nullptr;
    }
    return surface;
}

gxtkSurface* gxtkGraphics::LoadSurfaceData(gxtkSurface* surface, const String& path) {
    HxGame* host = HxGame::Current();
    if (!surface || !host) return nullptr;
    FILE* file = host->OpenAsset(path);
    if (!file) return nullptr;
    int width = 0, height = 0, depth = 0;
    const char* reason = nullptr;
    unsigned char* pixels = DecodeImageFile(file, &width, &height, &depth, &reason);
    std::fclose(file);
    // A whole picture was just allocated: the next collector step is a full one.
    gc::SetForce();
    if (!pixels) {
        ReportAssetFailure(path, reason);
        return nullptr;
    }
    surface->SetImage(pixels, width, height, depth);
    return surface;
}

gxtkSurface* gxtkGraphics::CreateSurface(int width, int height) {
    if (width < 1 || height < 1) return nullptr;
    gxtkSurface* surface = new gxtkSurface();
    surface->SetImage(nullptr, width, height, 4);
    if (!surface->UploadTexture()) return nullptr;
    return surface;
}

int gxtkGraphics::Clear(float r, float g, float b) {
    batch_.Drop();  // the clear paints over everything pending (see Batching)
    glClearColor(r / 255.0f, g / 255.0f, b / 255.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    return 0;
}

int gxtkGraphics::SetAlpha(float alpha) {
    batch_.SetAlpha(alpha);
    return 0;
}

int gxtkGraphics::SetColor(float r, float g, float b) {
    batch_.SetColor(r, g, b);
    return 0;
}

int gxtkGraphics::SetBlend(int blend) {
    Flush();
    glBlendFunc(GL_ONE, blend == 1 ? GL_ONE : GL_ONE_MINUS_SRC_ALPHA);
    return 0;
}

int gxtkGraphics::SetScissor(int x, int y, int width, int height) {
    Flush();
    if (x == 0 && y == 0 && width == Width() && height == Height()) {
        glDisable(GL_SCISSOR_TEST);
    } else {
        glEnable(GL_SCISSOR_TEST);
        glScissor(x, Height() - y - height, width, height);
    }
    return 0;
}

int gxtkGraphics::SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty) {
    batch_.SetMatrix(ix, iy, jx, jy, tx, ty);
    return 0;
}

int gxtkGraphics::DrawPoint(float x, float y) {
    Prepare(kPrimPoints, nullptr);
    batch_.AddPoint(x, y);
    return 0;
}

int gxtkGraphics::DrawRect(float x, float y, float width, float height) {
    Prepare(kPrimQuads, nullptr);
    batch_.AddRect(x, y, width, height);
    return 0;
}

int gxtkGraphics::DrawLine(float x1, float y1, float x2, float y2) {
    Prepare(kPrimLines, nullptr);
    batch_.AddLine(x1, y1, x2, y2);
    return 0;
}

int gxtkGraphics::DrawOval(float x, float y, float width, float height) {
    Flush();
    batch_.BuildOval(x, y, width, height);
    DrawFanNow();
    return 0;
}

int gxtkGraphics::DrawPoly(Array<float> vertices) {
    int n = vertices.Length() / 2;
    if (n < 3 || n > PrimitiveBatch::kMaxPolyVertices) return 0;
    Flush();
    batch_.BuildPoly(vertices.begin(), n);
    DrawFanNow();
    return 0;
}

int gxtkGraphics::DrawSurface(gxtkSurface* surface, float x, float y) {
    Prepare(kPrimQuads, surface);
    float w = static_cast<float>(surface->Width()), h = static_cast<float>(surface->Height());
    batch_.AddTexturedRect(x, y, w, h, 0, 0, w * surface->UScale(), h * surface->VScale());
    return 0;
}

int gxtkGraphics::DrawSurfaceRect(gxtkSurface* surface, float x, float y, int srcX, int srcY, int srcWidth,
                                  int srcHeight) {
    Prepare(kPrimQuads, surface);
    float us = surface->UScale(), vs = surface->VScale();
    batch_.AddTexturedRect(x, y, static_cast<float>(srcWidth), static_cast<float>(srcHeight),
                           static_cast<float>(srcX) * us, static_cast<float>(srcY) * vs,
                           static_cast<float>(srcX + srcWidth) * us, static_cast<float>(srcY + srcHeight) * vs);
    return 0;
}

bool PixelRectFits(int length, int width, int height, int offset, int pitch) {
    if (width < 1 || height < 1) return false;
    auto rowFits = [&](long long start) { return start >= 0 && start + width <= length; };
    return rowFits(offset) && rowFits(offset + static_cast<long long>(height - 1) * pitch);
}

int gxtkGraphics::ReadPixels(Array<int> pixels, int x, int y, int width, int height, int offset, int pitch) {
    Flush();
    if (!PixelRectFits(pixels.Length(), width, height, offset, pitch)) return 0;
    std::vector<uint32_t> rows(static_cast<size_t>(width) * height);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(x, height_ - y - height, width, height, GL_BGRA, GL_UNSIGNED_BYTE, rows.data());
    for (int i = 0; i < height; ++i) {
        const uint32_t* src = rows.data() + static_cast<size_t>(height - 1 - i) * width;
        int* dst = pixels.begin() + offset + i * pitch;
        for (int k = 0; k < width; ++k) dst[k] = static_cast<int>(src[k]);
    }
    return 0;
}

int gxtkGraphics::WritePixels(gxtkSurface* surface, Array<int> pixels, int x, int y, int width, int height,
                              int offset, int pitch) {
    Flush();
    if (!surface || !PixelRectFits(pixels.Length(), width, height, offset, pitch)) return 0;
    std::vector<uint32_t> buffer(static_cast<size_t>(width) * height);
    uint32_t* out = buffer.data();
    for (int j = 0; j < height; ++j) {
        const int* row = pixels.begin() + offset + j * pitch;
        for (int i = 0; i < width; ++i) {
            uint32_t p = static_cast<uint32_t>(row[i]);
            uint32_t a = p >> 24;
            uint32_t r = (p >> 16 & 0xFF) * a / 255, g = (p >> 8 & 0xFF) * a / 255, b = (p & 0xFF) * a / 255;
            *out++ = a << 24 | r << 16 | g << 8 | b;
        }
    }
    glBindTexture(GL_TEXTURE_2D, surface->Texture());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, width, height, GL_BGRA, GL_UNSIGNED_BYTE, buffer.data());
    return 0;
}
