#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "CanvasTestSupport.h"
#include "engine/media/Canvas32.h"
#include "engine/media/ChannelMap.h"
#include "engine/media/ImageTools.h"
#include "engine/media/MemorySurface.h"

namespace {

// The blend written out in floating point: d + floor((s - d) * a / 256) per colour byte.
uint32_t ModelBlend(uint32_t d, uint32_t s, int a) {
    uint32_t result = d & 0xFF000000;
    for (int shift = 0; shift < 24; shift += 8) {
        const double dc = (d >> shift) & 0xFF;
        const double sc = (s >> shift) & 0xFF;
        result |= static_cast<uint32_t>(dc + std::floor((sc - dc) * a / 256.0)) << shift;
    }
    return result;
}

// Pair rule shared by the per-pixel-alpha blit and the mask paint: a pair with
// both weights 0 is skipped, a pair with both weights 254 (when copying is
// allowed) takes the source colours, anything else blends pixel by pixel.
std::vector<uint32_t> ModelPairRow(const std::vector<uint32_t>& destination, const std::vector<uint32_t>& source,
                                   const std::vector<int>& weights, bool copyOpaquePairs) {
    std::vector<uint32_t> result = destination;
    const size_t w = destination.size();
    for (size_t i = 0; i < w; ++i) {
        const bool paired = i + 1 < w || i % 2 == 1;
        const size_t partner = i % 2 == 0 ? i + 1 : i - 1;
        if (paired && copyOpaquePairs && weights[i] == 254 && weights[partner] == 254) {
            result[i] = (destination[i] & 0xFF000000) | (source[i] & 0xFFFFFF);
        } else {
            result[i] = ModelBlend(destination[i], source[i], weights[i]);
        }
    }
    return result;
}

std::vector<uint32_t> Row(const Surface& surface) {
    return std::vector<uint32_t>(surface.Pixels32(), surface.Pixels32() + surface.GetWidth());
}

Ref<MemorySurface> RowSurface(const std::vector<uint32_t>& pixels) {
    Ref<MemorySurface> surface(new MemorySurface(static_cast<int32_t>(pixels.size()), 1));
    std::copy(pixels.begin(), pixels.end(), surface->Pixels32());
    return surface;
}

const int kAlphas[] = {0, 1, 128, 254, 255};
// Past 8 the rows run whole vector steps, then pairs and a last odd pixel;
// 45 also takes the per-pixel-alpha rows' runs of blocks judged together.
const int kWidths[] = {1, 2, 3, 7, 9, 16, 19, 45};

// Source alpha patterns: transparent, opaque and mixed neighbours.
std::vector<uint32_t> SourceRow(int pattern, int width) {
    static const uint32_t kAlphaBytes[][7] = {
        {0, 0, 0, 0, 0, 0, 0},
        {255, 255, 255, 255, 255, 255, 255},
        {255, 0, 0, 255, 128, 255, 1},
        {200, 17, 255, 255, 0, 0, 99},
    };
    std::vector<uint32_t> row;
    for (int i = 0; i < width; ++i) {
        row.push_back(kAlphaBytes[pattern][i % 7] << 24 | (0x3A91C4u + 0x1F2E3Du * i) % 0x1000000);
    }
    return row;
}

std::vector<uint32_t> DestinationRow(int width) {
    std::vector<uint32_t> row;
    for (int i = 0; i < width; ++i) {
        row.push_back(0x5A000000u | (0xC0127Eu + 0x31D4A7u * i) % 0x1000000);
    }
    return row;
}

}  // namespace

TEST(Canvas32, BlitsMatchThePerPixelModel) {
    ForEachRowVariant([](const std::string& variant) {
        for (int width : kWidths) {
            for (int alpha : kAlphas) {
                for (int pattern = 0; pattern < 4; ++pattern) {
                    for (const auto& [useAlpha, markOpaque] : {std::pair{true, false}, std::pair{true, true},
                                                                std::pair{false, false}}) {
                        const std::vector<uint32_t> sourcePixels = SourceRow(pattern, width);
                        const std::vector<uint32_t> destinationPixels = DestinationRow(width);
                        Ref<MemorySurface> source = RowSurface(sourcePixels);
                        source->SetUseAlphaChannel(useAlpha);
                        // An opaque picture known as such takes the copy path, with the same pixels.
                        source->SetKnownOpaque(markOpaque && AllPixelsOpaque(*source));
                        Ref<MemorySurface> destination = RowSurface(destinationPixels);
                        Ref<Canvas> canvas = destination->CreateCanvas();
                        canvas->SetAlpha(alpha);
                        canvas->Blit(*source, 0, 0);

                        std::vector<uint32_t> expected = destinationPixels;
                        if (alpha == 0) {
                            // nothing drawn
                        } else if (useAlpha) {
                            std::vector<int> weights;
                            for (uint32_t s : sourcePixels) {
                                weights.push_back(static_cast<int>(((s >> 24) * alpha) >> 8));
                            }
                            expected = ModelPairRow(destinationPixels, sourcePixels, weights, true);
                        } else if (alpha == 255) {
                            for (int i = 0; i < width; ++i) {
                                expected[i] = (destinationPixels[i] & 0xFF000000) | (sourcePixels[i] & 0xFFFFFF);
                            }
                        } else {
                            for (int i = 0; i < width; ++i) {
                                uint32_t value = 0;
                                for (int shift = 0; shift < 32; shift += 8) {
                                    const int d = (destinationPixels[i] >> shift) & 0xFF;
                                    const int s = (sourcePixels[i] >> shift) & 0xFF;
                                    value |= static_cast<uint32_t>(std::clamp(d + (s * alpha >> 8) - (d * alpha >> 8), 0,
                                                                              255))
                                             << shift;
                                }
                                expected[i] = value;
                            }
                        }
                        EXPECT_EQ(Row(*destination), expected)
                            << "width " << width << " alpha " << alpha << " pattern " << pattern << " use alpha "
                            << useAlpha << " marked opaque " << source->IsKnownOpaque() << " rows " << variant;
                    }
                }
            }
        }
    });
}

TEST(Canvas32, OpaqueFillKeepsEachPixelsAlpha) {
    ForEachRowVariant([](const std::string& variant) {
        for (int width : kWidths) {
            const std::vector<uint32_t> destinationPixels = DestinationRow(width);
            Ref<MemorySurface> destination = RowSurface(destinationPixels);
            destination->Pixels32()[0] = 0x11223344;
            Ref<Canvas> canvas = destination->CreateCanvas();
            canvas->SetColor(Color(0x9ABCDE));
            canvas->FillRect(0, 0, width, 1);
            std::vector<uint32_t> expected(width, 0x5A9ABCDE);
            expected[0] = 0x119ABCDE;
            EXPECT_EQ(Row(*destination), expected) << "width " << width << " rows " << variant;
        }
    });
}

TEST(Canvas32, MaskPaintMatchesThePerPixelModel) {
    for (int width : kWidths) {
        for (int alpha : kAlphas) {
            const std::vector<uint32_t> destinationPixels = DestinationRow(width);
            ChannelMap map(width, 1);
            std::vector<int> weights;
            for (int i = 0; i < width; ++i) {
                map.GetBytes()[i] = static_cast<uint8_t>((i * 97) % 256 * (i % 3 != 1));
                weights.push_back((map.GetBytes()[i] * alpha) >> 8);
            }
            Ref<MemorySurface> destination = RowSurface(destinationPixels);
            Ref<Canvas> canvas = destination->CreateCanvas();
            canvas->SetColor(Color(0xE0C0A0));
            canvas->SetAlpha(alpha);
            canvas->DrawMask(map, 0, 0);
            const std::vector<uint32_t> expected =
                alpha == 0 ? destinationPixels
                           : ModelPairRow(destinationPixels, std::vector<uint32_t>(width, 0xE0C0A0), weights, false);
            EXPECT_EQ(Row(*destination), expected) << "width " << width << " alpha " << alpha;
        }
    }
}

TEST(Canvas32, NamedPairCases) {
    // Fixed alpha blends the alpha byte too.
    Ref<MemorySurface> destination = FilledSurface(2, 1, 0x00000000);
    Ref<MemorySurface> white = FilledSurface(2, 1, 0xFFFFFFFF);
    white->SetUseAlphaChannel(false);
    Ref<Canvas> canvas = destination->CreateCanvas();
    canvas->SetAlpha(128);
    canvas->Blit(*white, 0, 0);
    EXPECT_EQ(PixelAt(*destination, 0, 0), 0x7F7F7F7Fu);

    // An opaque pair copies exactly; an opaque pixel beside a transparent one blends at 254.
    Ref<MemorySurface> source = FilledSurface(4, 1, 0xFFFFFFFF);
    source->Pixels32()[3] = 0x00FFFFFF;
    destination = FilledSurface(4, 1, 0x11000000);
    canvas = destination->CreateCanvas();
    canvas->Blit(*source, 0, 0);
    EXPECT_EQ(Row(*destination), (std::vector<uint32_t>{0x11FFFFFF, 0x11FFFFFF, 0x11FDFDFD, 0x11000000}));

    // White text on black at full alpha reaches 253.
    ChannelMap map(3, 1);
    std::fill_n(map.GetBytes(), 3, 255);
    destination = FilledSurface(3, 1, 0xFF000000);
    canvas = destination->CreateCanvas();
    canvas->SetColor(Color(0xFFFFFF));
    canvas->DrawMask(map, 0, 0);
    EXPECT_EQ(Row(*destination), (std::vector<uint32_t>(3, 0xFFFDFDFD)));
}

TEST(Canvas32, ChannelOperations) {
    Ref<MemorySurface> destination = RowSurface({0x80112233, 0x80112233, 0x80112233});
    Ref<MemorySurface> source = RowSurface({0x40AABBCC, 0xC0AABBCC, 0x80AABBCC});
    Ref<Canvas> canvas = destination->CreateCanvas();
    canvas->MinChannel(*source, kAlpha, 0, 0);
    EXPECT_EQ(Row(*destination), (std::vector<uint32_t>{0x40112233, 0x80112233, 0x80112233}));
    canvas->MaxChannel(*source, kAlpha, 0, 0);
    EXPECT_EQ(Row(*destination), (std::vector<uint32_t>{0x40112233, 0xC0112233, 0x80112233}));
    canvas->CopyChannel(*source, kGreen, 1, 0);  // clipped to two pixels
    EXPECT_EQ(Row(*destination), (std::vector<uint32_t>{0x40112233, 0xC011BB33, 0x8011BB33}));
    canvas->CopyChannel(*source, 4, 0, 0);  // no such channel
    EXPECT_EQ(PixelAt(*destination, 0, 0), 0x40112233u);
    ChannelMap map(2, 1);
    map.GetBytes()[0] = 0x0F;
    map.GetBytes()[1] = 0xF0;
    canvas->WriteChannelFromMap(map, kRed, 0, 0);
    EXPECT_EQ(Row(*destination), (std::vector<uint32_t>{0x400F2233, 0xC0F0BB33, 0x8011BB33}));
    canvas->CopyRect(*source, 2, 0, 0, 0, 3, 1);
    EXPECT_EQ(PixelAt(*destination, 2, 0), 0x40AABBCCu);
}

TEST(Canvas32, PreparingAPictureKeepsItAsItsOwnCopy) {
    Ref<MemorySurface> picture = FilledSurface(2, 2, 0);
    Ref<MemorySurface> target = FilledSurface(2, 2, 0);
    picture->SetDirty(true);
    target->CreateCanvas()->PrepareSurface(*picture);
    EXPECT_EQ(picture->GetDisplayCopy(), picture.Get());
    EXPECT_TRUE(picture->IsDirty());  // already drawn from itself: nothing to do
}
