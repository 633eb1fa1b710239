#include <gtest/gtest.h>

#include <algorithm>

#include "engine/media/SurfaceWarmer.h"

namespace {

bool RowIs(const MemorySurface& surface, int32_t y, uint32_t pixel) {
    const uint32_t* row = surface.Pixels32() + surface.PixelIndex(0, y);
    return std::all_of(row, row + surface.GetWidth(), [pixel](uint32_t p) { return p == pixel; });
}

// Whatever the fresh blocks held, the steps clear them row by row, the
// pictures in the order they were added, and only as many rows as asked.
TEST(SurfaceWarmerTest, StepsClearThePicturesAFewRowsAtATimeInTheirOrder) {
    constexpr uint32_t kOld = 0xDEADBEEFu;
    SurfaceWarmer warmer;
    const Ref<MemorySurface> first = warmer.Add(4, 3);
    const Ref<MemorySurface> second = warmer.Add(2, 2);
    for (const Ref<MemorySurface>& picture : {first, second}) {
        ASSERT_EQ(picture->GetPitch(), picture->GetWidth() * 4);
        std::fill_n(picture->Pixels32(), picture->GetWidth() * picture->GetHeight(), kOld);
    }
    EXPECT_FALSE(warmer.Done());

    EXPECT_FALSE(warmer.Step(2));
    EXPECT_TRUE(RowIs(*first, 1, 0u));
    EXPECT_TRUE(RowIs(*first, 2, kOld));
    EXPECT_FALSE(warmer.Step(2));  // the first's last row, then the second's first
    EXPECT_TRUE(RowIs(*first, 2, 0u));
    EXPECT_TRUE(RowIs(*second, 0, 0u));
    EXPECT_TRUE(RowIs(*second, 1, kOld));
    EXPECT_TRUE(warmer.Step(2));
    EXPECT_TRUE(RowIs(*second, 1, 0u));
    EXPECT_TRUE(warmer.Done());
    EXPECT_TRUE(warmer.Step(2));
}

}  // namespace
