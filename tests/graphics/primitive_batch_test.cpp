// The renderer's CPU half: colour words, the quad index list, vertex
// transforms, batch capacities and the oval segment rule.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "graphics/primitive_batch.h"

namespace {

struct Bytes {
    uint8_t r, g, b, a;
};

Bytes ColorBytes(const Vertex& v) {
    Bytes out;
    std::memcpy(&out, &v.color, 4);
    return out;
}

TEST(ColorWord, PremultipliesAndTruncatesEachByte) {
    Bytes half;
    uint32_t word = PackColor(255, 0, 0, 0.5f);
    std::memcpy(&half, &word, 4);
    EXPECT_EQ(half.r, 127);
    EXPECT_EQ(half.g, 0);
    EXPECT_EQ(half.b, 0);
    EXPECT_EQ(half.a, 127);

    Bytes mixed;
    word = PackColor(200, 100, 51, 0.3f);
    std::memcpy(&mixed, &word, 4);
    EXPECT_EQ(mixed.r, 60);   // 60.0
    EXPECT_EQ(mixed.g, 30);   // 30.0
    EXPECT_EQ(mixed.b, 15);   // 15.3
    EXPECT_EQ(mixed.a, 76);   // 76.5
    EXPECT_EQ(PackColor(255, 255, 255, 1), 0xFFFFFFFFu);
    EXPECT_EQ(PackColor(255, 255, 255, 0), 0u);
}

TEST(ColorWord, SetColorAndSetAlphaEachRebuildTheWord) {
    auto batch = std::make_unique<PrimitiveBatch>();
    batch->SetColor(255, 0, 0);
    batch->SetAlpha(0.5f);
    EXPECT_EQ(batch->ColorWord(), PackColor(255, 0, 0, 0.5f));
    batch->SetColor(0, 255, 0);  // keeps the alpha
    EXPECT_EQ(batch->ColorWord(), PackColor(0, 255, 0, 0.5f));
    batch->SetAlpha(1);  // keeps the colour
    EXPECT_EQ(batch->ColorWord(), PackColor(0, 255, 0, 1));

    batch->Restart(kPrimPoints);
    batch->AddPoint(1, 2);
    batch->SetColor(0, 0, 255);
    batch->AddPoint(3, 4);
    Bytes first = ColorBytes(batch->Vertices()[0]), second = ColorBytes(batch->Vertices()[1]);
    EXPECT_EQ(first.g, 255);
    EXPECT_EQ(second.b, 255);
    EXPECT_EQ(second.g, 0);
}

TEST(QuadIndices, TwoTrianglesPerQuadForAll256) {
    auto batch = std::make_unique<PrimitiveBatch>();
    const uint16_t* idx = batch->QuadIndices();
    for (int q = 0; q < 256; ++q) {
        const uint16_t* t = idx + q * 6;
        int base = q * 4;
        EXPECT_EQ(t[0], base);
        EXPECT_EQ(t[1], base + 1);
        EXPECT_EQ(t[2], base + 2);
        EXPECT_EQ(t[3], base);
        EXPECT_EQ(t[4], base + 2);
        EXPECT_EQ(t[5], base + 3);
    }
}

TEST(Vertices, RectCornersGoClockwiseFromTopLeft) {
    auto batch = std::make_unique<PrimitiveBatch>();
    batch->Restart(kPrimQuads);
    batch->AddRect(10, 20, 30, 40);
    const Vertex* v = batch->Vertices();
    float expected[4][2] = {{10, 20}, {40, 20}, {40, 60}, {10, 60}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(v[i].x, expected[i][0]) << i;
        EXPECT_FLOAT_EQ(v[i].y, expected[i][1]) << i;
    }
    EXPECT_EQ(batch->Count(), 1);
    EXPECT_EQ(batch->VertexCount(), 4);
}

TEST(Vertices, TexturedRectCarriesUvInCornerOrder) {
    auto batch = std::make_unique<PrimitiveBatch>();
    batch->Restart(kPrimQuads);
    batch->AddRect(0, 0, 1, 1);
    batch->AddTexturedRect(0, 0, 8, 4, 0.25f, 0.5f, 0.75f, 1.0f);
    const Vertex* v = batch->Vertices() + 4;
    float uv[4][2] = {{0.25f, 0.5f}, {0.75f, 0.5f}, {0.75f, 1.0f}, {0.25f, 1.0f}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(v[i].u, uv[i][0]) << i;
        EXPECT_FLOAT_EQ(v[i].v, uv[i][1]) << i;
    }
}

TEST(Vertices, MatrixTransformsEachCornerSeparately) {
    auto batch = std::make_unique<PrimitiveBatch>();
    // 90 degrees plus a translation: (x, y) -> (-y + 100, x + 50).
    batch->SetMatrix(0, 1, -1, 0, 100, 50);
    EXPECT_TRUE(batch->Transformed());
    batch->Restart(kPrimQuads);
    batch->AddRect(10, 0, 5, 2);
    const Vertex* v = batch->Vertices();
    EXPECT_FLOAT_EQ(v[0].x, 100);
    EXPECT_FLOAT_EQ(v[0].y, 60);
    EXPECT_FLOAT_EQ(v[2].x, 98);  // corner (15, 2)
    EXPECT_FLOAT_EQ(v[2].y, 65);

    batch->SetMatrix(1, 0, 0, 1, 0, 0);
    EXPECT_FALSE(batch->Transformed());
    batch->SetMatrix(1, 0, 0, 1, 0, 0.5f);
    EXPECT_TRUE(batch->Transformed());
}

TEST(Batch, CapacitiesByKind) {
    auto batch = std::make_unique<PrimitiveBatch>();
    struct Case {
        int kind, capacity;
    } cases[] = {{kPrimPoints, 1024}, {kPrimLines, 512}, {kPrimQuads, 256}};
    for (const Case& c : cases) {
        batch->Restart(c.kind);
        for (int i = 0; i < c.capacity; ++i) {
            ASSERT_TRUE(batch->Accepts(c.kind)) << c.kind << " at " << i;
            if (c.kind == kPrimPoints) batch->AddPoint(0, 0);
            if (c.kind == kPrimLines) batch->AddLine(0, 0, 1, 1);
            if (c.kind == kPrimQuads) batch->AddRect(0, 0, 1, 1);
        }
        EXPECT_FALSE(batch->Accepts(c.kind)) << "full batch of kind " << c.kind;
        EXPECT_EQ(batch->VertexCount(), 1024);
        EXPECT_FALSE(batch->Accepts(c.kind == kPrimQuads ? kPrimLines : kPrimQuads));
    }
}

TEST(Oval, SegmentCountRule) {
    auto batch = std::make_unique<PrimitiveBatch>();
    EXPECT_EQ(batch->OvalSegments(2, 2), 12);        // width and height 4
    EXPECT_EQ(batch->OvalSegments(15, 15), 28);      // radii summing to 30
    EXPECT_EQ(batch->OvalSegments(2500, 2500), 1024);
    EXPECT_EQ(batch->OvalSegments(6, 5.9f), 12);     // 11.9 -> 11
    EXPECT_EQ(batch->OvalSegments(6, 6), 12);        // 12 is a multiple of 4
    EXPECT_EQ(batch->OvalSegments(7, 7), 12);        // 14 rounds down to 12
    EXPECT_EQ(batch->OvalSegments(512, 512.9f), 1024);
    EXPECT_EQ(batch->OvalSegments(-7, -8), 12);      // 15 from the magnitudes
    EXPECT_EQ(batch->OvalSegments(std::nanf(""), 1), 12);
    // Under a matrix the radii are measured after scaling.
    batch->SetMatrix(4, 0, 0, 4, 0, 0);
    EXPECT_EQ(batch->OvalSegments(2, 2), 16);
    batch->SetMatrix(0, 3, -3, 0, 0, 0);  // rotated and scaled by 3
    EXPECT_EQ(batch->OvalSegments(5, 5), 28);
}

TEST(Oval, VerticesLieOnTheEllipseCounterClockwiseOnScreen) {
    auto batch = std::make_unique<PrimitiveBatch>();
    batch->BuildOval(10, 20, 40, 20);  // centre (30, 30), radii 20 x 10
    ASSERT_EQ(batch->Kind(), kPrimFan);
    ASSERT_EQ(batch->Count(), 28);
    const Vertex* v = batch->Vertices();
    EXPECT_FLOAT_EQ(v[0].x, 50);
    EXPECT_FLOAT_EQ(v[0].y, 30);
    EXPECT_NEAR(v[7].x, 30, 1e-4);  // a quarter turn: the top on a y-down screen
    EXPECT_NEAR(v[7].y, 20, 1e-4);
    for (int i = 0; i < 28; ++i) {
        float dx = (v[i].x - 30) / 20, dy = (v[i].y - 30) / 10;
        EXPECT_NEAR(dx * dx + dy * dy, 1.0f, 1e-4) << i;
    }
}

TEST(Poly, VertexLimits) {
    auto batch = std::make_unique<PrimitiveBatch>();
    float xy[2050] = {};
    for (int i = 0; i < 2050; ++i) xy[i] = static_cast<float>(i);
    batch->Restart(kPrimQuads);
    batch->AddRect(0, 0, 1, 1);
    EXPECT_FALSE(batch->BuildPoly(xy, 2));
    EXPECT_FALSE(batch->BuildPoly(xy, 1025));
    EXPECT_EQ(batch->Kind(), kPrimQuads);  // untouched by a refused polygon
    EXPECT_EQ(batch->Count(), 1);
    EXPECT_TRUE(batch->BuildPoly(xy, 3));
    EXPECT_EQ(batch->Count(), 3);
    EXPECT_TRUE(batch->BuildPoly(xy, 1024));
    EXPECT_EQ(batch->Count(), 1024);
    EXPECT_FLOAT_EQ(batch->Vertices()[1023].x, 2046);
    EXPECT_FLOAT_EQ(batch->Vertices()[1023].y, 2047);
}

}  // namespace
