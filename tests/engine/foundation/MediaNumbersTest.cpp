#include <gtest/gtest.h>

#include <string>

#include "engine/foundation/MediaNumbers.h"
#include "engine/foundation/PropertyValue.h"
#include "engine/foundation/Ref.h"

namespace {

Ref<PropertyValue> Value(const char* text) { return PropertyValue::FromString("key", text, false); }

// Each kind of media number keeps what lies in its range and reads anything
// else (far out, not a number, a word) as the nearer end, or 0.
TEST(MediaNumbersTest, NumbersOutsideTheirRangeReadAsTheNearerEnd) {
    const struct {
        const char* text;
        int32_t position;
        int32_t side;
        int32_t time;
    } cases[] = {
        {"250", 250, 250, 250},
        {"-40", -40, 0, 0},
        {"2147483647", media_numbers::kPositionLimit, media_numbers::kLargestPictureSide, media_numbers::kLongestTimeMs},
        {"-2147483648", -media_numbers::kPositionLimit, 0, 0},
        {"word", 0, 0, 0},
    };
    for (const auto& c : cases) {
        const Ref<PropertyValue> value = Value(c.text);
        EXPECT_EQ(media_numbers::Position(value.Get()), c.position) << c.text;
        EXPECT_EQ(media_numbers::PictureSide(value.Get()), c.side) << c.text;
        EXPECT_EQ(media_numbers::TimeMs(value.Get()), c.time) << c.text;
    }
    EXPECT_EQ(media_numbers::Position(nullptr), 0);
}

TEST(MediaNumbersTest, FloatPositionsAreHeldAndNotANumberReadsAsZero) {
    const struct {
        const char* text;
        float read;
    } cases[] = {{"12.5", 12.5f}, {"4294967296", 100000.0f}, {"-1e30", -100000.0f}, {"NaN", 0.0f}};
    for (const auto& c : cases) {
        EXPECT_EQ(media_numbers::PositionF(Value(c.text).Get()), c.read) << c.text;
    }
}

}  // namespace
