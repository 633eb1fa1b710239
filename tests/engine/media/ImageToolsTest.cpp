#include <gtest/gtest.h>

#include <vector>

#include "CanvasTestSupport.h"
#include "engine/media/AlphaMemorySurface.h"
#include "engine/media/ChannelMap.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"

TEST(ImageTools, FactoriesCloneAndConvert) {
    const Ref<MemorySurface> picture = CreateMemorySurface(3, 2);
    EXPECT_EQ(picture->GetPitch(), 12);
    EXPECT_EQ(picture->GetPixelFormat(), Format32());
    for (uint32_t i = 0; i < 6; ++i) {
        picture->Pixels32()[i] = 0x80FFFFFF - i;
    }
    picture->SetFrameCount(3);
    picture->SetUseAlphaChannel(false);
    const Ref<MemorySurface> clone = CloneSurface(*picture);
    EXPECT_EQ(std::vector<uint32_t>(clone->Pixels32(), clone->Pixels32() + 6),
              std::vector<uint32_t>(picture->Pixels32(), picture->Pixels32() + 6));
    EXPECT_EQ(clone->GetFrameCount(), 3u);
    EXPECT_FALSE(clone->UsesAlphaChannel());

    const Ref<AlphaMemorySurface> packed = ConvertToAlphaMemorySurface(*picture);
    EXPECT_EQ(packed->GetPitch(), 6);
    EXPECT_EQ(packed->GetFrameCount(), 3u);
    EXPECT_FALSE(packed->UsesAlphaChannel());
    EXPECT_EQ(packed->Pixels16()[0], 0xFFFF);
    EXPECT_EQ(packed->GetAlphaBuffer()[5], 0x80);
    picture->Pixels32()[0] = 0x12808080;
    ConvertIntoAlphaMemorySurface(*picture, *packed);
    EXPECT_EQ(packed->Pixels16()[0], 0x8410);
    EXPECT_EQ(packed->GetAlphaBuffer()[0], 0x12);
}

TEST(ImageTools, ExtractChannelMapTakesOneByte) {
    const Ref<MemorySurface> picture = FilledSurface(2, 1, 0x11223344);
    const std::pair<int32_t, uint8_t> cases[] = {{0, 0x11}, {1, 0x22}, {2, 0x33}, {3, 0x44}, {5, 0x11}, {-1, 0x11}};
    for (const auto& [channel, expected] : cases) {
        const Ref<ChannelMap> map = ExtractChannelMap(*picture, channel);
        EXPECT_EQ(map->GetWidth(), 2);
        EXPECT_EQ(map->GetBytes()[1], expected) << channel;
    }
}

TEST(ImageTools, DrawImageCenteredLowersAlphaOnlyWhereItOverlaps) {
    const Ref<MemorySurface> target = FilledSurface(4, 4, 0xC0ABCDEF);
    const Ref<MemorySurface> source = FilledSurface(6, 6, 0x40000000);
    source->Pixels32()[0] = 0xFF000000;  // higher than the target: never raises it
    const Ref<MemorySurface> display = FilledSurface(1, 1, 0);
    const Ref<Canvas> displayCanvas = display->CreateCanvas();
    DrawImageCentered(*displayCanvas, *target, *source, 4, 4);  // source spans (1,1)..(6,6)
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 4; ++x) {
            const bool lowered = x >= 1 && y >= 1 && !(x == 1 && y == 1);  // (1,1) meets the opaque corner
            const uint32_t expected = lowered ? 0x40ABCDEF : 0xC0ABCDEF;
            EXPECT_EQ(PixelAt(*target, x, y), expected) << x << "," << y;
        }
    }
}

TEST(ImageTools, AlphaStampNeverRaisesAlphaNorWrites210OrMore) {
    const Ref<MemorySurface> source(new MemorySurface(9, 7));
    for (uint32_t i = 0; i < 63; ++i) {
        source->Pixels32()[i] = ((i * 53) % 256) << 24;
    }
    for (double scale : {0.5, 1.0, 1.3, 2.5}) {
        const Ref<MemorySurface> target(new MemorySurface(16, 16));
        for (uint32_t i = 0; i < 256; ++i) {
            target->Pixels32()[i] = ((i * 97) % 256) << 24 | 0x123456;
        }
        const std::vector<uint32_t> before(target->Pixels32(), target->Pixels32() + 256);
        AlphaStamp(*source, *target, Rect{0, 0, 16, 16}, 2, 3, 0.0, scale, 0, 0, true);
        size_t changed = 0;
        for (size_t i = 0; i < 256; ++i) {
            const uint32_t now = target->Pixels32()[i];
            EXPECT_LE(now >> 24, before[i] >> 24);
            EXPECT_EQ(now & 0xFFFFFF, 0x123456u);
            if (now != before[i]) {
                ++changed;
                EXPECT_LT(now >> 24, 210u);
            }
        }
        EXPECT_GT(changed, 0u) << scale;
    }
    // Without smoothing nothing is stamped.
    const Ref<MemorySurface> target = FilledSurface(4, 4, 0xFF000000);
    AlphaStamp(*source, *target, Rect{0, 0, 4, 4}, 0, 0, 0.0, 1.0, 0, 0, false);
    EXPECT_TRUE(ChangedPixels(*target, 0xFF000000).empty());
}

// At angle 0 target pixel (tx, ty) samples the source at ((tx - x) / scale,
// (ty - y) / scale): at scale 2 the even columns take a source column whole,
// the odd ones half of each neighbour; the last source column and row are
// never sampled.
TEST(ImageTools, AlphaStampSamplesTheSourceAtTheScaledOffset) {
    const Ref<MemorySurface> source(new MemorySurface(3, 3));
    const uint32_t row[] = {40u << 24, 20u << 24, 0};
    for (int32_t y = 0; y < 3; ++y) {
        std::copy(std::begin(row), std::end(row), source->Pixels32() + y * 3);
    }
    const Ref<MemorySurface> target = FilledSurface(8, 8, 0xFF000000);
    AlphaStamp(*source, *target, Rect{0, 0, 8, 8}, 1, 1, 0.0, 2.0, 0, 0, true);
    const uint32_t stamped[] = {255, 40, 30, 20, 10, 255, 255, 255};
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 8; ++x) {
            const uint32_t expected = y >= 1 && y <= 4 ? stamped[x] : 255;
            EXPECT_EQ(PixelAt(*target, x, y) >> 24, expected) << x << ", " << y;
        }
    }
}

TEST(ImageTools, DrawImageScaledStampsAtIntegerPositions) {
    const Ref<MemorySurface> source = FilledSurface(3, 3, 0x20000000);
    const Ref<MemorySurface> target = FilledSurface(8, 8, 0xFF000000);
    const Ref<MemorySurface> display = FilledSurface(1, 1, 0);
    DrawImageScaled(*display->CreateCanvas(), *target, *source, 4, 4, 1.0);
    // Placed at (4 - 1, 4 - 1); only source positions off its last row and column are sampled.
    EXPECT_EQ(ChangedPixels(*target, 0xFF000000),
              (std::set<std::pair<int32_t, int32_t>>{{3, 3}, {4, 3}, {3, 4}, {4, 4}}));
    EXPECT_EQ(PixelAt(*target, 3, 3), 0x20000000u);
}

TEST(ImageTools, AddRotatedFramesTurnsEachFrameClockwise) {
    // Two 2 x 2 frames: a b / c d and e f / g h.
    const Ref<MemorySurface> strip(new MemorySurface(2, 4));
    const uint32_t a = 1, b = 2, c = 3, d = 4, e = 5, f = 6, g = 7, h = 8;
    const uint32_t pixels[] = {a, b, c, d, e, f, g, h};
    std::copy(std::begin(pixels), std::end(pixels), strip->Pixels32());
    const Ref<MemorySurface> turned = AddRotatedFrames(*strip);
    ASSERT_TRUE(turned);
    EXPECT_EQ(turned->GetHeight(), 16);
    EXPECT_EQ(turned->GetHeight() / turned->GetWidth(), 8);
    const std::vector<uint32_t> expected = {
        a, b, c, d, e, f, g, h,  // as given
        c, a, d, b, g, e, h, f,  // a quarter turn
        d, c, b, a, h, g, f, e,  // a half turn
        b, d, a, c, f, h, e, g,  // three quarters
    };
    EXPECT_EQ(std::vector<uint32_t>(turned->Pixels32(), turned->Pixels32() + 32), expected);
    const Ref<MemorySurface> empty(new MemorySurface(0, 4));
    EXPECT_FALSE(AddRotatedFrames(*empty));
}

TEST(ImageTools, InvertImageAlphaOnEitherDisplayDepth) {
    const Ref<MemorySurface> picture = FilledSurface(3, 1, 0x10ABCDEF);
    InvertImageAlpha(*picture);
    EXPECT_EQ(PixelAt(*picture, 2, 0), 0xEFABCDEFu);
    const Ref<AlphaMemorySurface> display16(new AlphaMemorySurface(1, 1));
    display16->CreateCanvas()->PrepareSurface(*picture);
    InvertImageAlpha(*picture);
    const auto* copy = static_cast<AlphaMemorySurface*>(picture->GetDisplayCopy());
    EXPECT_EQ(copy->GetAlphaBuffer()[0], 0x10);
    EXPECT_EQ(PixelAt(*picture, 0, 0), 0xEFABCDEFu);  // the 32-bit picture is left alone
}
