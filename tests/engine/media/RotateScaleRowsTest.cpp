#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "engine/media/MemorySurface.h"
#include "engine/media/RowVariant.h"
#include "engine/media/SoftBlit.h"

namespace {

Ref<MemorySurface> RandomPicture(std::mt19937& random, int32_t width, int32_t height) {
    Ref<MemorySurface> picture(new MemorySurface(width, height));
    // Alpha often at its ends, where the blend rule has its own cases.
    const uint32_t alphas[] = {0, 255, 254, 1, 128};
    for (int32_t k = 0; k < width * height; ++k) {
        const uint32_t alpha = random() % 2 == 0 ? alphas[random() % 5] : random() % 256;
        picture->Pixels32()[k] = alpha << 24 | (random() & 0xFFFFFF);
    }
    return picture;
}

// The AVX2 rows of the turned and scaled blits against the baseline rows, on
// random turns, scales, pivots, source rectangles (some reaching past the
// picture), clips, weightings and smoothing: every pixel must be the same.
TEST(RotateScaleRows, Avx2DrawsTheBaselinePixels) {
    if (!RowVariantAvailable(RowVariant::kAvx2)) {
        GTEST_SKIP() << "this processor runs no AVX2";
    }
    const RowVariant before = ActiveRowVariant();
    std::mt19937 random(20261210);
    const Ref<MemorySurface> picture = RandomPicture(random, 37, 29);
    const Ref<MemorySurface> background = RandomPicture(random, 96, 80);
    const auto uniform = [&](double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(random);
    };
    const auto between = [&](int32_t low, int32_t high) {
        return std::uniform_int_distribution<int32_t>(low, high)(random);
    };
    int runsThatDrew = 0;
    for (int run = 0; run < 400; ++run) {
        SoftBlit::RotateScale blit;
        blit.source = Rect{between(-6, 20), between(-6, 15), between(1, 45), between(1, 35)};
        blit.x = between(-20, 70);
        blit.y = between(-20, 55);
        blit.pivotX = between(-10, 40);
        blit.pivotY = between(-10, 30);
        blit.smooth = random() % 2 == 0;
        // Exact quarter turns and unit scales now and then, where samples fall on pixel edges.
        blit.angle = random() % 4 == 0 ? between(-4, 4) * 1.5707963267948966 : uniform(-7.0, 7.0);
        blit.scale = random() % 4 == 0 ? 1.0 : uniform(0.15, 3.5);
        blit.clip = Rect{between(-10, 40), between(-10, 30), between(20, 110), between(20, 90)};
        const int32_t alpha = std::vector<int32_t>{1, 77, 128, 254, 255}[random() % 5];
        const int mode = static_cast<int>(random() % 3);

        std::vector<std::vector<uint32_t>> results;
        for (const RowVariant variant : {RowVariant::kBaseline, RowVariant::kAvx2}) {
            SetRowVariant(variant);
            const Ref<MemorySurface> destination(new MemorySurface(*background));
            switch (mode) {
                case 0:
                    SoftBlit::RotateScaleCopy(*picture, *destination, blit);
                    break;
                case 1:
                    SoftBlit::RotateScaleConstantAlpha(*picture, *destination, blit, alpha);
                    break;
                default:
                    SoftBlit::RotateScaleAlpha(*picture, *destination, blit, alpha);
                    break;
            }
            results.emplace_back(destination->Pixels32(), destination->Pixels32() + 96 * 80);
        }
        runsThatDrew += results[0] != std::vector<uint32_t>(background->Pixels32(), background->Pixels32() + 96 * 80);
        ASSERT_EQ(results[0], results[1]) << "run " << run << " mode " << mode << " smooth " << blit.smooth
                                          << " angle " << blit.angle << " scale " << blit.scale << " alpha " << alpha;
    }
    // The cases drew something, so the comparison was not of untouched pictures.
    EXPECT_GT(runsThatDrew, 150);
    SetRowVariant(before);
}

// Past 2048 source pixels the rows' fixed-point coordinates wrap; both
// builds must still draw the same pixels.
TEST(RotateScaleRows, WrappingCoordinatesDrawTheSamePixels) {
    if (!RowVariantAvailable(RowVariant::kAvx2)) {
        GTEST_SKIP() << "this processor runs no AVX2";
    }
    const RowVariant before = ActiveRowVariant();
    std::mt19937 random(20261211);
    const Ref<MemorySurface> picture = RandomPicture(random, 2200, 6);
    const Ref<MemorySurface> background = RandomPicture(random, 2300, 40);
    for (const bool smooth : {false, true}) {
        SoftBlit::RotateScale blit;
        blit.source = Rect{0, 0, 2200, 6};
        blit.x = 20;
        blit.y = 10;
        blit.smooth = smooth;
        blit.angle = 0.01;
        blit.scale = 1.0;
        blit.clip = Rect{0, 0, 2300, 40};
        std::vector<std::vector<uint32_t>> results;
        for (const RowVariant variant : {RowVariant::kBaseline, RowVariant::kAvx2}) {
            SetRowVariant(variant);
            const Ref<MemorySurface> destination(new MemorySurface(*background));
            SoftBlit::RotateScaleAlpha(*picture, *destination, blit, 255);
            results.emplace_back(destination->Pixels32(), destination->Pixels32() + 2300 * 40);
        }
        EXPECT_EQ(results[0], results[1]) << "smooth " << smooth;
    }
    SetRowVariant(before);
}

}  // namespace
