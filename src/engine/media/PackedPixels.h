#pragma once

#include <cstdint>
#include <cstring>

#include "engine/media/RowVariant.h"

// Pixels handled as vectors of lanes. Every helper here is forced inline, in
// every build type: the AVX2 copy of a row passes 32-byte vectors to them,
// and a real call would pass those under another calling convention than
// the helper, built for the baseline, expects. Nothing here calls a function
// that takes or returns a vector, so the note GCC makes about that
// convention does not apply.
#if defined(__clang__)
#pragma clang diagnostic ignored "-Wpsabi"
#else
#pragma GCC diagnostic ignored "-Wpsabi"
#endif
#define PIXEL_INLINE __attribute__((always_inline)) inline
// The same for a lambda that takes or gives vectors, placed after its parameters.
#define PIXEL_INLINE_LAMBDA __attribute__((always_inline))

// ---- Two pixels widened to 16-bit lanes (blue, green, red, alpha of each, as
// they lie in memory). A blend is computed as (d * (256 - w) + s * w) >> 8,
// which equals d + floor((s - d) * w / 256) and never leaves 16 bits.

using PairLanes = uint16_t __attribute__((vector_size(16)));
using PairBytes = uint8_t __attribute__((vector_size(8)));

PIXEL_INLINE PairLanes LoadPair(const uint32_t* pixels) {
    PairBytes bytes;
    std::memcpy(&bytes, pixels, sizeof bytes);
    return __builtin_convertvector(bytes, PairLanes);
}

PIXEL_INLINE void StorePair(uint32_t* pixels, PairLanes lanes) {
    const PairBytes bytes = __builtin_convertvector(lanes, PairBytes);
    std::memcpy(pixels, &bytes, sizeof bytes);
}

// Weights for the colour lanes of both pixels, alpha lanes 0.
PIXEL_INLINE PairLanes ColourWeights(uint16_t first, uint16_t second) {
    return PairLanes{first, first, first, 0, second, second, second, 0};
}

// Per lane d + floor((s - d) * w / 256) for weights 0..256.
template <typename Lanes>
PIXEL_INLINE Lanes BlendLanes(Lanes destination, Lanes source, Lanes weights) {
    return (destination * (256 - weights) + source * weights) >> 8;
}

// ---- kPixels pixels in one register: 4 for the baseline, 8 for AVX2. The
// colour bytes are split by parity into two vectors of 16-bit lanes (blue
// and red, green and alpha), so blends need no shuffles and no widening.

// The same kPixels pixels as 32-, 16-, 8- and 64-bit lanes.
template <int kPixels>
struct PixelLanes;

template <>
struct PixelLanes<4> {
    using Words = uint32_t __attribute__((vector_size(16)));
    using Halves = uint16_t __attribute__((vector_size(16)));
    using Bytes = uint8_t __attribute__((vector_size(16)));
    using Longs = uint64_t __attribute__((vector_size(16)));
};

template <>
struct PixelLanes<8> {
    using Words = uint32_t __attribute__((vector_size(32)));
    using Halves = uint16_t __attribute__((vector_size(32)));
    using Bytes = uint8_t __attribute__((vector_size(32)));
    using Longs = uint64_t __attribute__((vector_size(32)));
};

template <int kPixels>
struct PixelBlock {
    using Words = typename PixelLanes<kPixels>::Words;
    using Halves = typename PixelLanes<kPixels>::Halves;
    using Bytes = typename PixelLanes<kPixels>::Bytes;
    using Longs = typename PixelLanes<kPixels>::Longs;

    static constexpr uint32_t kAlpha = 0xFF000000u;
    static constexpr uint32_t kEvenBytes = 0x00FF00FFu;

    PIXEL_INLINE static Words Load(const uint32_t* pixels) {
        Words words;
        std::memcpy(&words, pixels, sizeof words);
        return words;
    }

    PIXEL_INLINE static void Store(uint32_t* pixels, Words words) { std::memcpy(pixels, &words, sizeof words); }

    template <typename To, typename From>
    PIXEL_INLINE static To As(From lanes) {
        return __builtin_bit_cast(To, lanes);
    }

    PIXEL_INLINE static bool AllZero(Words words) {
        const Longs longs = As<Longs>(words);
        uint64_t any = 0;
        for (int k = 0; k < kPixels / 2; ++k) {
            any |= longs[k];
        }
        return any == 0;
    }

    // Each pixel's value in the other pixel of its pair (pixels 0 and 1, 2 and 3, ...).
    PIXEL_INLINE static Words PairPartner(Words words) {
        if constexpr (kPixels == 4) {
            return __builtin_shufflevector(words, words, 1, 0, 3, 2);
        } else {
            return __builtin_shufflevector(words, words, 1, 0, 3, 2, 5, 4, 7, 6);
        }
    }

    // Weights (alpha x level) >> 8 from the source's alpha bytes, where a pair
    // whose two weights are both 254 gets 256, its source taken whole.
    PIXEL_INLINE static Words PairRuleWeights(Words source, uint32_t level) {
        const Halves alpha = As<Halves>(source >> 24);
        const Words weights = As<Words>(alpha * static_cast<uint16_t>(level)) >> 8;
        const Words is254 = As<Words>(weights == 254);
        return weights + (is254 & PairPartner(is254) & 2);
    }

    // The source's colour bytes over the destination's alpha bytes.
    PIXEL_INLINE static Words KeepAlpha(Words destination, Words source) {
        return (destination & kAlpha) | (source & ~kAlpha);
    }

    // Per colour byte d + floor((s - d) * w / 256) with each pixel's weight
    // 0..256; the alpha bytes are kept.
    PIXEL_INLINE static Words Blend(Words destination, Words source, Words weights) {
        const Halves blueRed = BlendLanes(As<Halves>(destination & kEvenBytes), As<Halves>(source & kEvenBytes),
                                          As<Halves>(weights | (weights << 16)));
        const Halves greenAlpha = BlendLanes(As<Halves>((destination >> 8) & kEvenBytes),
                                             As<Halves>((source >> 8) & kEvenBytes), As<Halves>(weights));
        return As<Words>(blueRed | (greenAlpha << 8));
    }

    // Per colour byte (s x w) >> 8 with each pixel's weight 0..256; alpha 0.
    PIXEL_INLINE static Words Scale(Words source, Words weights) {
        const Halves blueRed = (As<Halves>(source & kEvenBytes) * As<Halves>(weights | (weights << 16))) >> 8;
        const Halves greenAlpha = (As<Halves>((source >> 8) & kEvenBytes) * As<Halves>(weights)) >> 8;
        return As<Words>(blueRed | (greenAlpha << 8));
    }

    // min(255, a + b) per byte.
    PIXEL_INLINE static Words AddSaturated(Words a, Words b) {
        const Bytes x = As<Bytes>(a);
        const Bytes room = ~As<Bytes>(b);
        return As<Words>((x < room ? x : room) + As<Bytes>(b));
    }
};

// Walks a row's whole runs of four blocks, judged at once by the source's
// alpha bytes, since pictures have long transparent and opaque stretches: a
// run all transparent is skipped, a run all opaque goes to whole(offset,
// source) block by block when opaqueWhole, any other to each(offset,
// source). Gives the first pixel no run covered.
template <int kPixels, typename Whole, typename Each>
PIXEL_INLINE int32_t ForEachRunOfBlocks(const uint32_t* from, int32_t w, bool opaqueWhole, Whole whole, Each each) {
    using Block = PixelBlock<kPixels>;
    constexpr int kRun = 4;
    int32_t i = 0;
    for (; i + kRun * kPixels <= w; i += kRun * kPixels) {
        typename Block::Words sources[kRun];
        typename Block::Words any{};
        typename Block::Words all = ~typename Block::Words{};
        for (int k = 0; k < kRun; ++k) {
            sources[k] = Block::Load(from + i + k * kPixels);
            any |= sources[k];
            all &= sources[k];
        }
        if (Block::AllZero(any & Block::kAlpha)) {
            continue;
        }
        const bool opaque = opaqueWhole && Block::AllZero((all & Block::kAlpha) ^ Block::kAlpha);
        for (int k = 0; k < kRun; ++k) {
            if (opaque) {
                whole(i + k * kPixels, sources[k]);
            } else {
                each(i + k * kPixels, sources[k]);
            }
        }
    }
    return i;
}

// ---- The two builds of a row. A row is a type with a static, forced-inline
// Run<kPixels>(arguments...); SelectRow gives the function that runs it
// built for the active variant. Only pointers and integers cross the call.

template <typename Row, typename... Arguments>
void RunBaselineRow(Arguments... arguments) {
    Row::template Run<4>(arguments...);
}

#if defined(__x86_64__)
template <typename Row, typename... Arguments>
__attribute__((target("avx2"))) void RunAvx2Row(Arguments... arguments) {
    Row::template Run<8>(arguments...);
}
#endif

template <typename Row, typename... Arguments>
auto SelectRow() -> void (*)(Arguments...) {
#if defined(__x86_64__)
    if (ActiveRowVariant() == RowVariant::kAvx2) {
        return &RunAvx2Row<Row, Arguments...>;
    }
#endif
    return &RunBaselineRow<Row, Arguments...>;
}
