// PrimitiveBatch: the CPU half of the renderer. It keeps the current colour
// word and 2D matrix and writes transformed vertices into the batch buffer;
// gxtkGraphics decides when to hand the buffer to GL. Nothing here touches
// GL, so the vertex work can be tested and measured without a context.
#pragma once
#include <cstdint>

// One vertex as GL reads it (stride 20): position in window pixels after the
// matrix, texture coordinates, and the colour bytes R, G, B, A.
struct Vertex {
    float x, y;
    float u, v;
    uint32_t color;
};
static_assert(sizeof(Vertex) == 20, "GL is told the vertex stride is 20 bytes");

enum PrimKind {
    kPrimNone = 0,
    kPrimPoints = 1,
    kPrimLines = 2,
    kPrimQuads = 4,
    kPrimFan = 5,
};

// Premultiplied colour word, bytes R, G, B, A in memory order; each byte is
// the product truncated toward zero.
uint32_t PackColor(float r, float g, float b, float alpha);

class PrimitiveBatch {
public:
    static constexpr int kMaxVertices = 1024;
    static constexpr int kMaxQuads = 256;
    static constexpr int kMaxPolyVertices = 1024;

    PrimitiveBatch();

    void SetColor(float r, float g, float b);
    void SetAlpha(float alpha);
    uint32_t ColorWord() const { return colorWord_; }
    float Red() const { return r_; }
    float Green() const { return g_; }
    float Blue() const { return b_; }
    float Alpha() const { return alpha_; }

    void SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty);
    bool Transformed() const { return tformed_; }

    // Primitives of one kind fit as long as the kind matches and the batch
    // has room; otherwise the caller flushes and calls Restart.
    bool Accepts(int kind) const { return kind_ == kind && count_ < Capacity(kind); }
    void Restart(int kind) {
        kind_ = kind;
        count_ = 0;
    }
    // Drops pending primitives; the kind stays.
    void Drop() { count_ = 0; }

    void AddPoint(float x, float y);
    void AddLine(float x1, float y1, float x2, float y2);
    void AddRect(float x, float y, float w, float h);
    void AddTexturedRect(float x, float y, float w, float h, float u0, float v0, float u1, float v1);

    // Immediate primitives replace the batch with one triangle fan.
    int OvalSegments(float rx, float ry) const;
    void BuildOval(float x, float y, float w, float h);
    // False (and the batch untouched) unless 3..1024 vertices are given.
    bool BuildPoly(const float* xy, int vertexCount);

    int Kind() const { return kind_; }
    // Primitives in the batch (vertices for a fan).
    int Count() const { return count_; }
    int VertexCount() const;
    const Vertex* Vertices() const { return vertices_; }
    const uint16_t* QuadIndices() const { return quadIndices_; }

    static int Capacity(int kind);

private:
    void Put(Vertex& v, float x, float y) const {
        if (tformed_) {
            v.x = x * ix_ + y * jx_ + tx_;
            v.y = x * iy_ + y * jy_ + ty_;
        } else {
            v.x = x;
            v.y = y;
        }
        v.color = colorWord_;
    }

    uint32_t colorWord_;
    float r_ = 255, g_ = 255, b_ = 255, alpha_ = 1;
    float ix_ = 1, iy_ = 0, jx_ = 0, jy_ = 1, tx_ = 0, ty_ = 0;
    bool tformed_ = false;
    int kind_ = kPrimNone;
    int count_ = 0;
    Vertex vertices_[kMaxVertices];
    uint16_t quadIndices_[kMaxQuads * 6];
};
