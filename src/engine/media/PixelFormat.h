#pragma once

#include <cstdint>

// Channel indices shared by every channel operation.
enum Channel : int32_t { kAlpha = 0, kRed = 1, kGreen = 2, kBlue = 3 };

// How a pixel stores its channels, indexed by Channel: the mask of each
// channel, the low bits an 8-bit value loses, and the position of its lowest bit.
struct PixelFormat {
    uint32_t bytesPerPixel = 0;
    uint32_t masks[4] = {};
    uint32_t losses[4] = {};
    uint32_t shifts[4] = {};

    friend bool operator==(const PixelFormat&, const PixelFormat&) = default;
};

// Fills in the losses and shifts from the masks; a zero mask loses all 8 bits.
void AnalysePixelMasks(PixelFormat& format);

// Packs 0xAARRGGBB into one pixel of the format.
uint32_t PackColour(const PixelFormat& format, uint32_t colour);

// 0xAARRGGBB in 32 bits, and red 5, green 6, blue 5 bits with no alpha.
PixelFormat Format32();
PixelFormat Format565();
