#include <gtest/gtest.h>

#include <initializer_list>
#include <limits>

#include "engine/scene/Geometry.h"
#include "engine/scene/Path.h"

namespace {

Ref<Path> MakePath(std::initializer_list<PointF> points) {
    Ref<Path> path(new Path);
    for (const PointF& p : points) {
        path->Append(p);
    }
    path->UpdateBounds();
    return path;
}

// A 10 x 10 square walked clockwise from the origin, closed.
Ref<Path> Square() {
    return MakePath({{0, 0}, {10, 0}, {10, 10}, {0, 10}, {0, 0}});
}

TEST(PathTest, ClosedWhenTheLastPointRepeatsTheFirst) {
    EXPECT_TRUE(Square()->IsClosed());
    EXPECT_TRUE(MakePath({{0, 0}, {5, 0}, {0.0005f, -0.001f}})->IsClosed());
    EXPECT_FALSE(MakePath({{0, 0}, {5, 0}, {0.002f, 0}})->IsClosed());
    EXPECT_DOUBLE_EQ(Square()->GetLength(), 40.0);
    EXPECT_DOUBLE_EQ(MakePath({{1, 1}})->GetLength(), 0.0);
}

TEST(PathTest, BoundsAreRoundedMinimaAndMaxima) {
    EXPECT_EQ(MakePath({{0.4f, -2.6f}, {10.6f, 3.2f}})->Bounds(), (Rect{0, -3, 11, 6}));
    EXPECT_EQ(MakePath({})->Bounds(), (Rect{INT32_MIN, INT32_MIN, 0, 0}));
}

TEST(PathTest, PointAtDistanceWalksTheSegments) {
    const Ref<Path> open = MakePath({{0, 0}, {10, 0}, {10, 10}});
    const Ref<Path> square = Square();
    const struct {
        const Path* path;
        float distance;
        PointF point;
        int32_t index;
    } cases[] = {
        {open.Get(), -5, {0, 0}, 0},
        {open.Get(), 0, {0, 0}, 0},
        {open.Get(), 4, {4, 0}, 0},
        {open.Get(), 10, {10, 0}, 0},
        {open.Get(), 15, {10, 5}, 1},
        // An open path stops at its last point instead of running back to the first.
        {open.Get(), 25, {10, 10}, 2},
        {open.Get(), std::numeric_limits<float>::infinity(), {10, 10}, 2},
        // A closed path goes round again.
        {square.Get(), 35, {0, 5}, 3},
        {square.Get(), 45, {5, 0}, 0},
        {square.Get(), 4e9f, {0, 0}, 3},
    };
    for (const auto& c : cases) {
        PointF point;
        EXPECT_EQ(c.path->GetPointAtDistance(c.distance, point), c.index) << c.distance;
        EXPECT_NEAR(point.x, c.point.x, 1e-4f) << c.distance;
        EXPECT_NEAR(point.y, c.point.y, 1e-4f) << c.distance;
    }
}

TEST(PathTest, PointAtDistanceEndsOnPathsWithoutLength) {
    for (const Ref<Path>& path : {MakePath({{3, 4}, {3, 4}, {3, 4}}), MakePath({{3, 4}, {3, 4}, {3, 4}, {3, 4}}),
                                  MakePath({{3, 4}}), MakePath({})}) {
        PointF point{-1, -1};
        path->GetPointAtDistance(12.5f, point);
        EXPECT_EQ(point, (path->Count() > 0 ? PointF{3, 4} : PointF{})) << path->Count();
    }
}

TEST(PathTest, ReversedHoldsThePointsLastToFirst) {
    const Ref<Path> reversed = MakePath({{0, 0}, {10, 0}, {10, 10}})->Reversed();
    ASSERT_EQ(reversed->Count(), 3);
    EXPECT_EQ(reversed->Point(0), (PointF{10, 10}));
    EXPECT_EQ(reversed->Point(2), (PointF{0, 0}));
    EXPECT_EQ(reversed->Bounds(), (Rect{0, 0, 10, 10}));
}

TEST(PathTest, SmoothedPassesThroughThePointsWithStepsPlusOneSamplesPerSegment) {
    const Ref<Path> zigzag = MakePath({{0, 0}, {10, 10}, {20, 0}, {30, 10}});
    const Ref<Path> smooth = zigzag->Smoothed(-3, 99, 4, false);
    ASSERT_EQ(smooth->Count(), 3 * 5);
    for (int32_t segment = 0; segment < 3; ++segment) {
        EXPECT_EQ(smooth->Point(segment * 5), zigzag->Point(segment));
        EXPECT_EQ(smooth->Point(segment * 5 + 4), zigzag->Point(segment + 1));
    }
    // The tangent at a peak is the difference of its neighbours, flat here, so
    // the curve lingers near the peak: 10 - 10 * smoothstep(0.25).
    EXPECT_FLOAT_EQ(smooth->Point(6).y, 8.4375f);

    // Flat ends leave the first segment along its chord at the start:
    // the Hermite start slope is 0, so the first sample barely moves.
    const Ref<Path> flat = zigzag->Smoothed(0, 1, 10, true);
    ASSERT_EQ(flat->Count(), 11);
    EXPECT_NEAR(flat->Point(5).x, 5.0f, 1e-4f);
    EXPECT_LT(flat->Point(1).x, 0.5f);
    EXPECT_EQ(zigzag->Smoothed(2, 1, 4, false)->Count(), 0);
    EXPECT_EQ(zigzag->Smoothed(0, 1, 0, false)->Count(), 2);
}

}  // namespace
