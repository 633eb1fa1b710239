#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyXml.h"
#include "engine/scene/BezierCurve.h"
#include "engine/scene/Geometry.h"
#include "engine/scene/Path.h"

namespace {

Ref<BezierCurve> CurveFromXml(const std::string& definition) {
    const std::string document = "<root>" + definition + "</root>";
    Ref<PropertyNode> root(new PropertyNode("root", "Node"));
    EXPECT_TRUE(ReadPropertyXml(document.data(), document.size(), true, *root, "test"));
    Ref<Object> object(ClassFactory::Instance().Create(root->Find("C")));
    return Ref<BezierCurve>(ObjectCast<BezierCurve>(object.Get()));
}

Ref<BezierCurve> Curve(int32_t points, bool closed) {
    Ref<BezierCurve> curve(new BezierCurve);
    for (int32_t i = 0; i < points; ++i) {
        curve->AddPoint(i, static_cast<float>(i * 10), static_cast<float>(i % 2 * 10), 0, 0);
    }
    curve->SetClosed(closed);
    return curve;
}

TEST(BezierCurveTest, SamplesStepsPerSegmentAndTheEndPoint) {
    const struct {
        int32_t points;
        bool closed;
        int32_t samples;
    } cases[] = {{3, false, 21}, {3, true, 31}, {1, false, 0}, {1, true, 0}, {0, false, 0}};
    for (const auto& c : cases) {
        Path path;
        Curve(c.points, c.closed)->SampleToPath(path);
        EXPECT_EQ(path.Count(), c.samples) << c.points << (c.closed ? " closed" : " open");
    }
    Path path;
    Curve(3, true)->SampleToPath(path);
    EXPECT_TRUE(path.IsClosed());
    EXPECT_EQ(path.Point(10), (PointF{10, 10}));
}

TEST(BezierCurveTest, EvaluateRunsFromPointToPointThroughTheHandles) {
    Ref<BezierCurve> curve(new BezierCurve);
    curve->AddPoint(0, 0, 0, 0, -30);  // out handle (0, 30): leaves upward
    curve->AddPoint(1, 100, 0, 0, 30);  // in handle (0, 30): arrives from above
    EXPECT_EQ(curve->Evaluate(0, 0), (PointF{0, 0}));
    EXPECT_EQ(curve->Evaluate(0, 1), (PointF{100, 0}));
    const PointF middle = curve->Evaluate(0, 0.5f);
    EXPECT_FLOAT_EQ(middle.x, 50.0f);
    EXPECT_FLOAT_EQ(middle.y, 22.5f);  // 0.75 of the handle height, rounded half to even in the bounds
    EXPECT_EQ(curve->GetBounds(), (Rect{0, 0, 100, 22}));
}

TEST(BezierCurveTest, AutoTangentsFollowTheLineAndPointAtTheNeighboursAtOpenEnds) {
    Ref<BezierCurve> curve(new BezierCurve);
    curve->AddPoint(0, 0, 0, 0, 0);
    curve->AddPoint(1, 10, 10, 0, 0);
    curve->AddPoint(2, 30, 30, 0, 0);
    curve->SetAutoTangents(-1);
    const float along = 64.0f / std::sqrt(2.0f);
    for (int32_t i = 0; i < 3; ++i) {
        const BezierPoint& p = curve->GetPoint(i);
        // The in handle points back along the line, the out handle forward.
        EXPECT_NEAR(p.inX, -along, 1e-3f) << i;
        EXPECT_NEAR(p.inY, -along, 1e-3f) << i;
        EXPECT_NEAR(p.outX, along, 1e-3f) << i;
        EXPECT_NEAR(p.outY, along, 1e-3f) << i;
    }
}

TEST(BezierCurveTest, NegativeIndicesWrapIntoRange) {
    const Ref<BezierCurve> curve = Curve(3, true);
    const struct {
        int32_t index, wrapped;
    } cases[] = {{0, 0}, {4, 1}, {-1, 2}, {-3, 0}, {-6, 0}, {-7, 2}};
    for (const auto& c : cases) {
        EXPECT_EQ(curve->WrapIndex(c.index), c.wrapped) << c.index;
    }
}

TEST(BezierCurveTest, AddPointAlongLineMeasuresFromTheFirstPoint) {
    Ref<BezierCurve> curve(new BezierCurve);
    const PointF p{0, 0};
    const PointF q{100, 0};
    curve->AddPointAlongLine(p, q, 0.0f, 0.0f, 0.0f, 5.0f, false);
    curve->AddPointAlongLine(p, q, 0.25f, 10.0f, 0.0f, 0.5f, true);
    curve->AddPointAlongLine(p, q, 1.0f, 0.0f, 0.0f, 5.0f, false);
    EXPECT_NEAR(curve->GetPoint(0).x, 0.0f, 1e-4f);
    // The line runs from q back to p (angle pi): sideways is (0, 1) times the offset.
    EXPECT_NEAR(curve->GetPoint(1).x, 25.0f, 1e-4f);
    EXPECT_NEAR(curve->GetPoint(1).y, 10.0f, 1e-4f);
    EXPECT_NEAR(curve->GetPoint(1).inX, -50.0f, 1e-3f);
    EXPECT_NEAR(curve->GetPoint(2).x, 100.0f, 1e-4f);
}

TEST(BezierCurveTest, DefinitionReadsFlagsAndHandles) {
    const Ref<BezierCurve> curve = CurveFromXml(R"(
      <BezierCurve id="C" closed="true" aligned="false" lockedlength="20" steps="4">
        <Vector id="points">
          <Node x="1" y="2" cx="3" cy="4"/>
          <Node x="5" y="6" c0x="7" c1y="8"/>
          <Node x="9" y="0" cx="-1"/>
        </Vector>
      </BezierCurve>)");
    ASSERT_TRUE(curve);
    EXPECT_TRUE(curve->IsClosed());
    EXPECT_FALSE(curve->IsAligned());
    EXPECT_EQ(curve->GetSteps(), 4);
    const struct {
        float x, y, inX, inY, outX, outY;
    } expected[] = {
        {1, 2, 3, 4, -3, -4},
        // Only the named handles change; the rest keep the default tangent (20, 0).
        {5, 6, 7, 0, -20, 8},
        {9, 0, -1, 0, 1, 0},
    };
    ASSERT_EQ(curve->PointCount(), 3);
    for (int32_t i = 0; i < 3; ++i) {
        const BezierPoint& p = curve->GetPoint(i);
        const auto& e = expected[i];
        EXPECT_EQ((std::array{p.x, p.y, p.inX, p.inY, p.outX, p.outY}),
                  (std::array{e.x, e.y, e.inX, e.inY, e.outX, e.outY}))
            << i;
    }
}

TEST(BezierCurveTest, LockedDefinitionIgnoresHandlesAndBoundsItsSteps) {
    const Ref<BezierCurve> curve = CurveFromXml(R"(
      <BezierCurve id="C" locked="true" lockedlength="10" steps="99999999">
        <Vector id="points"><Node x="0" y="0" cx="50"/><Node x="0" y="40"/></Vector>
      </BezierCurve>)");
    ASSERT_TRUE(curve);
    EXPECT_EQ(curve->GetSteps(), BezierCurve::kMaxSteps);
    // The open ends' handles point straight at the neighbour.
    EXPECT_FLOAT_EQ(curve->GetPoint(0).outY, 10.0f);
    EXPECT_FLOAT_EQ(curve->GetPoint(0).inX, 0.0f);
    EXPECT_FLOAT_EQ(curve->GetPoint(1).inY, -10.0f);
}

// Points and handles beyond any screen, or not numbers, are read as the
// nearest distance the path code can turn into pixels.
TEST(BezierCurveTest, DefinitionHoldsPointsAndHandlesToScreenDistances) {
    const Ref<BezierCurve> curve = CurveFromXml(R"(
      <BezierCurve id="C" steps="4">
        <Vector id="points">
          <Node x="4294967296" y="-3e9" c0x="NaN" c1y="1e30"/>
          <Node x="12.5" y="-7"/>
        </Vector>
      </BezierCurve>)");
    ASSERT_TRUE(curve);
    ASSERT_EQ(curve->PointCount(), 2);
    const BezierPoint& far = curve->GetPoint(0);
    EXPECT_EQ((std::array{far.x, far.y, far.inX, far.outY}), (std::array{100000.0f, -100000.0f, 0.0f, 100000.0f}));
    EXPECT_EQ((std::array{curve->GetPoint(1).x, curve->GetPoint(1).y}), (std::array{12.5f, -7.0f}));
}

}  // namespace
