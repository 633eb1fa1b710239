#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "CanvasTestSupport.h"
#include "engine/media/Canvas.h"
#include "engine/media/Polygon.h"

namespace {
struct PolygonFixture : ::testing::Test {
    Ref<MemorySurface> surface = FilledSurface(32, 32, 0xFF000000);
    Ref<Canvas> canvas = surface->CreateCanvas();

    PolygonFixture() { canvas->SetColor(Color(0xFFFFFF)); }
    bool Filled(int32_t x, int32_t y) const { return PixelAt(*surface, x, y) == 0xFFFFFFFFu; }
};

Polygon Square(float left, float top, float right, float bottom) {
    return Polygon{{{left, top}, {right, top}, {right, bottom}, {left, bottom}}};
}
}  // namespace

TEST_F(PolygonFixture, VerticalEdgesFillTheColumnsBetweenThem) {
    canvas->FillPolygon(Square(10.0f, 4.0f, 20.0f, 8.0f), false);
    for (int32_t x = 0; x < 32; ++x) {
        EXPECT_EQ(Filled(x, 5), x >= 10 && x <= 19) << x;
    }
    // Rows whose centres lie strictly inside 4..8: 4, 5, 6 and 7.
    for (int32_t y = 0; y < 32; ++y) {
        EXPECT_EQ(Filled(12, y), y >= 4 && y <= 7) << y;
    }
}

TEST_F(PolygonFixture, SelfIntersectingFiguresFollowTheEvenOddRule) {
    Polygon star;
    for (int i = 0; i < 5; ++i) {
        const double angle = -std::numbers::pi / 2 + i * 4 * std::numbers::pi / 5;
        star.points.push_back({static_cast<float>(16 + 14 * std::cos(angle)), static_cast<float>(16 + 14 * std::sin(angle))});
    }
    canvas->FillPolygon(star, false);
    EXPECT_FALSE(Filled(16, 16));  // the centre pentagon is covered twice
    EXPECT_TRUE(Filled(16, 5));    // the top point once
}

TEST_F(PolygonFixture, FiguresWithoutThreeRowsDrawNothing) {
    canvas->FillPolygon(Polygon{{{2.0f, 3.0f}, {20.0f, 3.0f}, {25.0f, 3.2f}}}, true);
    canvas->FillPolygon(Polygon{{{2.0f, 3.0f}, {20.0f, 9.0f}}}, true);
    canvas->FillPolygon(Polygon{{{2.0f, NAN}, {20.0f, 9.0f}, {4.0f, 20.0f}}}, true);
    EXPECT_TRUE(ChangedPixels(*surface, 0xFF000000).empty());
}

TEST_F(PolygonFixture, HalfCoveredEdgePixelsScaleTheCanvasAlpha) {
    canvas->SetAlpha(128);
    canvas->FillPolygon(Square(10.5f, 4.0f, 20.0f, 8.0f), true);
    // Column 10 is half covered (coverage 127): alpha trunc(128 x 127 / 255) = 63.
    EXPECT_EQ(PixelAt(*surface, 10, 5), 0xFF3E3E3Eu);
    EXPECT_EQ(PixelAt(*surface, 12, 5), 0xFF7F7F7Fu);  // full coverage at the canvas alpha
    EXPECT_EQ(canvas->GetAlpha(), 128);
}

TEST_F(PolygonFixture, FiguresReachingOffTheSurfaceAreClamped) {
    canvas->FillPolygon(Polygon{{{-40.0f, -40.0f}, {80.0f, -10.0f}, {50.0f, 90.0f}, {-30.0f, 60.0f}}}, true);
    EXPECT_TRUE(Filled(0, 0));
    EXPECT_TRUE(Filled(31, 31));
    canvas->FillPolygon(Polygon{{{1e30f, 1e30f}, {-1e30f, 2.0f}, {3.0f, -1e30f}}}, true);
}

TEST_F(PolygonFixture, ChannelOutputWritesScaledValuesAndMarksTheSurfaceDirty) {
    canvas->SetOrigin(5, 5);  // the channel output ignores the origin
    canvas->FillPolygon(kAlpha, 0x80, Square(10.5f, 4.0f, 20.0f, 8.0f), true);
    EXPECT_EQ(PixelAt(*surface, 12, 5), 0x80000000u);
    EXPECT_EQ(PixelAt(*surface, 10, 5), 0x3F000000u);  // trunc(128 x 127 / 255)
    EXPECT_EQ(PixelAt(*surface, 25, 5), 0xFF000000u);
    EXPECT_TRUE(surface->IsDirty());
}
