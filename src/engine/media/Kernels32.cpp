#include "engine/media/Kernels32.h"

#include <algorithm>

#include "engine/media/ChannelMap.h"
#include "engine/media/KnownAlpha.h"
#include "engine/media/PackedPixels.h"
#include "engine/media/PixelMath.h"
#include "engine/media/Surface.h"

namespace Kernels32 {
namespace {

// Runs row(source row, destination row) over the block, source locked first.
template <typename Row>
void ForEachRow(Surface& source, Surface& destination, AlphaBytes alpha, int32_t sourceX, int32_t sourceY,
                int32_t h, int32_t x, int32_t y, Row row) {
    ScopedSurfaceLock sourceLock(source);
    ScopedSurfaceLock destinationLock(destination);
    const uint32_t* from = source.Pixels32KeepingAlpha() + source.PixelIndex(sourceX, sourceY);
    uint32_t* to = DestinationPixels(destination, alpha) + destination.PixelIndex(x, y);
    const int32_t sourceStep = source.PitchIn32();
    const int32_t destinationStep = destination.PitchIn32();
    for (int32_t j = 0; j < h; ++j, from += sourceStep, to += destinationStep) {
        row(from, to);
    }
}

PIXEL_INLINE uint32_t SourceWeight(uint32_t pixel, uint32_t alpha) {
    return ((pixel >> 24) * alpha) >> 8;
}

// Weighted by (source alpha x alpha) >> 8; a pair both at 254 is copied.
struct AlphaRow {
    template <int kPixels>
    PIXEL_INLINE static void Run(const uint32_t* from, uint32_t* to, int32_t w, uint32_t alpha) {
        using Block = PixelBlock<kPixels>;
        // Only opaque pixels at the full level weigh 254, so a run of them is copied whole.
        int32_t i = ForEachRunOfBlocks<kPixels>(
            from, w, alpha == 255,
            [to](int32_t at, typename Block::Words source) PIXEL_INLINE_LAMBDA {
                // With the source's alpha bytes all 255 the destination's alone survive the mask.
                Block::Store(to + at, source & (Block::Load(to + at) | ~Block::kAlpha));
            },
            [to, alpha](int32_t at, typename Block::Words source)
                PIXEL_INLINE_LAMBDA { DrawBlock<kPixels>(source, to + at, alpha); });
        for (; i + kPixels <= w; i += kPixels) {
            DrawBlock<kPixels>(Block::Load(from + i), to + i, alpha);
        }
        for (; i + 1 < w; i += 2) {
            const uint32_t a0 = SourceWeight(from[i], alpha);
            const uint32_t a1 = SourceWeight(from[i + 1], alpha);
            const bool copy = a0 == 254 && a1 == 254;
            to[i] = copy ? KeepAlpha(to[i], from[i]) : BlendColour32(to[i], from[i], static_cast<int32_t>(a0));
            to[i + 1] = copy ? KeepAlpha(to[i + 1], from[i + 1])
                             : BlendColour32(to[i + 1], from[i + 1], static_cast<int32_t>(a1));
        }
        if (i < w) {
            to[i] = BlendColour32(to[i], from[i], static_cast<int32_t>(SourceWeight(from[i], alpha)));
        }
    }

    template <int kPixels>
    PIXEL_INLINE static void DrawBlock(typename PixelBlock<kPixels>::Words source, uint32_t* to, uint32_t alpha) {
        using Block = PixelBlock<kPixels>;
        const typename Block::Words weights = Block::PairRuleWeights(source, alpha);
        if (Block::AllZero(weights)) {
            return;
        }
        const typename Block::Words destination = Block::Load(to);
        Block::Store(to, Block::AllZero(weights ^ 256) ? Block::KeepAlpha(destination, source)
                                                        : Block::Blend(destination, source, weights));
    }
};

// Colour channels copied, destination alpha kept; the alpha bytes read gathered.
struct OpaqueRow {
    template <int kPixels>
    PIXEL_INLINE static void Run(const uint32_t* from, uint32_t* to, int32_t w, AlphaSeen* seen) {
        using Block = PixelBlock<kPixels>;
        // Four blocks a step, all loads ahead of the stores.
        constexpr int kStep = 4;
        typename Block::Words all = ~typename Block::Words{};
        typename Block::Words any{};
        int32_t i = 0;
        for (; i + kStep * kPixels <= w; i += kStep * kPixels) {
            typename Block::Words sources[kStep];
            typename Block::Words destinations[kStep];
            for (int k = 0; k < kStep; ++k) {
                sources[k] = Block::Load(from + i + k * kPixels);
                destinations[k] = Block::Load(to + i + k * kPixels);
                all &= destinations[k];
                any |= destinations[k];
            }
            for (int k = 0; k < kStep; ++k) {
                Block::Store(to + i + k * kPixels, Block::KeepAlpha(destinations[k], sources[k]));
            }
        }
        seen->Add(all, any);
        for (; i < w; ++i) {
            seen->Add(to[i], to[i]);
            to[i] = KeepAlpha(to[i], from[i]);
        }
    }
};

// Colour channels copied over alpha bytes that are all alphaBits: the
// destination is not read. Loads and stores fall as in OpaqueRow, so a block
// drawn onto itself comes out the same.
struct OpaqueOverKnownAlphaRow {
    template <int kPixels>
    PIXEL_INLINE static void Run(const uint32_t* from, uint32_t* to, int32_t w, uint32_t alphaBits) {
        using Block = PixelBlock<kPixels>;
        constexpr int kStep = 4;
        int32_t i = 0;
        for (; i + kStep * kPixels <= w; i += kStep * kPixels) {
            typename Block::Words sources[kStep];
            for (int k = 0; k < kStep; ++k) {
                sources[k] = Block::Load(from + i + k * kPixels);
            }
            for (int k = 0; k < kStep; ++k) {
                Block::Store(to + i + k * kPixels, (sources[k] & ~Block::kAlpha) | alphaBits);
            }
        }
        for (; i < w; ++i) {
            to[i] = (from[i] & kColourMask32) | alphaBits;
        }
    }
};

void MaskPaintRow(const uint8_t* map, uint32_t* __restrict to, int32_t w, uint32_t colour, uint32_t alpha) {
    const uint32_t colours[2] = {colour, colour};
    const PairLanes colourLanes = LoadPair(colours);
    int32_t i = 0;
    for (; i + 1 < w; i += 2) {
        const uint32_t a0 = (map[i] * alpha) >> 8;
        const uint32_t a1 = (map[i + 1] * alpha) >> 8;
        if ((a0 | a1) == 0) {
            continue;
        }
        const PairLanes weights = ColourWeights(static_cast<uint16_t>(a0), static_cast<uint16_t>(a1));
        StorePair(to + i, BlendLanes(LoadPair(to + i), colourLanes, weights));
    }
    if (i < w) {
        to[i] = BlendColour32(to[i], colour, static_cast<int32_t>((map[i] * alpha) >> 8));
    }
}

void BlitFixedAlphaRow(const uint32_t* __restrict from, uint32_t* __restrict to, int32_t w, uint16_t alpha) {
    const PairLanes weights = {alpha, alpha, alpha, alpha, alpha, alpha, alpha, alpha};
    int32_t i = 0;
    for (; i + 1 < w; i += 2) {
        const PairLanes d = LoadPair(to + i);
        const PairLanes s = LoadPair(from + i);
        // Never above 255: d - (d * a >> 8) is largest at d = 255, where the sum is exactly 255.
        StorePair(to + i, d + ((s * weights) >> 8) - ((d * weights) >> 8));
    }
    if (i < w) {
        uint32_t result = 0;
        for (uint32_t shift = 0; shift < 32; shift += 8) {
            const uint32_t d = (to[i] >> shift) & 0xFF;
            const uint32_t s = (from[i] >> shift) & 0xFF;
            result |= (d + ((s * alpha) >> 8) - ((d * alpha) >> 8)) << shift;
        }
        to[i] = result;
    }
}

}  // namespace

void BlitOpaque(Surface& source, Surface& destination, int32_t sourceX, int32_t sourceY, int32_t w, int32_t h,
                int32_t x, int32_t y) {
    ScopedSurfaceLock sourceLock(source);
    ScopedSurfaceLock destinationLock(destination);
    const uint32_t* const from = source.Pixels32KeepingAlpha() + source.PixelIndex(sourceX, sourceY);
    uint32_t* const to = destination.Pixels32KeepingAlpha() + destination.PixelIndex(x, y);
    const int32_t sourceStep = source.PitchIn32();
    const int32_t destinationStep = destination.PitchIn32();
    DrawKeepingAlpha(
        destination, x, y, w, h,
        [&](uint32_t alphaBits) {
            const auto row = SelectRow<OpaqueOverKnownAlphaRow, const uint32_t*, uint32_t*, int32_t, uint32_t>();
            const uint32_t* sourceRow = from;
            uint32_t* destinationRow = to;
            for (int32_t j = 0; j < h; ++j, sourceRow += sourceStep, destinationRow += destinationStep) {
                row(sourceRow, destinationRow, w, alphaBits);
            }
        },
        [&](AlphaSeen& seen) {
            const auto row = SelectRow<OpaqueRow, const uint32_t*, uint32_t*, int32_t, AlphaSeen*>();
            const uint32_t* sourceRow = from;
            uint32_t* destinationRow = to;
            for (int32_t j = 0; j < h; ++j, sourceRow += sourceStep, destinationRow += destinationStep) {
                row(sourceRow, destinationRow, w, &seen);
            }
        });
}

void BlitFixedAlpha(Surface& source, Surface& destination, int32_t sourceX, int32_t sourceY, int32_t w,
                    int32_t h, int32_t x, int32_t y, int32_t alpha) {
    ForEachRow(source, destination, AlphaBytes::kChanged, sourceX, sourceY, h, x, y,
               [w, alpha](const uint32_t* from, uint32_t* to) {
        BlitFixedAlphaRow(from, to, w, static_cast<uint16_t>(alpha));
    });
}

void BlitAlpha(Surface& source, Surface& destination, int32_t sourceX, int32_t sourceY, int32_t w, int32_t h,
               int32_t x, int32_t y, int32_t alpha) {
    const auto row = SelectRow<AlphaRow, const uint32_t*, uint32_t*, int32_t, uint32_t>();
    ForEachRow(source, destination, AlphaBytes::kKept, sourceX, sourceY, h, x, y,
               [w, alpha, row](const uint32_t* from, uint32_t* to) {
        row(from, to, w, static_cast<uint32_t>(alpha));
    });
}

void MaskPaint(const ChannelMap& map, Surface& destination, int32_t sourceX, int32_t sourceY, int32_t w,
               int32_t h, int32_t x, int32_t y, uint32_t colour, int32_t alpha) {
    ScopedSurfaceLock lock(destination);
    const uint8_t* from = map.GetBytes() + static_cast<size_t>(sourceY) * map.GetWidth() + sourceX;
    uint32_t* to = destination.Pixels32KeepingAlpha() + destination.PixelIndex(x, y);
    for (int32_t j = 0; j < h; ++j, from += map.GetWidth(), to += destination.PitchIn32()) {
        MaskPaintRow(from, to, w, colour, static_cast<uint32_t>(alpha));
    }
}

void CopyRect(Surface& source, Surface& destination, int32_t sourceX, int32_t sourceY, int32_t w, int32_t h,
              int32_t x, int32_t y) {
    ForEachRow(source, destination, AlphaBytes::kChanged, sourceX, sourceY, h, x, y,
               [w](const uint32_t* from, uint32_t* to) { std::copy_n(from, w, to); });
}

void ChannelBlit(ChannelOp op, int32_t channel, Surface& source, Surface& destination, int32_t sourceX,
                 int32_t sourceY, int32_t w, int32_t h, int32_t x, int32_t y) {
    const uint32_t mask = ChannelMask(channel);
    ForEachRow(source, destination, AlphaBytes::kChanged, sourceX, sourceY, h, x, y,
               [=](const uint32_t* from, uint32_t* to) {
        for (int32_t i = 0; i < w; ++i) {
            const uint32_t s = from[i] & mask;
            const uint32_t d = to[i] & mask;
            const bool replace = op == ChannelOp::kCopy || (op == ChannelOp::kMin ? s < d : d < s);
            to[i] = replace ? (to[i] & ~mask) | s : to[i];
        }
    });
}

void ChannelFromMap(const ChannelMap& map, int32_t channel, Surface& destination, int32_t sourceX,
                    int32_t sourceY, int32_t w, int32_t h, int32_t x, int32_t y) {
    ScopedSurfaceLock lock(destination);
    const uint32_t shift = ChannelShift(channel);
    const uint32_t keep = ~ChannelMask(channel);
    const uint8_t* from = map.GetBytes() + static_cast<size_t>(sourceY) * map.GetWidth() + sourceX;
    uint32_t* to = destination.Pixels32() + destination.PixelIndex(x, y);
    for (int32_t j = 0; j < h; ++j, from += map.GetWidth(), to += destination.PitchIn32()) {
        for (int32_t i = 0; i < w; ++i) {
            to[i] = (to[i] & keep) | (uint32_t{from[i]} << shift);
        }
    }
}

}  // namespace Kernels32
