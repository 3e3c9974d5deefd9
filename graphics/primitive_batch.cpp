#include "graphics/primitive_batch.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// Truncation toward zero; callers keep components in 0..255 (no clamping),
// the mask only keeps a stray value from spilling into the next byte.
inline uint32_t Byte(float value) { return static_cast<uint32_t>(static_cast<int>(value)) & 0xFFu; }

constexpr float kTwoPi = 6.2831855f;

}  // namespace

uint32_t PackColor(float r, float g, float b, float alpha) {
    return Byte(r * alpha) | Byte(g * alpha) << 8 | Byte(b * alpha) << 16 | Byte(alpha * 255) << 24;
}

PrimitiveBatch::PrimitiveBatch() : colorWord_(PackColor(255, 255, 255, 1)) {
    // Untextured vertices never write u and v; zero them once so GL never
    // reads uninitialised memory.
    std::memset(vertices_, 0, sizeof vertices_);
    for (int q = 0; q < kMaxQuads; ++q) {
        uint16_t base = static_cast<uint16_t>(q * 4);
        uint16_t* idx = quadIndices_ + q * 6;
        idx[0] = base;
        idx[1] = base + 1;
        idx[2] = base + 2;
        idx[3] = base;
        idx[4] = base + 2;
        idx[5] = base + 3;
    }
}

int PrimitiveBatch::Capacity(int kind) {
    switch (kind) {
        case kPrimPoints: return kMaxVertices;
        case kPrimLines: return kMaxVertices / 2;
        case kPrimQuads: return kMaxQuads;
        case kPrimFan: return kMaxVertices;
        default: return 0;
    }
}

int PrimitiveBatch::VertexCount() const {
    switch (kind_) {
        case kPrimLines: return count_ * 2;
        case kPrimQuads: return count_ * 4;
        default: return count_;
    }
}

void PrimitiveBatch::SetColor(float r, float g, float b) {
    r_ = r;
    g_ = g;
    b_ = b;
    colorWord_ = PackColor(r_, g_, b_, alpha_);
}

void PrimitiveBatch::SetAlpha(float alpha) {
    alpha_ = alpha;
    colorWord_ = PackColor(r_, g_, b_, alpha_);
}

void PrimitiveBatch::SetMatrix(float ix, float iy, float jx, float jy, float tx, float ty) {
    ix_ = ix;
    iy_ = iy;
    jx_ = jx;
    jy_ = jy;
    tx_ = tx;
    ty_ = ty;
    tformed_ = !(ix == 1 && iy == 0 && jx == 0 && jy == 1 && tx == 0 && ty == 0);
}

void PrimitiveBatch::AddPoint(float x, float y) {
    Put(vertices_[count_], x, y);
    ++count_;
}

void PrimitiveBatch::AddLine(float x1, float y1, float x2, float y2) {
    Vertex* v = vertices_ + count_ * 2;
    Put(v[0], x1, y1);
    Put(v[1], x2, y2);
    ++count_;
}

void PrimitiveBatch::AddRect(float x, float y, float w, float h) {
    Vertex* v = vertices_ + count_ * 4;
    Put(v[0], x, y);
    Put(v[1], x + w, y);
    Put(v[2], x + w, y + h);
    Put(v[3], x, y + h);
    ++count_;
}

void PrimitiveBatch::AddTexturedRect(float x, float y, float w, float h, float u0, float v0, float u1, float v1) {
    Vertex* v = vertices_ + count_ * 4;
    Put(v[0], x, y);
    v[0].u = u0;
    v[0].v = v0;
    Put(v[1], x + w, y);
    v[1].u = u1;
    v[1].v = v0;
    Put(v[2], x + w, y + h);
    v[2].u = u1;
    v[2].v = v1;
    Put(v[3], x, y + h);
    v[3].u = u0;
    v[3].v = v1;
    ++count_;
}

int PrimitiveBatch::OvalSegments(float rx, float ry) const {
    float size;
    if (tformed_) {
        size = std::sqrt((ix_ * rx) * (ix_ * rx) + (iy_ * rx) * (iy_ * rx)) +
               std::sqrt((jx_ * ry) * (jx_ * ry) + (jy_ * ry) * (jy_ * ry));
    } else {
        size = std::fabs(rx) + std::fabs(ry);
    }
    // Compared as a float first: a huge or NaN size must not reach an int cast.
    if (!(size < 1025.0f)) return size != size ? 12 : 1024;
    int n = static_cast<int>(size);
    if (n <= 11) return 12;
    return n & ~3;
}

void PrimitiveBatch::BuildOval(float x, float y, float w, float h) {
    float rx = w / 2, ry = h / 2;
    float cx = x + rx, cy = y + ry;
    int n = OvalSegments(rx, ry);
    for (int i = 0; i < n; ++i) {
        float angle = static_cast<float>(i) * kTwoPi / static_cast<float>(n);
        Put(vertices_[i], cx + rx * std::cos(angle), cy - ry * std::sin(angle));
    }
    kind_ = kPrimFan;
    count_ = n;
}

bool PrimitiveBatch::BuildPoly(const float* xy, int vertexCount) {
    if (vertexCount < 3 || vertexCount > kMaxPolyVertices) return false;
    for (int k = 0; k < vertexCount; ++k) Put(vertices_[k], xy[2 * k], xy[2 * k + 1]);
    kind_ = kPrimFan;
    count_ = vertexCount;
    return true;
}
