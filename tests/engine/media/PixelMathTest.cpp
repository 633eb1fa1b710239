#include <gtest/gtest.h>

#include "engine/media/PixelMath.h"

TEST(PixelMath, BlendFloorsThroughTheShift) {
    struct Case {
        uint32_t destination, source;
        int32_t weight;
        uint32_t expected;
    };
    const Case cases[] = {
        {0xFF000000, 0x00FFFFFF, 128, 0xFF7F7F7F},  // white over black
        {0xAAFFFFFF, 0x00000000, 128, 0xAA7F7F7F},  // black over white floors -127.5 to -128
        {0x00000000, 0xFFFFFFFF, 254, 0x00FDFDFD},
        {0x12345678, 0xFF9ABCDE, 0, 0x12345678},
        {0x12345678, 0x009ABCDE, 255, 0x129ABCDE},
        {0x00102030, 0x00302010, 1, 0x0010202F},  // a darkening weight of 1 still floors one step
        {0x00000000, 0x00FF0000, 64, 0x003F0000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(BlendRule32(c.destination, c.source, c.weight), c.expected)
            << std::hex << c.destination << " " << c.source << " " << std::dec << c.weight;
    }
}

TEST(PixelMath, SixteenBitBlendAndPacking) {
    EXPECT_EQ(Blend16(0x0000, 0xFFFF, 128), 0x7BEF);
    EXPECT_EQ(Blend16(0x0000, 0xFFFF, 255), (30 << 11) | (62 << 5) | 30);  // one step short at 255
    EXPECT_EQ(Blend16(0x1234, 0xFFFF, 0), 0x1234);
    EXPECT_EQ(Blend16(0xFFFF, 0x0000, 128), 0x7BEF);  // floor toward minus infinity: 31 - 15.5 -> 15
    EXPECT_EQ(Pack565(0xFFFFFF), 0xFFFF);
    EXPECT_EQ(Pack565(0x808080), 0x8410);
}

TEST(PixelMath, ChannelHelpers) {
    EXPECT_EQ(SetColourChannel(0x11223344, 0, 0x1AB), 0xAB223344u);
    EXPECT_EQ(SetColourChannel(0x11223344, 2, 0xFF), 0x1122FF44u);
    EXPECT_EQ(SetColourChannel(0x11223344, 4, 0xFF), 0x11223344u);
    EXPECT_EQ(GetColourChannel(0x11223344, 3), 0x44u);
}
