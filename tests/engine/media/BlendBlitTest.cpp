#include <gtest/gtest.h>

#include "CanvasTestSupport.h"
#include "engine/media/AlphaMemorySurface.h"
#include "engine/media/BlendBlit.h"

namespace {

uint32_t Grey(uint32_t alpha, uint32_t level) {
    return alpha << 24 | level * 0x010101u;
}

}  // namespace

TEST(BlendBlit, EveryModeMovesTowardsItsTargetAndClampsAfterwards) {
    // One channel value s over d, repeated in all three colour channels. The
    // weight is (source alpha x alpha) >> 8: 254 for an opaque source at 255.
    struct Case {
        const char* what;
        int32_t mode;
        uint32_t s;
        uint32_t d;
        uint32_t sourceAlpha;
        int32_t alpha;
        uint32_t expected;
    };
    const Case cases[] = {
        {"alpha stops one short", kBlendAlpha, 200, 100, 255, 255, 199},
        {"alpha at half weight", kBlendAlpha, 255, 0, 128, 255, 126},
        {"additive saturates", kBlendAdditive, 100, 200, 255, 255, 255},
        {"additive is not interpolated", kBlendAdditive, 10, 20, 255, 255, 29},
        {"substractive below 0 clamps", kBlendSubtractive, 100, 50, 255, 255, 0},
        {"substractive", kBlendSubtractive, 200, 200, 255, 255, 145},
        {"multiply by white is d - 1", kBlendMultiply, 255, 200, 255, 255, 199},
        {"multiply", kBlendMultiply, 128, 100, 255, 255, 50},
        {"screen", kBlendScreen, 100, 50, 255, 255, 130},
        {"darken equal", kBlendDarken, 90, 90, 255, 255, 90},
        {"darken", kBlendDarken, 50, 90, 255, 255, 50},
        {"darken keeps darker", kBlendDarken, 90, 50, 255, 255, 50},
        {"lighten equal", kBlendLighten, 90, 90, 255, 255, 90},
        {"lighten", kBlendLighten, 90, 50, 255, 255, 89},
        {"burn of black leaves d", kBlendBurn, 0, 77, 255, 255, 77},
        {"burn far below 0 clamps", kBlendBurn, 1, 0, 255, 255, 0},
        {"burn divides toward zero", kBlendBurn, 100, 200, 255, 255, 115},
        {"burn", kBlendBurn, 128, 200, 255, 255, 145},
        {"invburn over black leaves d", kBlendInverseBurn, 100, 0, 255, 255, 0},
        {"invburn", kBlendInverseBurn, 100, 200, 255, 255, 58},
        {"dodge of white leaves d", kBlendDodge, 255, 123, 255, 255, 123},
        {"dodge above 255 clamps", kBlendDodge, 128, 200, 255, 255, 255},
        {"overlay dark", kBlendOverlay, 200, 100, 255, 255, 155},
        {"overlay light", kBlendOverlay, 100, 200, 255, 255, 189},
        {"softlight white on white", kBlendSoftLight, 255, 255, 255, 255, 1},
        {"transparent source", kBlendBurn, 1, 200, 0, 255, 200},
        {"alpha 1 weighs 0", kBlendAlpha, 255, 10, 255, 1, 10},
    };
    for (const Case& c : cases) {
        const Ref<MemorySurface> source = FilledSurface(1, 1, Grey(c.sourceAlpha, c.s));
        const Ref<MemorySurface> destination = FilledSurface(1, 1, Grey(0x5A, c.d));
        BlendBlit(c.mode, *source, 0, 0, 1, 1, *destination, 0, 0, c.alpha, nullptr);
        EXPECT_EQ(PixelAt(*destination, 0, 0), Grey(0x5A, c.expected)) << c.what;
    }
}

TEST(BlendBlit, ChannelsAreBlendedApart) {
    const Ref<MemorySurface> source = FilledSurface(1, 1, 0xFFFF8000);
    const Ref<MemorySurface> destination = FilledSurface(1, 1, 0x00C8C8C8);
    BlendBlit(kBlendMultiply, *source, 0, 0, 1, 1, *destination, 0, 0, 255, nullptr);
    // Red: white multiplies to d - 1; green (128): 100; blue (0): 0 pulled to 0 at weight 254.
    EXPECT_EQ(PixelAt(*destination, 0, 0), 0x00C76401u);
}

TEST(BlendBlit, ModeWordsAreTheDataSpelling) {
    EXPECT_STREQ(kBlendModeWords[kBlendSubtractive], "substractive");
    EXPECT_STREQ(kBlendModeWords[kBlendInverseBurn], "invburn");
    EXPECT_STREQ(kBlendModeWords[kBlendSoftLight], "softlight");
    EXPECT_EQ(FindBlendRoutine(kBlendBurn), &BlendBurnRect);
    EXPECT_EQ(FindBlendRoutine(-1), nullptr);
    EXPECT_EQ(FindBlendRoutine(kBlendModeCount), nullptr);
}

TEST(BlendBlit, ClipsAndRefusesWhatItCannotDraw) {
    const Ref<MemorySurface> source = FilledSurface(4, 4, 0xFFFFFFFF);
    const Ref<MemorySurface> destination = FilledSurface(6, 6, 0xFF000000);
    const Rect clip{2, 2, 3, 3};
    BlendBlit(kBlendAlpha, *source, 0, 0, 4, 4, *destination, 3, -1, 255, &clip);
    EXPECT_EQ(ChangedPixels(*destination, 0xFF000000), (std::set<std::pair<int32_t, int32_t>>{{3, 2}, {4, 2}}));
    BlendBlit(kBlendAlpha, *source, 0, 0, 4, 4, *destination, 6, 0, 255, nullptr);   // entirely outside
    BlendBlit(kBlendModeCount, *source, 0, 0, 4, 4, *destination, 0, 0, 255, nullptr);  // no such mode
    BlendBlit(kBlendAlpha, *source, 0, 0, 4, 4, *destination, 0, 0, 0, nullptr);       // alpha 0
    EXPECT_EQ(ChangedPixels(*destination, 0xFF000000).size(), 2u);

    // A 16-bit destination is left alone, through the dispatch and through a routine called directly.
    const Ref<AlphaMemorySurface> display(new AlphaMemorySurface(4, 4));
    BlendBlit(kBlendAdditive, *source, 0, 0, 4, 4, *display, 0, 0, 255, nullptr);
    BlendBurnRect(*source, 0, 0, 4, 4, *display, 0, 0, 255);
    for (int32_t i = 0; i < 16; ++i) {
        EXPECT_EQ(display->Pixels16()[i], 0);
    }
}

TEST(BlendBlit, BurnCalledDirectlyDrawsTheGivenRectangle) {
    const Ref<MemorySurface> source = FilledSurface(3, 3, Grey(255, 128));
    const Ref<MemorySurface> destination = FilledSurface(4, 4, Grey(255, 200));
    BlendBurnRect(*source, 1, 1, 2, 1, *destination, 2, 3, 255);
    EXPECT_EQ(ChangedPixels(*destination, Grey(255, 200)), (std::set<std::pair<int32_t, int32_t>>{{2, 3}, {3, 3}}));
    EXPECT_EQ(PixelAt(*destination, 3, 3), Grey(255, 145));
}
