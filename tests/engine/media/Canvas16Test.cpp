#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "CanvasTestSupport.h"
#include "engine/media/AlphaMemorySurface.h"
#include "engine/media/Canvas16.h"
#include "engine/media/ChannelMap.h"
#include "engine/media/MemorySurface.h"

namespace {
constexpr uint16_t kWhite = 0xFFFF;
constexpr uint16_t kWhiteAt255 = (30 << 11) | (62 << 5) | 30;  // one step short of white

struct Canvas16Fixture : ::testing::Test {
    Ref<AlphaMemorySurface> surface{new AlphaMemorySurface(32, 4)};
    Ref<Canvas> canvas = surface->CreateCanvas();

    uint16_t At(int32_t x, int32_t y) const { return surface->Pixels16()[surface->PixelIndex(x, y)]; }
    std::vector<uint16_t> RowOf(int32_t y, int32_t count) const {
        return std::vector<uint16_t>(surface->Pixels16() + surface->PixelIndex(0, y),
                                     surface->Pixels16() + surface->PixelIndex(count, y));
    }
};
}  // namespace

TEST_F(Canvas16Fixture, ColourIsPackedAndBlendedPerField) {
    canvas->SetColor(Color(0xFFFFFF));
    EXPECT_EQ(canvas->GetColor()->Value(), 0xFFFFu);
    canvas->SetColor(Color(0x808080));
    EXPECT_EQ(canvas->GetColor()->Value(), 0x8410u);
    canvas->SetColor(Color(0xFFFFFF));
    canvas->SetAlpha(128);
    canvas->FillRect(0, 0, 2, 1);
    EXPECT_EQ(At(0, 0), 0x7BEF);
    canvas->SetAlpha(255);
    canvas->SetPixel(5, 0);
    canvas->DrawHLine(6, 9, 0);
    EXPECT_EQ(RowOf(0, 10), (std::vector<uint16_t>{0x7BEF, 0x7BEF, 0, 0, 0, kWhite, kWhite, kWhite, kWhite, 0}));
}

TEST_F(Canvas16Fixture, OpaqueBytesBlendInGroupsButCopyInTheTail) {
    Ref<MemorySurface> picture = FilledSurface(6, 1, 0x00FFFFFF);
    picture->Pixels32()[1] = 0xFFFFFFFF;
    picture->Pixels32()[3] = 0xFFFFFFFF;
    picture->Pixels32()[5] = 0xFFFFFFFF;
    canvas->Blit(*picture, 0, 0);
    EXPECT_EQ(RowOf(0, 6), (std::vector<uint16_t>{0, kWhiteAt255, 0, kWhiteAt255, 0, kWhite}));
    // A wholly opaque group of four is copied.
    Ref<MemorySurface> opaque = FilledSurface(8, 1, 0xFFFFFFFF);
    canvas->Blit(*opaque, 0, 1);
    EXPECT_EQ(RowOf(1, 8), std::vector<uint16_t>(8, kWhite));
    // Below full alpha nothing is copied: (255 x 128) >> 8 = 127 everywhere.
    canvas->SetAlpha(128);
    canvas->Blit(*opaque, 0, 2);
    EXPECT_EQ(At(0, 2), (15 << 11) | (31 << 5) | 15);
    EXPECT_EQ(At(7, 2), (15 << 11) | (31 << 5) | 15);
}

TEST_F(Canvas16Fixture, PicturesAreConvertedOnceAndRepackedWhenDirty) {
    Ref<MemorySurface> picture = FilledSurface(4, 1, 0xFFFFFFFF);
    picture->SetUseAlphaChannel(false);
    canvas->Blit(*picture, 0, 0);
    Surface* copy = picture->GetDisplayCopy();
    ASSERT_NE(copy, picture.Get());
    EXPECT_FALSE(copy->UsesAlphaChannel());
    picture->Pixels32()[0] = 0xFF000000;
    canvas->Blit(*picture, 0, 1);
    EXPECT_EQ(At(0, 1), kWhite);  // unchanged picture: the old copy is drawn
    picture->SetDirty(true);
    canvas->Blit(*picture, 0, 2);
    EXPECT_EQ(picture->GetDisplayCopy(), copy);
    EXPECT_EQ(At(0, 2), 0);
    EXPECT_FALSE(picture->IsDirty());
}

TEST_F(Canvas16Fixture, ChannelFillsTakeFieldValues) {
    for (uint32_t value : {63u, 255u}) {
        surface->Pixels16()[0] = 0xF81F;
        canvas->FillChannelRect(kGreen, value, 0, 0, 1, 1);
        EXPECT_EQ(At(0, 0), 0xFFFF) << value;
    }
    canvas->FillChannelRect(kRed, 0x3, 1, 0, 1, 1);
    EXPECT_EQ(At(1, 0), 0x3 << 11);
    canvas->FillChannelRect(kAlpha, 0x1C0, 2, 0, 2, 1);
    EXPECT_EQ(surface->GetAlphaBuffer()[2], 0xC0);
    EXPECT_EQ(surface->GetAlphaBuffer()[3], 0xC0);
    surface->Pixels16()[4] = 0x1234;
    canvas->FillChannelRect(7, 0, 4, 0, 1, 1);
    EXPECT_EQ(At(4, 0), 0);
}

TEST_F(Canvas16Fixture, ScaleBlitMapsColumnsThroughTheClip) {
    Ref<MemorySurface> picture(new MemorySurface(32, 1));
    for (int32_t x = 0; x < 32; ++x) {
        picture->Pixels32()[x] = 0xFF000000u | static_cast<uint32_t>(x) << 3;  // blue field = x
    }
    picture->SetUseAlphaChannel(false);
    canvas->ScaleBlit(*picture, 16, 0, 16, 1, 0, 0, 16, 1);
    canvas->SetClipRect(4, 1, 28, 1);
    canvas->ScaleBlit(*picture, 16, 0, 16, 1, 0, 1, 16, 1);
    for (int32_t x = 0; x < 16; ++x) {
        EXPECT_EQ(At(x, 0), 16 + x) << x;
        EXPECT_EQ(At(x, 1), x < 4 ? 0 : 16 + x) << x;
    }
}

TEST_F(Canvas16Fixture, SmoothedRotationDrawsAsThePlainOne) {
    Ref<MemorySurface> picture(new MemorySurface(5, 3));
    for (int32_t i = 0; i < 15; ++i) {
        picture->Pixels32()[i] = 0xFF000000u | static_cast<uint32_t>(i * 0x111111);
    }
    canvas->RotateScaleBlit(*picture, 0.4, 1.7, 2, 0, 0, 0, 5, 3, 2, 1);
    const std::vector<uint16_t> plain(surface->Pixels16(), surface->Pixels16() + 32 * 4);
    std::fill_n(surface->Pixels16(), 32 * 4, 0);
    canvas->RotateScaleBlitSmooth(*picture, 0.4, 1.7, 2, 0, 0, 0, 5, 3, 2, 1);
    EXPECT_EQ(std::vector<uint16_t>(surface->Pixels16(), surface->Pixels16() + 32 * 4), plain);
    EXPECT_NE(plain, std::vector<uint16_t>(32 * 4, 0));
}

TEST_F(Canvas16Fixture, MaskAndAlphaBufferOperations) {
    ChannelMap map(5, 1);
    const uint8_t coverage[] = {0, 255, 128, 0, 255};
    std::copy(std::begin(coverage), std::end(coverage), map.GetBytes());
    canvas->SetColor(Color(0xFFFFFF));
    canvas->DrawMask(map, 0, 0);
    EXPECT_EQ(RowOf(0, 5), (std::vector<uint16_t>{0, kWhiteAt255, 0x7BEF, 0, kWhiteAt255}));

    canvas->WriteChannelFromMap(map, kAlpha, 0, 1);
    EXPECT_EQ(surface->GetAlphaBuffer()[32 + 2], 128);
    Ref<AlphaMemorySurface> other(new AlphaMemorySurface(3, 1));
    other->GetAlphaBuffer()[0] = 10;
    other->GetAlphaBuffer()[1] = 10;
    other->GetAlphaBuffer()[2] = 200;
    canvas->MinChannel(*other, kAlpha, 0, 1);
    EXPECT_EQ((std::vector<uint8_t>(surface->GetAlphaBuffer() + 32, surface->GetAlphaBuffer() + 35)),
              (std::vector<uint8_t>{0, 10, 128}));
    canvas->MaxChannel(*other, kAlpha, 0, 1);
    EXPECT_EQ((std::vector<uint8_t>(surface->GetAlphaBuffer() + 32, surface->GetAlphaBuffer() + 35)),
              (std::vector<uint8_t>{10, 10, 200}));
    Ref<MemorySurface> picture = FilledSurface(2, 1, 0x7F000000);
    canvas->CopyChannel(*picture, kAlpha, 1, 1);
    EXPECT_EQ(surface->GetAlphaBuffer()[32 + 2], 0x7F);
    canvas->CopyRect(*other, 0, 3, 0, 0, 3, 1);
    EXPECT_EQ(surface->GetAlphaBuffer()[3 * 32 + 2], 200);
}

TEST(Canvas16, AlphaBlitsMatchTheGroupModel) {
    // The blend of one 5/6/5 field written out: d + floor((s - d) * a / 256).
    const auto blend = [](uint16_t d, uint16_t s, int a) {
        const auto field = [a](int dv, int sv) { return dv + static_cast<int>(std::floor((sv - dv) * a / 256.0)); };
        return static_cast<uint16_t>(field(d >> 11, s >> 11) << 11 | field((d >> 5) & 63, (s >> 5) & 63) << 5 |
                                     field(d & 31, s & 31));
    };
    const uint8_t alphas[] = {0, 255, 0, 255, 255, 255, 255, 255, 0, 0, 0, 0, 7, 200, 255, 0, 255};
    for (int width : {3, 4, 9, 13, 17}) {
        for (int alpha : {255, 128}) {
            Ref<MemorySurface> picture(new MemorySurface(width, 1));
            for (int i = 0; i < width; ++i) {
                picture->Pixels32()[i] = uint32_t{alphas[i]} << 24 | (0xF0E0D0u - 0x0F1E2Du * i);
            }
            Ref<AlphaMemorySurface> target(new AlphaMemorySurface(width, 1));
            for (int i = 0; i < width; ++i) {
                target->Pixels16()[i] = static_cast<uint16_t>(0x1234 + 0x0F0F * i);
            }
            const std::vector<uint16_t> before(target->Pixels16(), target->Pixels16() + width);
            Ref<Canvas> canvas = target->CreateCanvas();
            canvas->SetAlpha(alpha);
            canvas->Blit(*picture, 0, 0);
            for (int i = 0; i < width; ++i) {
                const auto source = static_cast<uint16_t>(PackColour(Format565(), picture->Pixels32()[i]));
                const int group = i / 4 * 4;
                const bool inGroup = group + 4 <= width;
                bool groupOpaque = inGroup;
                for (int k = group; inGroup && k < group + 4; ++k) {
                    groupOpaque = groupOpaque && alphas[k] == 255;
                }
                uint16_t expected = blend(before[i], source, alpha == 255 ? alphas[i] : alphas[i] * alpha >> 8);
                if (alpha == 255 && (inGroup ? groupOpaque : alphas[i] == 255)) {
                    expected = source;
                }
                EXPECT_EQ(target->Pixels16()[i], expected) << "width " << width << " alpha " << alpha << " pixel " << i;
            }
        }
    }
}
