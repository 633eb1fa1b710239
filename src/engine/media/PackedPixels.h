#pragma once

#include <cstdint>
#include <cstring>

// Two 32-bit pixels widened to eight 16-bit lanes (blue, green, red, alpha of
// each, as they lie in memory), so the blend of a pair runs as a handful of
// vector operations. Every lane value stays below 65536: a blend is computed
// as (d * (256 - a) + s * a) >> 8, which equals d + floor((s - d) * a / 256).
using PairLanes = uint16_t __attribute__((vector_size(16)));
using PairBytes = uint8_t __attribute__((vector_size(8)));

inline PairLanes LoadPair(const uint32_t* pixels) {
    PairBytes bytes;
    std::memcpy(&bytes, pixels, sizeof bytes);
    return __builtin_convertvector(bytes, PairLanes);
}

inline void StorePair(uint32_t* pixels, PairLanes lanes) {
    const PairBytes bytes = __builtin_convertvector(lanes, PairBytes);
    std::memcpy(pixels, &bytes, sizeof bytes);
}

// Weights for the colour lanes of both pixels; the alpha lanes get 0 so the
// destination's alpha byte comes through unchanged.
inline PairLanes ColourWeights(uint16_t first, uint16_t second) {
    return PairLanes{first, first, first, 0, second, second, second, 0};
}

// Per lane d + floor((s - d) * w / 256) for weights 0..256.
inline PairLanes BlendLanes(PairLanes destination, PairLanes source, PairLanes weights) {
    const PairLanes full = {256, 256, 256, 256, 256, 256, 256, 256};
    return (destination * (full - weights) + source * weights) >> 8;
}
