#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "CanvasTestSupport.h"
#include "engine/media/Canvas.h"
#include "engine/media/MemorySurface.h"
#include "engine/media/PixelMath.h"
#include "engine/media/Polygon.h"
#include "engine/media/SoftBlit.h"

using Pixels = std::set<std::pair<int32_t, int32_t>>;

namespace {
struct CanvasFixture : ::testing::Test {
    Ref<MemorySurface> surface = FilledSurface(10, 10, 0x80000000);
    Ref<Canvas> canvas = surface->CreateCanvas();

    void Paint(uint32_t colour, int32_t alpha) {
        canvas->SetColor(Color(colour));
        canvas->SetAlpha(alpha);
    }
    Pixels Changed() const { return ChangedPixels(*surface, 0x80000000); }
};
}  // namespace

TEST_F(CanvasFixture, ClipBlitRectNarrowsEachAxis) {
    struct Case {
        const char* name;
        Rect clip;
        int32_t sourceW, sourceH;
        int32_t x, y, sx, sy, w, h;
        bool draws;
        int32_t ex, ey, esx, esy, ew, eh;
    };
    const Case cases[] = {
        {"inside", {0, 0, 10, 10}, 4, 4, 2, 3, 0, 0, 4, 4, true, 2, 3, 0, 0, 4, 4},
        {"negative source x", {0, 0, 10, 10}, 4, 4, 0, 0, -2, 0, 4, 4, true, 2, 0, 0, 0, 2, 4},
        {"x at surface width", {0, 0, 10, 10}, 4, 4, 10, 0, 0, 0, 4, 4, false, 0, 0, 0, 0, 0, 0},
        {"left of the clip", {5, 0, 5, 10}, 8, 4, 2, 0, 0, 0, 6, 4, true, 5, 0, 3, 0, 3, 4},
        {"source overrun", {0, 0, 10, 10}, 4, 4, 0, 0, 2, 0, 10, 4, true, 0, 0, 2, 0, 2, 4},
        {"off the left edge", {0, 0, 10, 10}, 5, 4, -3, 0, 0, 0, 5, 4, true, 0, 0, 3, 0, 2, 4},
        {"off the right edge", {0, 0, 10, 10}, 4, 4, 8, 0, 0, 0, 4, 4, true, 8, 0, 0, 0, 2, 4},
        {"off the top edge", {0, 0, 10, 10}, 4, 4, 0, -1, 0, 0, 4, 4, true, 0, 0, 0, 1, 4, 3},
        {"off the bottom edge", {0, 0, 10, 10}, 4, 4, 0, 7, 0, 0, 4, 4, true, 0, 7, 0, 0, 4, 3},
        {"y at surface height", {0, 0, 10, 10}, 4, 4, 0, 10, 0, 0, 4, 4, false, 0, 0, 0, 0, 0, 0},
        {"source start past its width", {0, 0, 10, 10}, 5, 4, 0, 0, 5, 0, 3, 4, false, 0, 0, 0, 0, 0, 0},
        {"zero width", {0, 0, 10, 10}, 4, 4, 0, 0, 0, 0, 0, 4, false, 0, 0, 0, 0, 0, 0},
        {"zero height", {0, 0, 10, 10}, 4, 4, 0, 0, 0, 0, 4, 0, false, 0, 0, 0, 0, 0, 0},
        {"empty clip", {3, 3, 0, 0}, 4, 4, 0, 0, 0, 0, 4, 4, false, 0, 0, 0, 0, 0, 0},
        {"below the clip", {0, 0, 10, 5}, 4, 4, 0, 6, 0, 0, 4, 4, false, 0, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        canvas->SetClipRect(c.clip);
        int32_t x = c.x, y = c.y, sx = c.sx, sy = c.sy, w = c.w, h = c.h;
        const bool draws = canvas->ClipBlitRect(c.sourceW, c.sourceH, x, y, sx, sy, w, h);
        EXPECT_EQ(draws, c.draws) << c.name;
        if (draws && c.draws) {
            EXPECT_EQ((Rect{x, y, w, h}), (Rect{c.ex, c.ey, c.ew, c.eh})) << c.name;
            EXPECT_EQ(sx, c.esx) << c.name;
            EXPECT_EQ(sy, c.esy) << c.name;
        }
    }
}

TEST_F(CanvasFixture, AlphaIsClampedAndClipOnlyShrinks) {
    const std::pair<int32_t, int32_t> alphas[] = {{0, 0}, {-5, 0}, {1, 1}, {255, 255}, {300, 255}};
    for (const auto& [given, stored] : alphas) {
        canvas->SetAlpha(given);
        EXPECT_EQ(canvas->GetAlpha(), stored) << given;
    }
    canvas->SetClipRect(-5, -5, 8, 30);
    EXPECT_EQ(canvas->GetClipRect(), (Rect{0, 0, 3, 10}));
    canvas->IntersectClipRect(1, 1, 100, 100);
    EXPECT_EQ(canvas->GetClipRect(), (Rect{1, 1, 2, 9}));
    canvas->SetOrigin(4, 4);  // the clip is in surface coordinates: the origin does not move it
    EXPECT_EQ(canvas->GetClipRect(), (Rect{1, 1, 2, 9}));
    canvas->ResetClipRect();
    EXPECT_EQ(canvas->GetClipRect(), (Rect{0, 0, 10, 10}));
}

TEST_F(CanvasFixture, FillRectClipsAtEveryEdgeAndKeepsAlpha) {
    Paint(0xABCDEF, 255);
    canvas->SetClipRect(2, 2, 6, 6);
    canvas->FillRect(-3, -3, 6, 100);  // left and top cut by the clip
    canvas->FillRect(6, 6, 50, 50);    // right and bottom
    canvas->FillRect(4, 4, 0, 3);      // zero-sized
    canvas->FillRect(4, 4, 3, -1);
    Pixels expected;
    for (int32_t y = 2; y < 8; ++y) {
        expected.insert({2, y});
    }
    for (int32_t y = 6; y < 8; ++y) {
        for (int32_t x = 6; x < 8; ++x) {
            expected.insert({x, y});
        }
    }
    EXPECT_EQ(Changed(), expected);
    EXPECT_EQ(PixelAt(*surface, 2, 2), 0x80ABCDEFu);
}

TEST_F(CanvasFixture, FillRectWithOriginBlendsAndSkipsAtZeroAlpha) {
    Paint(0xFFFFFF, 0);
    canvas->FillRect(0, 0, 10, 10);
    EXPECT_TRUE(Changed().empty());
    Paint(0xFFFFFF, 128);
    canvas->SetOrigin(8, 9);
    canvas->FillRect(0, 0, 5, 5);
    EXPECT_EQ(Changed(), (Pixels{{8, 9}, {9, 9}}));
    EXPECT_EQ(PixelAt(*surface, 9, 9), 0x807F7F7Fu);
}

TEST_F(CanvasFixture, DrawRectWithThinSides) {
    Paint(0xFFFFFF, 255);
    canvas->DrawRect(1, 1, 4, 1);  // h = 1: top and bottom on one row, sides of height -1
    EXPECT_EQ(Changed(), (Pixels{{1, 1}, {2, 1}, {3, 1}, {4, 1}}));
    canvas->DrawRect(7, 2, 1, 3);  // w = 1: one column
    EXPECT_EQ(Changed().size(), 7u);
    EXPECT_TRUE(Changed().contains({7, 3}));
}

TEST_F(CanvasFixture, HorizontalLineOnlyAtFullAlphaWithBothEndsInside) {
    Paint(0x00FF00, 254);
    canvas->DrawHLine(1, 5, 1);
    EXPECT_TRUE(Changed().empty());
    canvas->SetAlpha(255);
    canvas->DrawHLine(5, 1, 1);  // x2 <= x1
    canvas->DrawHLine(1, 10, 1);  // x2 outside the clip
    EXPECT_TRUE(Changed().empty());
    canvas->DrawHLine(1, 4, 1);
    EXPECT_EQ(Changed(), (Pixels{{1, 1}, {2, 1}, {3, 1}}));
    EXPECT_EQ(PixelAt(*surface, 1, 1), 0x8000FF00u);
}

TEST_F(CanvasFixture, BresenhamLines) {
    struct Case {
        const char* name;
        int32_t x1, y1, x2, y2;
        Pixels expected;
    };
    const Case cases[] = {
        {"shallow", 0, 0, 5, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}}},
        {"steep", 0, 0, 2, 5, {{0, 0}, {0, 1}, {1, 2}, {1, 3}, {2, 4}, {2, 5}}},
        {"tie goes along x", 0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        {"backwards", 5, 2, 0, 0, {{5, 2}, {4, 2}, {3, 1}, {2, 1}, {1, 0}, {0, 0}}},
        {"single point", 4, 4, 4, 4, {{4, 4}}},
    };
    Paint(0xFFFFFF, 255);
    for (const Case& c : cases) {
        std::fill_n(surface->Pixels32(), 100, 0x80000000u);
        canvas->DrawLine(c.x1, c.y1, c.x2, c.y2);
        EXPECT_EQ(Changed(), c.expected) << c.name;
    }
}

TEST_F(CanvasFixture, LinesNeedBothEndsInsideTheClip) {
    Paint(0xFFFFFF, 255);
    canvas->DrawLine(0, 0, 10, 0);
    canvas->DrawChannelLine(kAlpha, 0, 2, 2, 2, -1);
    canvas->DrawSmoothLine(1.0f, 1.0f, 9.6f, 5.0f);  // 9.6 rounds to 10
    EXPECT_TRUE(Changed().empty());
    canvas->DrawChannelLine(kRed, 0x1FF, PointF{1.4f, 1.0f}, PointF{1.0f, 2.6f});
    EXPECT_EQ(Changed(), (Pixels{{1, 1}, {1, 2}, {1, 3}}));
    EXPECT_EQ(PixelAt(*surface, 1, 2), 0x80FF0000u);
}

TEST_F(CanvasFixture, SmoothLineSplitsCoverageAndSkipsRowZero) {
    Paint(0xFFFFFF, 100);  // the canvas alpha does not weight these lines
    canvas->DrawSmoothLine(1.0f, 2.0f, 5.0f, 2.0f);
    // The minor position starts one gradient step in (0 here): whole pixels on row 2.
    for (int32_t x = 1; x <= 5; ++x) {
        EXPECT_EQ(PixelAt(*surface, x, 2), 0x80FFFFFFu) << x;
    }
    std::fill_n(surface->Pixels32(), 100, 0x80000000u);
    canvas->DrawSmoothLine(0.0f, 0.5f, 4.0f, 0.5f);  // row 0 and column 0 are never drawn
    EXPECT_TRUE(Changed().empty());
    canvas->DrawSmoothLine(1.0f, 3.5f, 3.0f, 3.5f);
    EXPECT_EQ(PixelAt(*surface, 2, 3), 0x807E7E7Eu);  // weight trunc(0.5 x 255) = 127
    EXPECT_EQ(PixelAt(*surface, 2, 4), 0x807E7E7Eu);
}

TEST_F(CanvasFixture, PolylineDrawsOpenSegments) {
    Paint(0xFFFFFF, 255);
    Polygon polygon;
    polygon.points = {{2.0f, 2.0f}};
    canvas->DrawPolyline(polygon, true);
    EXPECT_TRUE(Changed().empty());
    polygon.points = {{2.0f, 2.0f}, {2.0f, 5.0f}, {4.0f, 5.0f}};
    canvas->DrawPolyline(polygon, true);  // vertical and horizontal segments take the integer line
    EXPECT_EQ(Changed(), (Pixels{{2, 2}, {2, 3}, {2, 4}, {2, 5}, {3, 5}, {4, 5}}));
    EXPECT_EQ(PixelAt(*surface, 3, 5), 0x80FFFFFFu);
}

TEST_F(CanvasFixture, PixelsAndChannelsWithOriginAndClip) {
    Paint(0x102030, 255);
    canvas->SetOrigin(2, 3);
    canvas->SetPixel(1, 1);
    canvas->SetPixel(8, 0);  // (10, 3): outside
    EXPECT_EQ(Changed(), (Pixels{{3, 4}}));
    EXPECT_EQ(PixelAt(*surface, 3, 4), 0x80102030u);
    canvas->SetAlpha(0);
    canvas->SetChannelPixel(kAlpha, 0x7F, 1, 1);  // channels ignore alpha
    EXPECT_EQ(PixelAt(*surface, 3, 4), 0x7F102030u);
    canvas->FillChannelRect(kBlue, 0xEE);
    EXPECT_EQ(PixelAt(*surface, 9, 9), 0x800000EEu);  // moved by the origin, clipped to the surface
    EXPECT_EQ(PixelAt(*surface, 1, 1), 0x80000000u);
}

namespace {
Ref<MemorySurface> NumberedPicture(int32_t width, int32_t height) {
    Ref<MemorySurface> picture(new MemorySurface(width, height));
    for (int32_t i = 0; i < width * height; ++i) {
        picture->Pixels32()[i] = 0xFF000000u | static_cast<uint32_t>(0x010203 * (i + 1));
    }
    picture->SetUseAlphaChannel(false);
    return picture;
}
}  // namespace

TEST_F(CanvasFixture, RotateScaleAtZeroAngleAndUnitScaleReproducesTheSource) {
    const Ref<MemorySurface> picture = NumberedPicture(4, 3);
    canvas->RotateScaleBlit(*picture, 0.0, 1.0, 2, 1, 0, 0, 4, 3, 1, 1);
    for (int32_t y = 0; y < 3; ++y) {
        for (int32_t x = 0; x < 4; ++x) {
            EXPECT_EQ(PixelAt(*surface, 2 + x, 1 + y), KeepAlpha(0x80000000, PixelAt(*picture, x, y)));
        }
    }
    EXPECT_EQ(Changed().size(), 12u);
}

TEST_F(CanvasFixture, RotateScaleTooSmallOrTransparentDrawsNothing) {
    const Ref<MemorySurface> picture = NumberedPicture(4, 3);
    canvas->RotateScaleBlit(*picture, 0.3, 0.00005, 2, 1, 0, 0, 4, 3, 0, 0);
    canvas->RotateScaleBlit(*picture, 0.3, -0.0001, 2, 1, 0, 0, 4, 3, 0, 0);
    canvas->SetAlpha(0);
    canvas->RotateScaleBlit(*picture, 0.0, 1.0, 2, 1, 0, 0, 4, 3, 0, 0);
    EXPECT_TRUE(Changed().empty());
}

// Whole turns about the centre draw every pixel once, into the turned box.
TEST_F(CanvasFixture, QuarterAndHalfTurnsDrawEveryPixel) {
    enum Turn { kQuarter = 1, kHalf = 2, kThreeQuarters = 3 };
    struct Case {
        int32_t width, height;
        Turn turn;
        bool smooth;
    };
    const Case cases[] = {{4, 4, kQuarter, false}, {4, 4, kHalf, false},         {3, 5, kQuarter, false},
                          {3, 5, kHalf, false},    {3, 5, kThreeQuarters, false}, {4, 4, kQuarter, true},
                          {3, 5, kHalf, true}};
    for (const Case& c : cases) {
        std::fill_n(surface->Pixels32(), 100, 0x80000000u);
        const Ref<MemorySurface> picture = NumberedPicture(c.width, c.height);
        const double angle = c.turn * std::numbers::pi / 2;
        if (c.smooth) {
            canvas->RotateScaleBlitSmooth(*picture, angle, 1.0, 3, 3, 0, 0, c.width, c.height, c.width / 2,
                                          c.height / 2);
        } else {
            canvas->RotateScaleBlit(*picture, angle, 1.0, 3, 3, 0, 0, c.width, c.height, c.width / 2,
                                    c.height / 2);
        }
        const std::string name = std::to_string(c.width) + "x" + std::to_string(c.height) + " turn " +
                                 std::to_string(c.turn) + (c.smooth ? " smooth" : "");
        const Pixels changed = Changed();
        ASSERT_EQ(changed.size(), static_cast<size_t>(c.width * c.height)) << name;
        int32_t left = 10, top = 10;
        for (const auto& [x, y] : changed) {
            left = std::min(left, x);
            top = std::min(top, y);
        }
        const bool swapped = c.turn != kHalf;
        const int32_t boxWidth = swapped ? c.height : c.width;
        const int32_t boxHeight = swapped ? c.width : c.height;
        for (int32_t dy = 0; dy < boxHeight; ++dy) {
            for (int32_t dx = 0; dx < boxWidth; ++dx) {
                // Clockwise on screen: a quarter turn takes the top row to the right column.
                const int32_t sx = c.turn == kQuarter ? dy : c.turn == kHalf ? c.width - 1 - dx : c.width - 1 - dy;
                const int32_t sy = c.turn == kQuarter ? c.height - 1 - dx : c.turn == kHalf ? c.height - 1 - dy : dx;
                EXPECT_EQ(PixelAt(*surface, left + dx, top + dy), KeepAlpha(0x80000000, PixelAt(*picture, sx, sy)))
                    << name << " at " << dx << "," << dy;
            }
        }
    }
}

TEST_F(CanvasFixture, SmoothRotationInterpolatesBetweenPixels) {
    Ref<MemorySurface> picture = FilledSurface(3, 2, 0xFF000000);
    picture->Pixels32()[1] = 0xFF0000FF;
    picture->Pixels32()[4] = 0xFF0000FF;
    picture->SetUseAlphaChannel(false);
    // At scale 2 the centres of destination pixels 1 to 4 (on a row inside
    // the picture) lie a quarter or three quarters of the way between the
    // source pixels' centres: the blue column spreads evenly to both sides.
    canvas->RotateScaleBlitSmooth(*picture, 0.0, 2.0, 0, 0, 0, 0, 3, 2, 0, 0);
    const uint32_t expected[] = {0x00, 0x3F, 0xBF, 0xBF, 0x3F, 0x00};
    for (int32_t x = 0; x < 6; ++x) {
        EXPECT_EQ(PixelAt(*surface, x, 2) & 0xFF, expected[x]) << x;
    }
}

TEST_F(CanvasFixture, ScaleBlitOneToOneAndDoubled) {
    const Ref<MemorySurface> picture = NumberedPicture(3, 2);
    canvas->ScaleBlit(*picture, 0, 0, 3, 2, 1, 1, 3, 2);
    for (int32_t y = 0; y < 2; ++y) {
        for (int32_t x = 0; x < 3; ++x) {
            EXPECT_EQ(PixelAt(*surface, 1 + x, 1 + y), KeepAlpha(0x80000000, PixelAt(*picture, x, y)));
        }
    }
    std::fill_n(surface->Pixels32(), 100, 0x80000000u);
    canvas->SetClipRect(0, 0, 5, 10);
    canvas->ScaleBlit(*picture, 0, 0, 3, 2, 0, 0, 6, 4);  // doubled, right column clipped
    EXPECT_EQ(PixelAt(*surface, 4, 3), KeepAlpha(0x80000000, PixelAt(*picture, 2, 1)));
    EXPECT_EQ(PixelAt(*surface, 5, 0), 0x80000000u);
    canvas->ScaleBlit(*picture, 0, 0, 3, 2, -7, 0, 6, 4);  // entirely left of the surface
    canvas->ScaleBlit(*picture, 0, 0, 3, 2, 0, 0, 0, 4);
    EXPECT_EQ(Changed().size(), 20u);
}

TEST(SoftBlit, StraightBlitsAndTheAlphaByte) {
    Ref<MemorySurface> source = FilledSurface(2, 1, 0x80FFFFFF);
    source->Pixels32()[1] = 0x00FFFFFF;
    struct Case {
        const char* name;
        void (*blit)(Surface&, Surface&);
        uint32_t first, second;
    };
    const Case cases[] = {
        {"copy takes the alpha byte", [](Surface& s, Surface& d) { SoftBlit::BlitCopy(s, d, 0, 0, 2, 1, 0, 0); },
         0x80FFFFFF, 0x00FFFFFF},
        {"source alpha", [](Surface& s, Surface& d) { SoftBlit::BlitSourceAlpha(s, d, 0, 0, 2, 1, 0, 0); },
         0x117F7F7F, 0x11000000},
        {"constant alpha", [](Surface& s, Surface& d) { SoftBlit::BlitConstantAlpha(s, d, 0, 0, 2, 1, 0, 0, 64); },
         0x113F3F3F, 0x113F3F3F},
        {"combined alpha", [](Surface& s, Surface& d) { SoftBlit::BlitCombinedAlpha(s, d, 0, 0, 2, 1, 0, 0, 128); },
         0x113F3F3F, 0x11000000},
    };
    for (const Case& c : cases) {
        Ref<MemorySurface> destination = FilledSurface(2, 1, 0x11000000);
        c.blit(*source, *destination);
        EXPECT_EQ(PixelAt(*destination, 0, 0), c.first) << c.name;
        EXPECT_EQ(PixelAt(*destination, 1, 0), c.second) << c.name;
    }
}

TEST(SoftBlit, RectCopyStepsByWidth) {
    Ref<MemorySurface> source = NumberedPicture(3, 3);
    Ref<MemorySurface> destination = FilledSurface(4, 4, 0);
    SoftBlit::CopySurfaceRect32(*source, *destination, 1, 1, 2, 2, 2, 2);
    EXPECT_EQ(PixelAt(*destination, 2, 2), PixelAt(*source, 1, 1));
    EXPECT_EQ(PixelAt(*destination, 3, 3), PixelAt(*source, 2, 2));
    EXPECT_EQ(PixelAt(*destination, 1, 2), 0u);
}
