#include "engine/media/AdditiveBlit.h"

#include <algorithm>

#include "engine/media/AlphaMemorySurface.h"
#include "engine/media/BlitClip.h"
#include "engine/media/Canvas.h"
#include "engine/media/PackedPixels.h"
#include "engine/media/Surface.h"

namespace {

// min(255, d + ((s * a) >> 8)) per colour byte; a lone pixel never takes the
// unscaled sum.
uint32_t AddPixel32(uint32_t d, uint32_t s, uint32_t a) {
    uint32_t result = d & 0xFF000000u;
    for (uint32_t shift = 0; shift < 24; shift += 8) {
        const uint32_t sum = ((d >> shift) & 0xFF) + ((((s >> shift) & 0xFF) * a) >> 8);
        result |= std::min(sum, 255u) << shift;
    }
    return result;
}

// The sum at weight (source alpha x alpha) >> 8; opaque pairs at full alpha
// add the source unscaled (weight 256 is s exactly).
struct AddRow {
    template <int kPixels>
    PIXEL_INLINE static void Run(const uint32_t* from, uint32_t* to, int32_t w, uint32_t alpha) {
        using Block = PixelBlock<kPixels>;
        // Only opaque pixels at the full level weigh 254, so a run of them adds its colours unscaled.
        int32_t i = ForEachRunOfBlocks<kPixels>(
            from, w, alpha == 255,
            [to](int32_t at, typename Block::Words source) PIXEL_INLINE_LAMBDA {
                Block::Store(to + at, Block::AddSaturated(Block::Load(to + at), source & ~Block::kAlpha));
            },
            [to, alpha](int32_t at, typename Block::Words source)
                PIXEL_INLINE_LAMBDA { AddBlock<kPixels>(source, to + at, alpha); });
        for (; i + kPixels <= w; i += kPixels) {
            AddBlock<kPixels>(Block::Load(from + i), to + i, alpha);
        }
        for (; i + 1 < w; i += 2) {
            const uint32_t a0 = ((from[i] >> 24) * alpha) >> 8;
            const uint32_t a1 = ((from[i + 1] >> 24) * alpha) >> 8;
            const bool unscaled = a0 == 254 && a1 == 254;
            to[i] = AddPixel32(to[i], from[i], unscaled ? 256 : a0);
            to[i + 1] = AddPixel32(to[i + 1], from[i + 1], unscaled ? 256 : a1);
        }
        if (i < w) {
            to[i] = AddPixel32(to[i], from[i], ((from[i] >> 24) * alpha) >> 8);
        }
    }

    template <int kPixels>
    PIXEL_INLINE static void AddBlock(typename PixelBlock<kPixels>::Words source, uint32_t* to, uint32_t alpha) {
        using Block = PixelBlock<kPixels>;
        const typename Block::Words weights = Block::PairRuleWeights(source, alpha);
        if (Block::AllZero(weights)) {
            return;
        }
        const typename Block::Words added =
            Block::AllZero(weights ^ 256) ? source & ~Block::kAlpha : Block::Scale(source, weights);
        Block::Store(to, Block::AddSaturated(Block::Load(to), added));
    }
};

uint16_t AddPixel16(uint16_t d, uint16_t s, uint32_t a) {
    const uint32_t red = std::min<uint32_t>(31, (d >> 11) + (((s >> 11) * a) >> 8));
    const uint32_t green = std::min<uint32_t>(63, ((d >> 5) & 0x3F) + ((((s >> 5) & 0x3F) * a) >> 8));
    const uint32_t blue = std::min<uint32_t>(31, (d & 0x1F) + (((s & 0x1F) * a) >> 8));
    return static_cast<uint16_t>(red << 11 | green << 5 | blue);
}

void AddRow16(const uint16_t* from, const uint8_t* alphaBytes, uint16_t* to, int32_t w, uint32_t alpha) {
    const int32_t groups = w & ~3;
    int32_t i = 0;
    for (; i < groups; i += 4) {
        if ((alphaBytes[i] | alphaBytes[i + 1] | alphaBytes[i + 2] | alphaBytes[i + 3]) == 0) {
            continue;
        }
        for (int32_t k = i; k < i + 4; ++k) {
            to[k] = AddPixel16(to[k], from[k], (alphaBytes[k] * alpha) >> 8);
        }
    }
    for (; i < w; ++i) {
        to[i] = AddPixel16(to[i], from[i], (alphaBytes[i] * alpha) >> 8);
    }
}

void Add32(Surface& source, int32_t sourceX, int32_t sourceY, int32_t w, int32_t h, Surface& destination, int32_t x,
           int32_t y, uint32_t alpha) {
    ScopedSurfaceLock sourceLock(source);
    ScopedSurfaceLock destinationLock(destination);
    const uint32_t* from = source.Pixels32KeepingAlpha() + source.PixelIndex(sourceX, sourceY);
    uint32_t* to = destination.Pixels32KeepingAlpha() + destination.PixelIndex(x, y);
    const auto row = SelectRow<AddRow, const uint32_t*, uint32_t*, int32_t, uint32_t>();
    for (int32_t j = 0; j < h; ++j, from += source.PitchIn32(), to += destination.PitchIn32()) {
        row(from, to, w, alpha);
    }
}

void Add16(AlphaMemorySurface& source, int32_t sourceX, int32_t sourceY, int32_t w, int32_t h,
           AlphaMemorySurface& destination, int32_t x, int32_t y, uint32_t alpha) {
    if (source.GetAlphaBuffer() == nullptr) {
        return;
    }
    ScopedSurfaceLock sourceLock(source);
    ScopedSurfaceLock destinationLock(destination);
    const int32_t start = source.PixelIndex(sourceX, sourceY);
    const uint16_t* from = source.Pixels16() + start;
    const uint8_t* alphaBytes = source.GetAlphaBuffer() + start;
    uint16_t* to = destination.Pixels16() + destination.PixelIndex(x, y);
    for (int32_t j = 0; j < h; ++j) {
        AddRow16(from, alphaBytes, to, w, alpha);
        from += source.PitchIn16();
        alphaBytes += source.PitchIn16();
        to += destination.PitchIn16();
    }
}

}  // namespace

void AdditiveBlit(Surface& source, int32_t sourceX, int32_t sourceY, int32_t w, int32_t h, Surface& destination,
                  int32_t x, int32_t y, int32_t alpha, const Rect* clip) {
    const Rect area = clip != nullptr ? *clip : Rect{0, 0, destination.GetWidth(), destination.GetHeight()};
    if (alpha <= 0 || !ClipBlit(destination.GetWidth(), destination.GetHeight(), area, source.GetWidth(),
                                source.GetHeight(), x, y, sourceX, sourceY, w, h)) {
        return;
    }
    const auto level = static_cast<uint32_t>(std::min(alpha, 255));
    if (auto* destination16 = ObjectCast<AlphaMemorySurface>(&destination)) {
        if (source.GetDisplayCopy()->GetPixelFormat().bytesPerPixel != 2) {
            destination16->CreateCanvas()->PrepareSurface(source);
        }
        if (auto* copy = ObjectCast<AlphaMemorySurface>(source.GetDisplayCopy())) {
            Add16(*copy, sourceX, sourceY, w, h, *destination16, x, y, level);
        }
        return;
    }
    Add32(source, sourceX, sourceY, w, h, destination, x, y, level);
}
