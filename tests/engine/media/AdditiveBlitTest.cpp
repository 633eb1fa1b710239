#include <gtest/gtest.h>

#include <vector>

#include "CanvasTestSupport.h"
#include "engine/media/AdditiveBlit.h"
#include "engine/media/AlphaMemorySurface.h"
#include "engine/media/MemorySurface.h"

namespace {
std::vector<uint32_t> Row(const Surface& surface) {
    return std::vector<uint32_t>(surface.Pixels32(), surface.Pixels32() + surface.GetWidth());
}

// min(255, d + s x weight / 256) per colour byte, weights (alpha x level) >> 8,
// and 256 for both pixels of a pair whose weights are both 254.
std::vector<uint32_t> ModelAddRow(const std::vector<uint32_t>& destination, const std::vector<uint32_t>& source,
                                  int level) {
    const size_t w = destination.size();
    std::vector<int> weights;
    for (uint32_t s : source) {
        weights.push_back(static_cast<int>(((s >> 24) * level) >> 8));
    }
    std::vector<uint32_t> result = destination;
    for (size_t i = 0; i < w; ++i) {
        const size_t partner = i ^ 1;
        const bool wholePair = partner < w && weights[i] == 254 && weights[partner] == 254;
        const int weight = wholePair ? 256 : weights[i];
        uint32_t pixel = destination[i] & 0xFF000000;
        for (int shift = 0; shift < 24; shift += 8) {
            const int sum = static_cast<int>((destination[i] >> shift) & 0xFF) +
                            static_cast<int>(((source[i] >> shift) & 0xFF) * weight / 256);
            pixel |= static_cast<uint32_t>(std::min(sum, 255)) << shift;
        }
        result[i] = pixel;
    }
    return result;
}
}  // namespace

TEST(AdditiveBlit, MatchesThePerPixelModel) {
    // Alpha runs of transparent, opaque and mixed pixels, long enough for whole vector steps;
    // past 32 whole runs of transparent and of opaque blocks, judged together by the wide rows.
    std::vector<uint8_t> alphas = {0, 0, 0, 0, 0, 0, 0, 0, 255, 255, 255, 255, 255, 255, 255, 255,
                                   255, 0, 17, 255, 255, 128, 254, 1, 255, 255, 200, 99, 0, 255, 255, 255};
    alphas.insert(alphas.end(), 32, 0);
    alphas.insert(alphas.end(), 32, 255);
    alphas.insert(alphas.end(), {255, 254, 255, 255, 0, 255, 1});
    ForEachRowVariant([&](const std::string& variant) {
        for (int width : {1, 2, 7, 9, 16, 31, 96, 103}) {
            for (int level : {1, 128, 254, 255}) {
                std::vector<uint32_t> source;
                std::vector<uint32_t> destination;
                for (int i = 0; i < width; ++i) {
                    source.push_back(uint32_t{alphas[i]} << 24 | (0x3A91C4u + 0x1F2E3Du * i) % 0x1000000);
                    destination.push_back(0x5A000000u | (0xC0127Eu + 0x31D4A7u * i) % 0x1000000);
                }
                Ref<MemorySurface> sourceSurface = FilledSurface(width, 1, 0);
                std::copy(source.begin(), source.end(), sourceSurface->Pixels32());
                Ref<MemorySurface> destinationSurface = FilledSurface(width, 1, 0);
                std::copy(destination.begin(), destination.end(), destinationSurface->Pixels32());
                AdditiveBlit(*sourceSurface, 0, 0, width, 1, *destinationSurface, 0, 0, level, nullptr);
                EXPECT_EQ(Row(*destinationSurface), ModelAddRow(destination, source, level))
                    << "width " << width << " level " << level << " rows " << variant;
            }
        }
    });
}

TEST(AdditiveBlit, OpaquePairsAddUnscaledAndLonePixelsAtWeight254) {
    // Widths 3, 5 and 7 exercise the two-pixel and four-pixel steps and the odd last pixel.
    for (int32_t width : {1, 3, 5, 7}) {
        Ref<MemorySurface> source = FilledSurface(width, 1, 0xFFFFFFFF);
        Ref<MemorySurface> destination = FilledSurface(width, 1, 0x40000000);
        AdditiveBlit(*source, 0, 0, width, 1, *destination, 0, 0, 255, nullptr);
        std::vector<uint32_t> expected(width, 0x40FFFFFF);
        expected.back() = 0x40FDFDFD;
        EXPECT_EQ(Row(*destination), expected) << width;
    }
    // An opaque pixel beside a transparent one is added with weight 254, not unscaled.
    Ref<MemorySurface> source = FilledSurface(4, 1, 0xFFFFFFFF);
    source->Pixels32()[1] = 0x00FFFFFF;
    Ref<MemorySurface> destination = FilledSurface(4, 1, 0x40000000);
    AdditiveBlit(*source, 0, 0, 4, 1, *destination, 0, 0, 255, nullptr);
    EXPECT_EQ(Row(*destination), (std::vector<uint32_t>{0x40FDFDFD, 0x40000000, 0x40FFFFFF, 0x40FFFFFF}));
}

TEST(AdditiveBlit, SaturatesNeverDarkensAndKeepsAlpha) {
    Ref<MemorySurface> source = FilledSurface(6, 1, 0x80804020);
    source->Pixels32()[5] = 0xFF000000;  // black adds nothing
    Ref<MemorySurface> destination = FilledSurface(6, 1, 0x11F0F0F0);
    AdditiveBlit(*source, 0, 0, 6, 1, *destination, 0, 0, 200, nullptr);
    // weight (128 x 200) >> 8 = 100: red 0xF0 + (0x80 x 100 >> 8) saturates, blue 0xF0 + 12.
    EXPECT_EQ(PixelAt(*destination, 0, 0), 0x11FFFFFCu);
    EXPECT_EQ(PixelAt(*destination, 5, 0), 0x11F0F0F0u);
    Ref<MemorySurface> untouched = FilledSurface(6, 1, 0x11F0F0F0);
    AdditiveBlit(*source, 0, 0, 6, 1, *untouched, 0, 0, 0, nullptr);
    EXPECT_EQ(ChangedPixels(*untouched, 0x11F0F0F0).size(), 0u);
}

TEST(AdditiveBlit, ClipsLikeACanvasBlit) {
    Ref<MemorySurface> source = FilledSurface(4, 4, 0xFF101010);
    Ref<MemorySurface> destination = FilledSurface(6, 6, 0);
    const Rect clip{2, 2, 3, 3};
    AdditiveBlit(*source, 0, 0, 4, 4, *destination, 3, -1, 255, &clip);
    // Columns 3..4 (clip), rows 2..2 (source ends at row 2 of the destination).
    EXPECT_EQ(ChangedPixels(*destination, 0), (std::set<std::pair<int32_t, int32_t>>{{3, 2}, {4, 2}}));
    AdditiveBlit(*source, 0, 0, 0, 4, *destination, 0, 0, 255, nullptr);  // zero width
    AdditiveBlit(*source, 0, 0, 4, 4, *destination, 6, 0, 255, nullptr);  // at the right edge
    EXPECT_EQ(ChangedPixels(*destination, 0).size(), 2u);
}

TEST(AdditiveBlit, SixteenBitDestinationConvertsThePictureOnce) {
    Ref<MemorySurface> source = FilledSurface(5, 1, 0xFFFFFFFF);
    source->Pixels32()[4] = 0x80FFFFFF;
    Ref<AlphaMemorySurface> destination(new AlphaMemorySurface(5, 1));
    AdditiveBlit(*source, 0, 0, 5, 1, *destination, 0, 0, 255, nullptr);
    Surface* copy = source->GetDisplayCopy();
    ASSERT_NE(copy, source.Get());
    // Weight (255 x 255) >> 8 = 254 in the group: 31 x 254 >> 8 = 30, 63 -> 62; the tail at 127: 15, 31.
    EXPECT_EQ(destination->Pixels16()[0], (30 << 11) | (62 << 5) | 30);
    EXPECT_EQ(destination->Pixels16()[4], (15 << 11) | (31 << 5) | 15);
    AdditiveBlit(*source, 0, 0, 5, 1, *destination, 0, 0, 255, nullptr);
    EXPECT_EQ(source->GetDisplayCopy(), copy);
    EXPECT_EQ(destination->Pixels16()[0], 0xFFFF);  // saturated
}
