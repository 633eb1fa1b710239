#include "engine/media/SoftBlit.h"

#include <algorithm>
#include <cmath>

#include "engine/media/KnownAlpha.h"
#include "engine/media/LineWalk.h"
#include "engine/media/PackedPixels.h"
#include "engine/media/PixelMath.h"
#include "engine/media/RotateScaleRows.h"
#include "engine/media/RotateScaleWalk.h"
#include "engine/media/Surface.h"

namespace SoftBlit {
namespace {

// Runs destination = combine(destination, source) over a w x h block.
template <typename Combine>
void ForEachBlockPixel(Surface& source, Surface& destination, AlphaBytes alpha, int32_t sourceX, int32_t sourceY,
                       int32_t w, int32_t h, int32_t x, int32_t y, Combine combine) {
    ScopedSurfaceLock sourceLock(source);
    ScopedSurfaceLock destinationLock(destination);
    const uint32_t* from = source.Pixels32KeepingAlpha() + source.PixelIndex(sourceX, sourceY);
    uint32_t* to = DestinationPixels(destination, alpha) + destination.PixelIndex(x, y);
    for (int32_t row = 0; row < h; ++row) {
        for (int32_t i = 0; i < w; ++i) {
            to[i] = combine(to[i], from[i]);
        }
        from += source.PitchIn32();
        to += destination.PitchIn32();
    }
}

template <typename Paint>
void ForEachRectPixel(Surface& surface, AlphaBytes alpha, int32_t x, int32_t y, int32_t w, int32_t h, Paint paint) {
    ScopedSurfaceLock lock(surface);
    uint32_t* row = DestinationPixels(surface, alpha) + surface.PixelIndex(x, y);
    for (int32_t j = 0; j < h; ++j, row += surface.PitchIn32()) {
        for (int32_t i = 0; i < w; ++i) {
            row[i] = paint(row[i]);
        }
    }
}

// The colour over each pixel's own alpha byte, the alpha bytes read gathered.
struct OpaqueFillRow {
    template <int kPixels>
    PIXEL_INLINE static void Run(uint32_t* row, int32_t w, uint32_t colour, AlphaSeen* seen) {
        using Block = PixelBlock<kPixels>;
        // Four blocks a step, all loads ahead of the stores.
        constexpr int kStep = 4;
        typename Block::Words all = ~typename Block::Words{};
        typename Block::Words any{};
        int32_t i = 0;
        for (; i + kStep * kPixels <= w; i += kStep * kPixels) {
            typename Block::Words pixels[kStep];
            for (int k = 0; k < kStep; ++k) {
                pixels[k] = Block::Load(row + i + k * kPixels);
                all &= pixels[k];
                any |= pixels[k];
            }
            for (int k = 0; k < kStep; ++k) {
                Block::Store(row + i + k * kPixels, (pixels[k] & Block::kAlpha) | colour);
            }
        }
        seen->Add(all, any);
        for (; i < w; ++i) {
            seen->Add(row[i], row[i]);
            row[i] = (row[i] & kAlphaMask32) | colour;
        }
    }
};

// One pixel over the whole row, nothing read.
struct WholeFillRow {
    template <int kPixels>
    PIXEL_INLINE static void Run(uint32_t* row, int32_t w, uint32_t pixel) {
        using Block = PixelBlock<kPixels>;
        constexpr int kStep = 4;
        const typename Block::Words pixels = typename Block::Words{} + pixel;
        int32_t i = 0;
        for (; i + kStep * kPixels <= w; i += kStep * kPixels) {
            for (int k = 0; k < kStep; ++k) {
                Block::Store(row + i + k * kPixels, pixels);
            }
        }
        for (; i < w; ++i) {
            row[i] = pixel;
        }
    }
};

void RotateScaleBlit(Surface& source, Surface& destination, const RotateScale& blit, SampleWeighting weighting,
                     int32_t alpha) {
    // Only pixels inside both the source rectangle and the source surface are read.
    const Rect bounds = IntersectRect(blit.source, Rect{0, 0, source.GetWidth(), source.GetHeight()});
    if (bounds.IsEmpty()) {
        return;
    }
    const Rect clip = IntersectRect(blit.clip, Rect{0, 0, destination.GetWidth(), destination.GetHeight()});
    const RotateScaleWalk walk(source.GetWidth(), source.GetHeight(), blit.x, blit.y, blit.pivotX,
                               blit.pivotY, blit.angle, blit.scale, clip);
    ScopedSurfaceLock sourceLock(source);
    ScopedSurfaceLock destinationLock(destination);
    const RotateScaleSource sampling{source.Pixels32KeepingAlpha(), source.PitchIn32(), blit.source.x, blit.source.y, bounds,
                                     blit.smooth, weighting, alpha};
    const RotateScaleRow drawRow = SelectRotateScaleRow();
    uint32_t* to = destination.Pixels32KeepingAlpha();
    const int32_t destinationRow = destination.PitchIn32();
    walk.ForEachRow([&](int32_t x, int32_t y, int32_t width, uint32_t u, uint32_t v, uint32_t stepU, uint32_t stepV) {
        drawRow(sampling, to + y * destinationRow, x, width, u, v, stepU, stepV);
    });
}

void ScaleBlit(Surface& source, const Rect& sourceRect, Surface& destination, const Rect& destinationRect,
               const Rect& clip, SampleWeighting weighting, int32_t alpha) {
    const Rect area = IntersectRect(
        IntersectRect(destinationRect, clip), Rect{0, 0, destination.GetWidth(), destination.GetHeight()});
    if (area.IsEmpty() || destinationRect.w <= 0 || destinationRect.h <= 0) {
        return;
    }
    const auto stepX = static_cast<int32_t>(std::lrint(
        static_cast<float>(sourceRect.w) / static_cast<float>(destinationRect.w) * 1048576.0f));
    const auto stepY = static_cast<int32_t>(std::lrint(
        static_cast<float>(sourceRect.h) / static_cast<float>(destinationRect.h) * 1048576.0f));
    ScopedSurfaceLock sourceLock(source);
    ScopedSurfaceLock destinationLock(destination);
    const uint32_t* from = source.Pixels32KeepingAlpha();
    const int32_t sourceWidth = source.GetWidth();
    const int32_t sourceHeight = source.GetHeight();
    int64_t v = int64_t{sourceRect.y} * 1048576 + int64_t{area.y - destinationRect.y} * stepY;
    for (int32_t y = area.y; y < area.y + area.h; ++y, v += stepY) {
        uint32_t* row = destination.Pixels32KeepingAlpha() + destination.PixelIndex(0, y);
        const int64_t j = v >> 20;
        int64_t u = int64_t{sourceRect.x} * 1048576 + int64_t{area.x - destinationRect.x} * stepX;
        for (int32_t x = area.x; x < area.x + area.w; ++x, u += stepX) {
            const int64_t i = u >> 20;
            // A source rectangle reaching past the picture reads nothing outside it.
            if (i < 0 || i >= sourceWidth || j < 0 || j >= sourceHeight) {
                continue;
            }
            row[x] = DrawSample(row[x], from[j * sourceWidth + i], weighting, alpha);
        }
    }
}

}  // namespace

void BlitCopy(Surface& source, Surface& destination, int32_t sourceX, int32_t sourceY, int32_t w, int32_t h,
              int32_t x, int32_t y) {
    ForEachBlockPixel(source, destination, AlphaBytes::kChanged, sourceX, sourceY, w, h, x, y,
                      [](uint32_t, uint32_t s) { return s; });
}

void BlitSourceAlpha(Surface& source, Surface& destination, int32_t sourceX, int32_t sourceY, int32_t w,
                     int32_t h, int32_t x, int32_t y) {
    ForEachBlockPixel(source, destination, AlphaBytes::kKept, sourceX, sourceY, w, h, x, y,
                      [](uint32_t d, uint32_t s) { return BlendRule32(d, s, static_cast<int32_t>(s >> 24)); });
}

void BlitConstantAlpha(Surface& source, Surface& destination, int32_t sourceX, int32_t sourceY, int32_t w,
                       int32_t h, int32_t x, int32_t y, int32_t alpha) {
    ForEachBlockPixel(source, destination, AlphaBytes::kKept, sourceX, sourceY, w, h, x, y,
                      [alpha](uint32_t d, uint32_t s) { return BlendRule32(d, s, alpha); });
}

void BlitCombinedAlpha(Surface& source, Surface& destination, int32_t sourceX, int32_t sourceY, int32_t w,
                       int32_t h, int32_t x, int32_t y, int32_t alpha) {
    ForEachBlockPixel(source, destination, AlphaBytes::kKept, sourceX, sourceY, w, h, x, y, [alpha](uint32_t d, uint32_t s) {
        return BlendRule32(d, s, static_cast<int32_t>((s >> 24) * static_cast<uint32_t>(alpha)) >> 8);
    });
}

void RotateScaleCopy(Surface& source, Surface& destination, const RotateScale& blit) {
    RotateScaleBlit(source, destination, blit, SampleWeighting::kColourOnly, 255);
}

void RotateScaleConstantAlpha(Surface& source, Surface& destination, const RotateScale& blit, int32_t alpha) {
    RotateScaleBlit(source, destination, blit, SampleWeighting::kConstant, alpha);
}

void RotateScaleAlpha(Surface& source, Surface& destination, const RotateScale& blit, int32_t alpha) {
    RotateScaleBlit(source, destination, blit, SampleWeighting::kSourceAlpha, alpha);
}

void ScaleCopy(Surface& source, const Rect& sourceRect, Surface& destination, const Rect& destinationRect,
               const Rect& clip) {
    ScaleBlit(source, sourceRect, destination, destinationRect, clip, SampleWeighting::kColourOnly, 255);
}

void ScaleConstantAlpha(Surface& source, const Rect& sourceRect, Surface& destination,
                        const Rect& destinationRect, const Rect& clip, int32_t alpha) {
    ScaleBlit(source, sourceRect, destination, destinationRect, clip, SampleWeighting::kConstant, alpha);
}

void ScaleAlpha(Surface& source, const Rect& sourceRect, Surface& destination, const Rect& destinationRect,
                const Rect& clip, int32_t alpha) {
    ScaleBlit(source, sourceRect, destination, destinationRect, clip, SampleWeighting::kSourceAlpha, alpha);
}

void CopySurfaceRect32(Surface& source, Surface& destination, int32_t sourceX, int32_t sourceY, int32_t w,
                       int32_t h, int32_t x, int32_t y) {
    ScopedSurfaceLock sourceLock(source);
    ScopedSurfaceLock destinationLock(destination);
    const uint32_t* from = source.Pixels32KeepingAlpha() + sourceY * source.GetWidth() + sourceX;
    uint32_t* to = destination.Pixels32() + y * destination.GetWidth() + x;
    for (int32_t row = 0; row < h; ++row) {
        std::copy_n(from, w, to);
        from += source.GetWidth();
        to += destination.GetWidth();
    }
}

void PutPixel(Surface& surface, int32_t x, int32_t y, uint32_t colour) {
    ScopedSurfaceLock lock(surface);
    uint32_t& pixel = surface.Pixels32KeepingAlpha()[surface.PixelIndex(x, y)];
    pixel = KeepAlpha(pixel, colour);
}

void BlendPixel(Surface& surface, int32_t x, int32_t y, uint32_t colour, int32_t alpha) {
    ScopedSurfaceLock lock(surface);
    uint32_t& pixel = surface.Pixels32KeepingAlpha()[surface.PixelIndex(x, y)];
    pixel = BlendRule32(pixel, colour, alpha);
}

void PutChannel(Surface& surface, int32_t x, int32_t y, int32_t channel, uint32_t value) {
    ScopedSurfaceLock lock(surface);
    uint32_t& pixel = surface.Pixels32()[surface.PixelIndex(x, y)];
    pixel = SetColourChannel(pixel, channel, value);
}

void LineOpaque(Surface& surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) {
    ScopedSurfaceLock lock(surface);
    uint32_t* pixels = surface.Pixels32KeepingAlpha();
    WalkLine(x1, y1, x2, y2, [&](int32_t x, int32_t y) {
        uint32_t& pixel = pixels[surface.PixelIndex(x, y)];
        pixel = KeepAlpha(pixel, colour);
    });
}

void LineBlended(Surface& surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour,
                 int32_t alpha) {
    ScopedSurfaceLock lock(surface);
    uint32_t* pixels = surface.Pixels32KeepingAlpha();
    WalkLine(x1, y1, x2, y2, [&](int32_t x, int32_t y) {
        uint32_t& pixel = pixels[surface.PixelIndex(x, y)];
        pixel = BlendRule32(pixel, colour, alpha);
    });
}

void LineChannel(Surface& surface, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t channel,
                 uint32_t value) {
    ScopedSurfaceLock lock(surface);
    uint32_t* pixels = surface.Pixels32();
    WalkLine(x1, y1, x2, y2, [&](int32_t x, int32_t y) {
        uint32_t& pixel = pixels[surface.PixelIndex(x, y)];
        pixel = SetColourChannel(pixel, channel, value);
    });
}

void LineSmooth(Surface& surface, float x1, float y1, float x2, float y2, uint32_t colour) {
    WalkSmoothLine(x1, y1, x2, y2, surface.GetWidth(), surface.GetHeight(),
                   [&](int32_t x, int32_t y, int32_t weight) { BlendPixel(surface, x, y, colour, weight); });
}

void HLineOpaque(Surface& surface, int32_t x1, int32_t x2, int32_t y, uint32_t colour) {
    if (x2 > x1) {
        FillRectOpaque(surface, x1, y, x2 - x1, 1, colour);
    }
}

void FillChannelRect(Surface& surface, int32_t x, int32_t y, int32_t w, int32_t h, int32_t channel,
                     uint32_t value) {
    ForEachRectPixel(surface, AlphaBytes::kChanged, x, y, w, h,
                     [channel, value](uint32_t pixel) { return SetColourChannel(pixel, channel, value); });
}

void FillRectOpaque(Surface& surface, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour) {
    ScopedSurfaceLock lock(surface);
    uint32_t* const first = surface.Pixels32KeepingAlpha() + surface.PixelIndex(x, y);
    const int32_t pitch = surface.PitchIn32();
    DrawKeepingAlpha(
        surface, x, y, w, h,
        [&](uint32_t alphaBits) {
            const auto fill = SelectRow<WholeFillRow, uint32_t*, int32_t, uint32_t>();
            uint32_t* row = first;
            for (int32_t j = 0; j < h; ++j, row += pitch) {
                fill(row, w, alphaBits | (colour & kColourMask32));
            }
        },
        [&](AlphaSeen& seen) {
            const auto fill = SelectRow<OpaqueFillRow, uint32_t*, int32_t, uint32_t, AlphaSeen*>();
            uint32_t* row = first;
            for (int32_t j = 0; j < h; ++j, row += pitch) {
                fill(row, w, colour & kColourMask32, &seen);
            }
        });
}

void FillRectBlended(Surface& surface, int32_t x, int32_t y, int32_t w, int32_t h, uint32_t colour,
                     int32_t alpha) {
    ForEachRectPixel(surface, AlphaBytes::kKept, x, y, w, h,
                     [colour, alpha](uint32_t pixel) { return BlendRule32(pixel, colour, alpha); });
}

}  // namespace SoftBlit
