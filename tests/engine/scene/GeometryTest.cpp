#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "engine/scene/Geometry.h"

namespace {

constexpr float kPi = std::numbers::pi_v<float>;

TEST(GeometryTest, AngleOfCoversEveryQuadrantAndTheAxes) {
    const struct {
        float x, y, angle;
    } cases[] = {
        {1, 0, 0},           {1, 1, kPi / 4},     {0, 1, kPi / 2},     {-1, 1, 3 * kPi / 4},
        {-1, 0, kPi},        {-1, -1, 5 * kPi / 4}, {0, -1, 3 * kPi / 2}, {1, -1, 7 * kPi / 4},
        {0, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(AngleOf(c.x, c.y), c.angle, 1e-5f) << c.x << "," << c.y;
    }
}

TEST(GeometryTest, FloatModuloTakesTheSignOfTheDivisor) {
    const struct {
        float a, b, result;
    } cases[] = {
        {7, 3, 1}, {-7, 3, 2}, {7, -3, -2}, {-6, 3, 0}, {2 * kPi + 1, 2 * kPi, 1}, {-1e-9f, 3, 0},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(FloatModulo(c.a, c.b), c.result, 1e-5f) << c.a << " mod " << c.b;
    }
    EXPECT_LT(FloatModulo(-1e-9f, 3), 3.0f);
}

TEST(GeometryTest, ClosestPointOnSegmentTellsWhereTheProjectionFell) {
    const PointF a{0, 0};
    const PointF b{10, 0};
    const struct {
        PointF p;
        PointF nearest;
        int side;  // -1 before a, 0 inside, 1 beyond b
    } cases[] = {
        {{4, 3}, {4, 0}, 0}, {{-2, 5}, {0, 0}, -1}, {{13, -1}, {10, 0}, 1}, {{0, 7}, {0, 0}, 0},
    };
    for (const auto& c : cases) {
        PointF nearest;
        const float where = ClosestPointOnSegment(a, b, c.p, nearest);
        EXPECT_EQ(nearest, c.nearest) << c.p.x << "," << c.p.y;
        EXPECT_EQ((where > 0) - (where < 0), c.side) << c.p.x << "," << c.p.y;
    }
    PointF nearest;
    EXPECT_EQ(ClosestPointOnSegment(a, a, {3, 4}, nearest), 0.0f);
    EXPECT_EQ(nearest, a);
}

TEST(GeometryTest, NormalizeKeepsTheZeroVector) {
    EXPECT_EQ(Normalize({0, 0}), (PointF{0, 0}));
    const PointF unit = Normalize({3, -4});
    EXPECT_FLOAT_EQ(unit.x, 0.6f);
    EXPECT_FLOAT_EQ(unit.y, -0.8f);
}

}  // namespace
