#pragma once

#include <cstdint>

// The per-pixel arithmetic every raster routine shares. 32-bit pixels are
// 0xAARRGGBB; 16-bit pixels are red 5, green 6, blue 5 bits.

inline constexpr uint32_t kAlphaMask32 = 0xFF000000u;
inline constexpr uint32_t kColourMask32 = 0x00FFFFFFu;

// Bit position and byte mask of a channel index (0 alpha, 1 red, 2 green, 3 blue).
constexpr uint32_t ChannelShift(int32_t channel) { return static_cast<uint32_t>(24 - 8 * channel); }
constexpr uint32_t ChannelMask(int32_t channel) { return 0xFFu << ChannelShift(channel); }

// Replaces one byte of a 32-bit value; an index outside 0..3 changes nothing.
constexpr uint32_t SetColourChannel(uint32_t colour, int32_t channel, uint32_t value) {
    if (channel < 0 || channel > 3) {
        return colour;
    }
    return (colour & ~ChannelMask(channel)) | ((value & 0xFF) << ChannelShift(channel));
}

constexpr uint32_t GetColourChannel(uint32_t colour, int32_t channel) {
    return channel < 0 || channel > 3 ? 0 : (colour >> ChannelShift(channel)) & 0xFF;
}

// The source's colour channels over the destination's alpha byte.
constexpr uint32_t KeepAlpha(uint32_t destination, uint32_t source) {
    return (destination & kAlphaMask32) | (source & kColourMask32);
}

// d + floor((s - d) * a / 256) on one field; the shift of a negative product floors.
constexpr uint32_t BlendField(uint32_t d, uint32_t s, int32_t a) {
    return static_cast<uint32_t>(static_cast<int32_t>(d) +
                                 ((static_cast<int32_t>(s) - static_cast<int32_t>(d)) * a >> 8));
}

// The blend of the colour channels for a weight in 1..254, destination alpha kept.
constexpr uint32_t BlendColour32(uint32_t d, uint32_t s, int32_t a) {
    const uint32_t r = BlendField((d >> 16) & 0xFF, (s >> 16) & 0xFF, a);
    const uint32_t g = BlendField((d >> 8) & 0xFF, (s >> 8) & 0xFF, a);
    const uint32_t b = BlendField(d & 0xFF, s & 0xFF, a);
    return (d & kAlphaMask32) | (r << 16) | (g << 8) | b;
}

// The blend rule with its two exact ends: weight 0 keeps the pixel, 255 takes the colour.
constexpr uint32_t BlendRule32(uint32_t d, uint32_t s, int32_t a) {
    if (a <= 0) {
        return d;
    }
    if (a >= 255) {
        return KeepAlpha(d, s);
    }
    return BlendColour32(d, s, a);
}

// The 16-bit blend, field by field; it needs no cases of its own at 0 or 255.
constexpr uint16_t Blend16(uint16_t d, uint16_t s, int32_t a) {
    const uint32_t r = BlendField(d >> 11, s >> 11, a);
    const uint32_t g = BlendField((d >> 5) & 0x3F, (s >> 5) & 0x3F, a);
    const uint32_t b = BlendField(d & 0x1F, s & 0x1F, a);
    return static_cast<uint16_t>((r << 11) | (g << 5) | b);
}

// 0xRRGGBB to red 5, green 6, blue 5 bits.
constexpr uint16_t Pack565(uint32_t colour) {
    return static_cast<uint16_t>(((colour >> 8) & 0xF800) | ((colour >> 5) & 0x07E0) | ((colour >> 3) & 0x001F));
}
