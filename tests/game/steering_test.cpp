// Turning stick readings and held directions into deflections, and a
// deflection into the velocity it adds, without a window.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "game/steering.h"

namespace {

float Length(Deflection d) { return std::hypot(d.x, d.y); }

TEST(StickDeflection, RestingSticksInsideTheDeadZoneGiveExactlyNothing) {
    for (auto [x, y] : {std::pair{0.0f, 0.0f}, {0.19f, 0.0f}, {0.0f, -0.19f}, {0.14f, 0.14f}, {-0.0f, -0.0f}}) {
        Deflection d = StickDeflection(x, y);
        EXPECT_FALSE(d.Any()) << x << "," << y;
        EXPECT_FALSE(std::signbit(d.x) || std::signbit(d.y)) << "no -0 to add";
    }
    // The zone is round: 0.15 on both axes lies outside it (0.212 long).
    EXPECT_TRUE(StickDeflection(0.15f, 0.15f).Any());
}

TEST(StickDeflection, BeyondTheDeadZoneStartsFromZeroAndReachesFullTilt) {
    EXPECT_NEAR(StickDeflection(0.21f, 0).x, 0.0125f, 1e-6f);
    EXPECT_NEAR(StickDeflection(0.6f, 0).x, 0.5f, 1e-6f);
    EXPECT_NEAR(StickDeflection(0, -0.6f).y, -0.5f, 1e-6f);
    EXPECT_FLOAT_EQ(StickDeflection(1, 0).x, 1.0f);
    EXPECT_FLOAT_EQ(StickDeflection(0, 1).y, 1.0f);
    // The direction is kept.
    Deflection d = StickDeflection(-0.3f, 0.4f);
    EXPECT_NEAR(Length(d), 0.375f, 1e-6f);
    EXPECT_NEAR(d.x / d.y, -0.75f, 1e-5f);
}

TEST(StickDeflection, WildReadingsAreHeldToAFullTilt) {
    // A square gate's corner and readings past the range are no faster than
    // a full tilt.
    EXPECT_NEAR(Length(StickDeflection(1, 1)), 1.0f, 1e-6f);
    Deflection far = StickDeflection(7.5f, -0.25f);
    EXPECT_NEAR(Length(far), 1.0f, 1e-6f);
    EXPECT_GT(far.x, 0.9f);
    EXPECT_LT(far.y, 0);
    EXPECT_NEAR(StickDeflection(-1e30f, 0).x, -1.0f, 1e-6f);
    float inf = std::numeric_limits<float>::infinity();
    EXPECT_NEAR(StickDeflection(0, -inf).y, -1.0f, 1e-6f);
    // NaN counts as 0, on either axis.
    float nan = std::numeric_limits<float>::quiet_NaN();
    EXPECT_FALSE(StickDeflection(nan, nan).Any());
    Deflection half = StickDeflection(nan, 0.6f);
    EXPECT_EQ(half.x, 0.0f);
    EXPECT_NEAR(half.y, 0.5f, 1e-6f);
}

TEST(DigitalDeflection, DiagonalsAreNoFasterAndOppositesCancel) {
    EXPECT_FALSE(DigitalDeflection(false, false, false, false).Any());
    Deflection right = DigitalDeflection(false, true, false, false);
    EXPECT_EQ(right.x, 1.0f);
    EXPECT_EQ(right.y, 0.0f);
    Deflection upLeft = DigitalDeflection(true, false, true, false);
    EXPECT_NEAR(Length(upLeft), 1.0f, 1e-6f);
    EXPECT_NEAR(upLeft.x, -std::sqrt(0.5f), 1e-6f);
    EXPECT_NEAR(upLeft.y, -std::sqrt(0.5f), 1e-6f);
    EXPECT_FALSE(DigitalDeflection(true, true, false, false).Any());
    Deflection down = DigitalDeflection(true, true, false, true);
    EXPECT_EQ(down.x, 0.0f);
    EXPECT_EQ(down.y, 1.0f);
}

TEST(CombinedDeflection, AddsUpToAtMostAFullTilt) {
    Deflection half = StickDeflection(0.6f, 0);
    Deflection up = DigitalDeflection(false, false, true, false);
    Deflection both = CombinedDeflection(half, up);
    EXPECT_NEAR(Length(both), 1.0f, 1e-6f);
    EXPECT_NEAR(both.x / both.y, -0.5f, 1e-5f);
    Deflection small = CombinedDeflection(StickDeflection(0.44f, 0), StickDeflection(0, 0.52f));
    EXPECT_NEAR(small.x, 0.3f, 1e-6f);
    EXPECT_NEAR(small.y, 0.4f, 1e-6f);
    EXPECT_FALSE(CombinedDeflection({}, {}).Any());
}

TEST(SteeringVelocity, AFullTiltIsADragOfKAtEveryMoveSpeed) {
    EXPECT_FLOAT_EQ(SteeringVelocity(1, 5), kFullTiltDrag / 8);
    EXPECT_FLOAT_EQ(SteeringVelocity(-0.5f, 8), -0.5f * kFullTiltDrag / 2);
    EXPECT_FLOAT_EQ(SteeringVelocity(1, 1), kFullTiltDrag / 16);
    EXPECT_FLOAT_EQ(SteeringVelocity(1, 0), kFullTiltDrag / 18);
    // Saved speeds the divisor cannot take play as the default speed.
    for (int broken : {9, 10, 1000000, 2147483647}) EXPECT_FLOAT_EQ(SteeringVelocity(1, broken), kFullTiltDrag / 8);
    EXPECT_FLOAT_EQ(DragDivisor(-3), 24.0f);
}

}  // namespace
