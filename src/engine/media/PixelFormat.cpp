#include "engine/media/PixelFormat.h"

#include <bit>

void AnalysePixelMasks(PixelFormat& format) {
    for (int channel = 0; channel < 4; ++channel) {
        const uint32_t mask = format.masks[channel];
        if (mask == 0) {
            format.losses[channel] = 8;
            format.shifts[channel] = 0;
            continue;
        }
        const int low = std::countr_zero(mask);
        const int high = 31 - std::countl_zero(mask);
        format.shifts[channel] = static_cast<uint32_t>(low);
        format.losses[channel] = static_cast<uint32_t>(8 - (high - low + 1));
    }
}

uint32_t PackColour(const PixelFormat& format, uint32_t colour) {
    static constexpr int kByteShift[4] = {24, 16, 8, 0};
    uint32_t pixel = 0;
    for (int channel = 0; channel < 4; ++channel) {
        const uint32_t value = (colour >> kByteShift[channel]) & 0xFF;
        // A loss of 8 drops the channel; shifting a 32-bit value by 32 or more is not defined.
        const uint32_t loss = format.losses[channel];
        const uint32_t kept = loss >= 8 ? 0 : value >> loss;
        pixel |= (kept << format.shifts[channel]) & format.masks[channel];
    }
    return pixel;
}

namespace {
PixelFormat Analysed(uint32_t bytes, uint32_t alpha, uint32_t red, uint32_t green, uint32_t blue) {
    PixelFormat format;
    format.bytesPerPixel = bytes;
    format.masks[kAlpha] = alpha;
    format.masks[kRed] = red;
    format.masks[kGreen] = green;
    format.masks[kBlue] = blue;
    AnalysePixelMasks(format);
    return format;
}
}  // namespace

PixelFormat Format32() {
    static const PixelFormat format = Analysed(4, 0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF);
    return format;
}

PixelFormat Format565() {
    static const PixelFormat format = Analysed(2, 0, 0xF800, 0x07E0, 0x001F);
    return format;
}
