#include <gtest/gtest.h>

#include "engine/media/AlphaMemorySurface.h"
#include "engine/media/MemorySurface.h"
#include "engine/media/PixelFormat.h"
#include "engine/media/Rect.h"
#include "engine/media/SurfaceLock.h"

TEST(IntersectRect, OverlapTouchAndDisjoint) {
    struct Case {
        Rect a, b, expected;
    };
    const Case cases[] = {
        {{0, 0, 10, 10}, {5, 5, 10, 10}, {5, 5, 5, 5}},
        {{0, 0, 10, 10}, {2, 3, 4, 5}, {2, 3, 4, 5}},
        {{0, 0, 10, 10}, {10, 0, 5, 5}, {10, 0, 0, 5}},     // touching edge: empty
        {{0, 0, 10, 10}, {15, 20, 5, 5}, {15, 20, -5, -10}},  // disjoint: negative
        {{0, 0, 0, 0}, {0, 0, 10, 10}, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IntersectRect(c.a, c.b), c.expected);
        EXPECT_TRUE(IntersectRect(c.a, c.b).IsEmpty() == (c.expected.w <= 0 || c.expected.h <= 0));
    }
}

TEST(PixelFormat, AnalysesMasksIntoLossAndShift) {
    struct Case {
        uint32_t mask, loss, shift;
    };
    const Case cases[] = {
        {0xF800, 3, 11}, {0x07E0, 2, 5}, {0x001F, 3, 0}, {0, 8, 0}, {0xFF000000, 0, 24}, {0x000000FF, 0, 0},
    };
    for (const Case& c : cases) {
        PixelFormat format;
        format.masks[kRed] = c.mask;
        AnalysePixelMasks(format);
        EXPECT_EQ(format.losses[kRed], c.loss) << std::hex << c.mask;
        EXPECT_EQ(format.shifts[kRed], c.shift) << std::hex << c.mask;
    }
}

TEST(PixelFormat, PacksColoursAndDropsAlphaWithoutMask) {
    EXPECT_EQ(PackColour(Format565(), 0xFFFFFFFF), 0xFFFFu);
    EXPECT_EQ(PackColour(Format565(), 0x00808080), 0x8410u);
    EXPECT_EQ(PackColour(Format565(), 0xFF000000), 0u);
    EXPECT_EQ(PackColour(Format32(), 0x12345678), 0x12345678u);
}

TEST(MemorySurface, PixelIndexFollowsThePitch) {
    MemorySurface surface(4, 3);
    EXPECT_EQ(surface.PixelIndex(1, 2), 9);
    surface.SetPitch(6 * 4);  // rows padded by two pixels
    EXPECT_EQ(surface.PixelIndex(1, 2), 13);
    AlphaMemorySurface surface16(5, 2);
    EXPECT_EQ(surface16.PixelIndex(3, 1), 8);
}

TEST(MemorySurface, StartsAsItsOwnDisplayCopy) {
    Ref<MemorySurface> surface(new MemorySurface(2, 2));
    EXPECT_EQ(surface->GetDisplayCopy(), surface.Get());
    EXPECT_TRUE(surface->UsesAlphaChannel());
    EXPECT_FALSE(surface->IsDirty());
    EXPECT_EQ(surface->GetFrameCount(), 1u);
    Ref<AlphaMemorySurface> copy(new AlphaMemorySurface(2, 2));
    surface->SetDisplayCopy(copy.Get());
    EXPECT_EQ(copy->ReferenceCount(), 2);
    surface->SetDisplayCopy(surface.Get());
    EXPECT_EQ(copy->ReferenceCount(), 1);
    EXPECT_EQ(surface->GetDisplayCopy(), surface.Get());
}

TEST(MemorySurface, CopyTakesWidthTimesHeightWordsInOrder) {
    MemorySurface source(3, 2);
    source.SetPitch(5 * 4);  // the copy reads the buffer as tightly packed regardless
    for (uint32_t i = 0; i < 6; ++i) {
        source.Pixels32()[i] = 0xFF000000 + i;
    }
    source.SetFrameCount(7);
    source.SetUseAlphaChannel(false);
    source.SetDirty(true);
    MemorySurface copy(source);
    EXPECT_EQ(copy.GetWidth(), 3);
    EXPECT_EQ(copy.GetHeight(), 2);
    EXPECT_EQ(copy.GetPitch(), 12);  // its own buffer is tightly packed
    EXPECT_EQ(copy.GetFrameCount(), 7u);
    EXPECT_FALSE(copy.UsesAlphaChannel());
    EXPECT_FALSE(copy.IsDirty());
    for (uint32_t i = 0; i < 6; ++i) {
        EXPECT_EQ(copy.Pixels32()[i], 0xFF000000 + i);
    }
}

TEST(SurfaceLock, ChannelFillGetAndBlocks) {
    Ref<MemorySurface> surface(new MemorySurface(4, 4));
    std::fill_n(surface->Pixels32(), 16, 0x11223344u);
    Ref<SurfaceLock> alpha = surface->CreateLock(kAlpha);
    EXPECT_EQ(surface->ReferenceCount(), 2);
    EXPECT_EQ(alpha->GetValue(0, 0), 0x11u);
    EXPECT_EQ(surface->CreateLock(kBlue)->GetValue(3, 3), 0x44u);
    EXPECT_EQ(surface->CreateLock(4)->GetValue(0, 0), 0u);

    alpha->FillRect(2, 2, 5, 5, 0x1AB);  // clipped to the lock's rectangle, low byte only
    EXPECT_EQ(surface->Pixels32()[2 * 4 + 2], 0xAB223344u);
    EXPECT_EQ(surface->Pixels32()[3 * 4 + 3], 0xAB223344u);
    EXPECT_EQ(surface->Pixels32()[1 * 4 + 2], 0x11223344u);
    alpha->FillRect(1, 1, 0, 3, 0x00);  // zero width: nothing
    EXPECT_EQ(surface->Pixels32()[1 * 4 + 1], 0x11223344u);

    Ref<MemorySurface> other(new MemorySurface(2, 2));
    other->Pixels32()[0] = 0x05000000;
    other->Pixels32()[1] = 0xF0000000;
    other->Pixels32()[2] = 0x20000000;
    other->Pixels32()[3] = 0xFF000000;
    Ref<SurfaceLock> otherAlpha = other->CreateLock(kAlpha);
    alpha->CopyBlock(*otherAlpha, 0, 0);
    EXPECT_EQ(alpha->GetValue(0, 0), 0x05u);
    EXPECT_EQ(alpha->GetValue(1, 1), 0xFFu);
    EXPECT_EQ(surface->Pixels32()[0] & 0xFFFFFF, 0x223344u);

    alpha->Fill(0x10);
    alpha->MaxMerge(*otherAlpha, 0, 0);
    EXPECT_EQ(alpha->GetValue(0, 0), 0x10u);
    EXPECT_EQ(alpha->GetValue(1, 0), 0xF0u);
    EXPECT_EQ(alpha->GetValue(0, 1), 0x20u);
    EXPECT_EQ(alpha->GetValue(2, 2), 0x10u);

    alpha->CopyBlock(*otherAlpha, 3, 3);  // block hanging off the corner writes only inside
    EXPECT_EQ(alpha->GetValue(3, 3), 0x05u);
}

TEST(Surfaces, SixteenBitSurfacesHaveNoLock) {
    Ref<AlphaMemorySurface> surface(new AlphaMemorySurface(2, 2));
    EXPECT_FALSE(surface->CreateLock(kAlpha));
    EXPECT_NE(surface->GetAlphaBuffer(), nullptr);
    surface->FreePixels();
    EXPECT_EQ(surface->GetPixels(), nullptr);
    EXPECT_EQ(surface->GetAlphaBuffer(), nullptr);
}
