#pragma once

#include <cstdint>
#include <cstring>

// Four-pixel vectors are wider than the baseline registers; they never cross
// a call boundary that is not inlined, so the note about their calling
// convention does not apply to the kernel files that include this.
//
// With GCC the hot rows are built twice, for the baseline and for AVX2, and
// the one the processor runs best is picked at start-up. Clang, which only
// builds the fuzz targets here, refuses wide vectors across the two builds'
// boundary, and the sanitizer runtimes are not ready when the start-up choice
// runs, so those builds have the rows once.
#if defined(__clang__)
#pragma clang diagnostic ignored "-Wpsabi"
#else
#pragma GCC diagnostic ignored "-Wpsabi"
#endif
#if defined(__clang__) || defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define WIDE_ROW
#else
#define WIDE_ROW __attribute__((target_clones("avx2", "default")))
#endif

// Pixels widened to 16-bit lanes (blue, green, red, alpha of each, as they lie
// in memory), so a blend runs as a handful of vector operations on several
// pixels at once. Every lane value stays below 65536: a blend is computed as
// (d * (256 - w) + s * w) >> 8, which equals d + floor((s - d) * w / 256).

// Two pixels.
using PairLanes = uint16_t __attribute__((vector_size(16)));
using PairBytes = uint8_t __attribute__((vector_size(8)));
// Four pixels, two pairs.
using QuadLanes = uint16_t __attribute__((vector_size(32)));
using QuadBytes = uint8_t __attribute__((vector_size(16)));
using QuadSigned = int16_t __attribute__((vector_size(32)));

inline PairLanes LoadPair(const uint32_t* pixels) {
    PairBytes bytes;
    std::memcpy(&bytes, pixels, sizeof bytes);
    return __builtin_convertvector(bytes, PairLanes);
}

inline void StorePair(uint32_t* pixels, PairLanes lanes) {
    const PairBytes bytes = __builtin_convertvector(lanes, PairBytes);
    std::memcpy(pixels, &bytes, sizeof bytes);
}

inline QuadLanes LoadQuad(const uint32_t* pixels) {
    QuadBytes bytes;
    std::memcpy(&bytes, pixels, sizeof bytes);
    return __builtin_convertvector(bytes, QuadLanes);
}

inline void StoreQuad(uint32_t* pixels, QuadLanes lanes) {
    const QuadBytes bytes = __builtin_convertvector(lanes, QuadBytes);
    std::memcpy(pixels, &bytes, sizeof bytes);
}

// The source's colour bytes over the destination's alpha bytes, four pixels at once.
inline void CopyColoursOfQuad(const uint32_t* from, uint32_t* to) {
    QuadBytes source;
    QuadBytes destination;
    std::memcpy(&source, from, sizeof source);
    std::memcpy(&destination, to, sizeof destination);
    const QuadBytes alpha = {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255};
    const QuadBytes result = (destination & alpha) | (source & ~alpha);
    std::memcpy(to, &result, sizeof result);
}

// Each pixel's alpha byte copied to its three colour lanes; its alpha lane 0,
// so that the destination's alpha byte comes through a blend unchanged.
inline QuadLanes SpreadAlpha(QuadLanes pixels) {
    const QuadLanes zero = {};
    return __builtin_shufflevector(pixels, zero, 3, 3, 3, 16, 7, 7, 7, 16, 11, 11, 11, 16, 15, 15, 15, 16);
}

// Each lane's value in the other pixel of its pair.
inline QuadLanes PairPartner(QuadLanes lanes) {
    return __builtin_shufflevector(lanes, lanes, 4, 5, 6, 7, 0, 1, 2, 3, 12, 13, 14, 15, 8, 9, 10, 11);
}

// Weights for the colour lanes of both pixels, alpha lanes 0.
inline PairLanes ColourWeights(uint16_t first, uint16_t second) {
    return PairLanes{first, first, first, 0, second, second, second, 0};
}

// Per lane d + floor((s - d) * w / 256) for weights 0..256.
template <typename Lanes>
inline Lanes BlendLanes(Lanes destination, Lanes source, Lanes weights) {
    return (destination * (256 - weights) + source * weights) >> 8;
}

// Weights (alpha x level) >> 8 from the source's alpha bytes, where a pair
// whose two weights are both 254 gets 256, its source taken whole.
inline QuadLanes PairRuleWeights(QuadLanes source, uint16_t level) {
    QuadLanes weights = (SpreadAlpha(source) * level) >> 8;
    const QuadLanes both254 = (weights == 254) & PairPartner(weights == 254);
    return weights + (both254 & 2);
}
