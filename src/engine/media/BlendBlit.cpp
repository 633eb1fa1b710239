#include "engine/media/BlendBlit.h"

#include <algorithm>

#include "engine/media/AlphaMemorySurface.h"
#include "engine/media/BlitClip.h"
#include "engine/media/PackedPixels.h"
#include "engine/media/Surface.h"

const char* const kBlendModeWords[kBlendModeCount] = {"alpha",  "additive", "substractive", "multiply",
                                                      "screen", "darken",   "lighten",      "burn",
                                                      "invburn", "dodge",   "overlay",      "softlight"};

namespace {

// The target value T of each mode for a source channel s and a destination
// channel d; a mode that leaves the channel alone gives d. Division rounds
// toward zero, shifts are arithmetic.
struct AlphaTarget {
    static int32_t Of(int32_t s, int32_t) { return s; }
};
struct SubtractiveTarget {
    static int32_t Of(int32_t s, int32_t d) { return s + d - 255; }
};
struct MultiplyTarget {
    static int32_t Of(int32_t s, int32_t d) { return (s * d) >> 8; }
};
struct ScreenTarget {
    static int32_t Of(int32_t s, int32_t d) { return 255 - (((255 - d) * (255 - s)) >> 8); }
};
struct DarkenTarget {
    static int32_t Of(int32_t s, int32_t d) { return d > s ? s : d; }
};
struct LightenTarget {
    static int32_t Of(int32_t s, int32_t d) { return d < s ? s : d; }
};
struct BurnTarget {
    static int32_t Of(int32_t s, int32_t d) { return s == 0 ? d : 255 + ((d - 255) * 256) / s; }
};
struct InverseBurnTarget {
    static int32_t Of(int32_t s, int32_t d) { return d == 0 ? d : 255 + ((s - 255) * 256) / d; }
};
struct DodgeTarget {
    static int32_t Of(int32_t s, int32_t d) { return s == 255 ? d : (d * 256) / (255 - s); }
};
struct OverlayTarget {
    static int32_t Of(int32_t s, int32_t d) {
        return d < 128 ? (d * s) >> 7 : 255 - (((255 - d) * (255 - s)) >> 7);
    }
};
struct SoftLightTarget {
    static int32_t Of(int32_t s, int32_t d) {
        const int32_t m = (d * s) >> 8;
        const int32_t i = ((255 - d) * (255 - s)) >> 8;
        return m + (((i - m) * d) >> 8);
    }
};

// One channel moved towards its target by the pixel's weight, then clamped.
// A weight of 0 leaves the channel as it is, whatever the target.
template <typename Target>
inline uint32_t BlendChannel(uint32_t s, uint32_t d, int32_t a) {
    const auto dc = static_cast<int32_t>(d);
    const int32_t t = Target::Of(static_cast<int32_t>(s), dc);
    return static_cast<uint32_t>(std::clamp(dc + (((t - dc) * a) >> 8), 0, 255));
}

template <typename Target>
inline uint32_t BlendPixel(uint32_t s, uint32_t d, int32_t a) {
    uint32_t result = d & 0xFF000000u;
    for (uint32_t shift = 0; shift < 24; shift += 8) {
        result |= BlendChannel<Target>((s >> shift) & 0xFF, (d >> shift) & 0xFF, a) << shift;
    }
    return result;
}

// Additive is the one mode that adds instead of interpolating.
struct AdditiveTarget {};
template <>
inline uint32_t BlendPixel<AdditiveTarget>(uint32_t s, uint32_t d, int32_t a) {
    uint32_t result = d & 0xFF000000u;
    for (uint32_t shift = 0; shift < 24; shift += 8) {
        const uint32_t sum = ((d >> shift) & 0xFF) + ((((s >> shift) & 0xFF) * static_cast<uint32_t>(a)) >> 8);
        result |= std::min(sum, 255u) << shift;
    }
    return result;
}

// Every pixel is blended, transparent ones included: at weight 0 the result is
// the destination, and a branch-free row lets the compiler widen the loop.
template <typename Target>
[[gnu::always_inline]] inline void BlendRowOf(const uint32_t* __restrict from, uint32_t* __restrict to, int32_t w,
                                              int32_t alpha) {
    for (int32_t i = 0; i < w; ++i) {
        const uint32_t s = from[i];
        const auto a = static_cast<int32_t>(((s >> 24) * static_cast<uint32_t>(alpha)) >> 8);
        to[i] = BlendPixel<Target>(s, to[i], a);
    }
}

using RowFunction = void (*)(const uint32_t*, uint32_t*, int32_t, int32_t);

// The row is built for each row variant (see PackedPixels.h); the loop is
// left to the vectoriser, so the pixel count of a step does not matter here.
template <typename Target>
struct BlendRow {
    template <int kPixels>
    PIXEL_INLINE static void Run(const uint32_t* from, uint32_t* to, int32_t w, int32_t alpha) {
        BlendRowOf<Target>(from, to, w, alpha);
    }
};

#define BLEND_ROW(Target)                                                                                   \
    void Target##Row(const uint32_t* from, uint32_t* to, int32_t w, int32_t alpha) {                        \
        SelectRow<BlendRow<Target>, const uint32_t*, uint32_t*, int32_t, int32_t>()(from, to, w, alpha); \
    }
BLEND_ROW(AlphaTarget)
BLEND_ROW(AdditiveTarget)
BLEND_ROW(SubtractiveTarget)
BLEND_ROW(MultiplyTarget)
BLEND_ROW(ScreenTarget)
BLEND_ROW(DarkenTarget)
BLEND_ROW(LightenTarget)
BLEND_ROW(BurnTarget)
BLEND_ROW(InverseBurnTarget)
BLEND_ROW(DodgeTarget)
BLEND_ROW(OverlayTarget)
BLEND_ROW(SoftLightTarget)
#undef BLEND_ROW

void BlendRect(RowFunction row, Surface& source, int32_t sourceX, int32_t sourceY, int32_t w, int32_t h,
               Surface& destination, int32_t x, int32_t y, int32_t alpha) {
    if (destination.GetPixelFormat().bytesPerPixel != 4 || source.GetPixelFormat().bytesPerPixel != 4 || w <= 0 ||
        h <= 0) {
        return;
    }
    const int32_t level = std::clamp(alpha, 0, 255);
    ScopedSurfaceLock sourceLock(source);
    ScopedSurfaceLock destinationLock(destination);
    const uint32_t* from = source.Pixels32KeepingAlpha() + source.PixelIndex(sourceX, sourceY);
    uint32_t* to = destination.Pixels32KeepingAlpha() + destination.PixelIndex(x, y);
    for (int32_t j = 0; j < h; ++j, from += source.PitchIn32(), to += destination.PitchIn32()) {
        row(from, to, w, level);
    }
}

}  // namespace

#define BLEND_RECT(Name, Target)                                                                                 \
    void Name(Surface& source, int32_t sourceX, int32_t sourceY, int32_t w, int32_t h, Surface& destination,     \
              int32_t x, int32_t y, int32_t alpha) {                                                             \
        BlendRect(Target##Row, source, sourceX, sourceY, w, h, destination, x, y, alpha);                        \
    }
BLEND_RECT(BlendAlphaRect, AlphaTarget)
BLEND_RECT(BlendAdditiveRect, AdditiveTarget)
BLEND_RECT(BlendSubtractiveRect, SubtractiveTarget)
BLEND_RECT(BlendMultiplyRect, MultiplyTarget)
BLEND_RECT(BlendScreenRect, ScreenTarget)
BLEND_RECT(BlendDarkenRect, DarkenTarget)
BLEND_RECT(BlendLightenRect, LightenTarget)
BLEND_RECT(BlendBurnRect, BurnTarget)
BLEND_RECT(BlendInverseBurnRect, InverseBurnTarget)
BLEND_RECT(BlendDodgeRect, DodgeTarget)
BLEND_RECT(BlendOverlayRect, OverlayTarget)
BLEND_RECT(BlendSoftLightRect, SoftLightTarget)
#undef BLEND_RECT

BlendRoutine FindBlendRoutine(int32_t mode) {
    static constexpr BlendRoutine kRoutines[kBlendModeCount] = {
        BlendAlphaRect,  BlendAdditiveRect, BlendSubtractiveRect, BlendMultiplyRect,
        BlendScreenRect, BlendDarkenRect,   BlendLightenRect,     BlendBurnRect,
        BlendInverseBurnRect, BlendDodgeRect, BlendOverlayRect,   BlendSoftLightRect};
    return mode >= 0 && mode < kBlendModeCount ? kRoutines[mode] : nullptr;
}

void BlendBlit(int32_t mode, Surface& source, int32_t sourceX, int32_t sourceY, int32_t w, int32_t h,
               Surface& destination, int32_t x, int32_t y, int32_t alpha, const Rect* clip) {
    const Rect area = clip != nullptr ? *clip : Rect{0, 0, destination.GetWidth(), destination.GetHeight()};
    if (!ClipBlit(destination.GetWidth(), destination.GetHeight(), area, source.GetWidth(), source.GetHeight(), x,
                  y, sourceX, sourceY, w, h)) {
        return;
    }
    // On a 16-bit display the blend modes draw nothing.
    if (ObjectCast<AlphaMemorySurface>(&destination) != nullptr) {
        return;
    }
    if (const BlendRoutine routine = FindBlendRoutine(mode)) {
        routine(source, sourceX, sourceY, w, h, destination, x, y, alpha);
    }
}
