#include "engine/media/ImageTools.h"

#include <algorithm>

#include "engine/media/AlphaMemorySurface.h"
#include "engine/media/Canvas.h"
#include "engine/media/ChannelMap.h"
#include "engine/media/DDrawSurface16.h"
#include "engine/media/DDrawSurface32.h"
#include "engine/media/MemorySurface.h"
#include "engine/media/PixelMath.h"
#include "engine/media/RotateScaleWalk.h"

namespace {
size_t PixelCount(const Surface& surface) {
    return surface.GetWidth() > 0 && surface.GetHeight() > 0
               ? static_cast<size_t>(surface.GetWidth()) * static_cast<size_t>(surface.GetHeight())
               : 0;
}

// Only 32-bit pictures with pixels can be read word by word.
bool HasPixels32(const Surface& surface) {
    return surface.GetPixelFormat().bytesPerPixel == 4 && surface.GetPixels() != nullptr;
}
}  // namespace

Ref<MemorySurface> CreateMemorySurface(int32_t width, int32_t height) {
    return Ref<MemorySurface>(new MemorySurface(width, height));
}

Ref<MemorySurface> CreateFilledSurface(int32_t width, int32_t height, uint32_t pixel) {
    Ref<MemorySurface> surface(new MemorySurface(width, height, MemorySurface::Unset{}));
    std::fill_n(surface->Pixels32(), PixelCount(*surface), pixel);
    return surface;
}

Ref<AlphaMemorySurface> CreateAlphaMemorySurface(int32_t width, int32_t height) {
    return Ref<AlphaMemorySurface>(new AlphaMemorySurface(width, height));
}

Ref<AlphaMemorySurface> ConvertToAlphaMemorySurface(const Surface& source) {
    Ref<AlphaMemorySurface> target = CreateAlphaMemorySurface(source.GetWidth(), source.GetHeight());
    target->SetFrameCount(source.GetFrameCount());
    target->SetUseAlphaChannel(source.UsesAlphaChannel());
    ConvertIntoAlphaMemorySurface(source, *target);
    return target;
}

void ConvertIntoAlphaMemorySurface(const Surface& source, AlphaMemorySurface& target) {
    if (!HasPixels32(source) || target.GetPixels() == nullptr || target.GetAlphaBuffer() == nullptr) {
        return;
    }
    const PixelFormat& format = target.GetPixelFormat();
    const int32_t width = std::min(source.GetWidth(), target.GetWidth());
    const int32_t height = std::min(source.GetHeight(), target.GetHeight());
    for (int32_t y = 0; y < height; ++y) {
        const uint32_t* from = source.Pixels32() + static_cast<size_t>(y) * source.GetWidth();
        uint16_t* to = target.Pixels16() + target.PixelIndex(0, y);
        uint8_t* alpha = target.GetAlphaBuffer() + static_cast<size_t>(y) * target.GetWidth();
        for (int32_t x = 0; x < width; ++x) {
            to[x] = static_cast<uint16_t>(PackColour(format, from[x]));
            alpha[x] = static_cast<uint8_t>(from[x] >> 24);
        }
    }
}

namespace {
template <typename Wrapper>
Ref<Wrapper> WrapDisplaySurface(std::shared_ptr<platform::DisplaySurface> surface) {
    platform::DisplaySurfaceDesc desc;
    if (!surface || surface->GetDesc(desc) != platform::DisplayResult::Ok) {
        return {};
    }
    return Ref<Wrapper>(new Wrapper(std::move(surface), desc));
}
}  // namespace

Ref<DDrawSurface16> WrapDirectDrawSurface16(std::shared_ptr<platform::DisplaySurface> surface) {
    return WrapDisplaySurface<DDrawSurface16>(std::move(surface));
}

Ref<DDrawSurface32> WrapDirectDrawSurface32(std::shared_ptr<platform::DisplaySurface> surface) {
    return WrapDisplaySurface<DDrawSurface32>(std::move(surface));
}

Ref<MemorySurface> CloneSurface(const Surface& source) {
    Ref<MemorySurface> copy(new MemorySurface(source.GetWidth(), source.GetHeight(), MemorySurface::Unset{}));
    CopySurfaceInto(source, *copy);
    return copy;
}

void CopySurfaceInto(const Surface& source, MemorySurface& target) {
    // A display copy made of the target's old pixels is stale.
    target.SetDirty(true);
    target.SetFrameCount(source.GetFrameCount());
    target.SetUseAlphaChannel(source.UsesAlphaChannel());
    if (HasPixels32(source)) {
        std::copy_n(source.Pixels32KeepingAlpha(), PixelCount(source), target.Pixels32());
    } else {
        std::fill_n(target.Pixels32(), PixelCount(target), 0u);
    }
}

Ref<MemorySurface> CopySurfaceOver(const Surface& source, Ref<MemorySurface> previous) {
    if (!previous || previous->GetWidth() != source.GetWidth() || previous->GetHeight() != source.GetHeight()) {
        return CloneSurface(source);
    }
    CopySurfaceInto(source, *previous);
    return previous;
}

bool AllPixelsOpaque(const Surface& picture) {
    if (!HasPixels32(picture) || PixelCount(picture) == 0) {
        return false;
    }
    for (int32_t y = 0; y < picture.GetHeight(); ++y) {
        const uint32_t* row = picture.Pixels32() + picture.PixelIndex(0, y);
        // One AND over the row lets the compiler vectorise the scan.
        uint32_t all = kAlphaMask32;
        for (int32_t x = 0; x < picture.GetWidth(); ++x) {
            all &= row[x];
        }
        if ((all & kAlphaMask32) != kAlphaMask32) {
            return false;
        }
    }
    return true;
}

Ref<ChannelMap> ExtractChannelMap(const Surface& source, int32_t channel) {
    Ref<ChannelMap> map(new ChannelMap(source.GetWidth(), source.GetHeight()));
    if (!HasPixels32(source)) {
        return map;
    }
    const uint32_t shift = channel >= 1 && channel <= 3 ? ChannelShift(channel) : ChannelShift(kAlpha);
    const uint32_t* pixels = source.Pixels32();
    uint8_t* bytes = map->GetBytes();
    const size_t count = PixelCount(source);
    for (size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<uint8_t>(pixels[i] >> shift);
    }
    return map;
}

void DrawImageCentered(Canvas& displayCanvas, Surface& target, Surface& source, int32_t x, int32_t y) {
    displayCanvas.PrepareSurface(target);
    displayCanvas.PrepareSurface(source);
    Surface& from = *source.GetDisplayCopy();
    const Ref<Canvas> canvas = target.GetDisplayCopy()->CreateCanvas();
    canvas->MinChannel(from, kAlpha, x - from.GetWidth() / 2, y - from.GetHeight() / 2);
}

void DrawImageScaled(Canvas& displayCanvas, Surface& target, const Surface& source, int32_t x, int32_t y,
                     double scale) {
    displayCanvas.PrepareSurface(target);
    Surface& to = *target.GetDisplayCopy();
    AlphaStamp(source, to, Rect{0, 0, to.GetWidth(), to.GetHeight()},
               x - TruncateToInt32(source.GetWidth() * scale / 2), y - TruncateToInt32(source.GetHeight() * scale / 2),
               0.0, scale, 0, 0, true);
}

void AlphaStamp(const Surface& source, Surface& target, const Rect& clip, int32_t x, int32_t y, double angle,
                double scale, int32_t pivotX, int32_t pivotY, bool smoothing) {
    if (!smoothing || !HasPixels32(source) || scale == 0.0) {
        return;
    }
    auto* target16 = ObjectCast<AlphaMemorySurface>(&target);
    uint8_t* alphaBuffer = target16 != nullptr ? target16->GetAlphaBuffer() : nullptr;
    if (target16 != nullptr ? alphaBuffer == nullptr : !HasPixels32(target)) {
        return;
    }
    const Rect area = IntersectRect(clip, Rect{0, 0, target.GetWidth(), target.GetHeight()});
    const RotateScaleWalk walk(source.GetWidth(), source.GetHeight(), x, y, pivotX, pivotY, angle, scale, area);
    const int32_t width = source.GetWidth();
    const int32_t height = source.GetHeight();
    const uint32_t* pixels = source.Pixels32();
    const auto alphaAt = [&](int32_t i, int32_t j) { return static_cast<double>(pixels[j * width + i] >> 24); };
    walk.ForEachCorner([&](int32_t tx, int32_t ty, int32_t u, int32_t v) {
        const int32_t i = u >> RotateScaleWalk::kFractionBits;
        const int32_t j = v >> RotateScaleWalk::kFractionBits;
        if (i < 0 || i >= width - 1 || j < 0 || j >= height - 1) {
            return;
        }
        const double fx = (u & 0xFFFFF) / RotateScaleWalk::kOne;
        const double fy = (v & 0xFFFFF) / RotateScaleWalk::kOne;
        const auto sample = static_cast<uint8_t>(
            TruncateToInt32(alphaAt(i, j) * (1 - fx) * (1 - fy)) + TruncateToInt32(alphaAt(i + 1, j) * fx * (1 - fy)) +
            TruncateToInt32(alphaAt(i + 1, j + 1) * fx * fy) + TruncateToInt32(alphaAt(i, j + 1) * (1 - fx) * fy));
        if (alphaBuffer != nullptr) {
            uint8_t& alpha = alphaBuffer[static_cast<size_t>(ty) * target.GetWidth() + tx];
            if (sample < alpha && sample < 210) {
                alpha = sample;
            }
        } else {
            uint32_t& pixel = target.Pixels32()[target.PixelIndex(tx, ty)];
            if (sample < (pixel >> 24) && sample < 210) {
                pixel = SetColourChannel(pixel, kAlpha, sample);
            }
        }
    });
}

Ref<MemorySurface> AddRotatedFrames(Surface& strip) {
    const int32_t side = strip.GetWidth();
    if (side <= 0 || !HasPixels32(strip)) {
        return {};
    }
    const int32_t height = strip.GetHeight();
    const int32_t frames = height / side;
    Ref<MemorySurface> turned = CreateMemorySurface(side, height * 4);
    turned->SetUseAlphaChannel(strip.UsesAlphaChannel());
    turned->CreateCanvas()->CopyRect(strip, 0, 0, 0, 0, side, height);
    const uint32_t* from = strip.Pixels32();
    uint32_t* to = turned->Pixels32();
    const int32_t last = side - 1;
    const auto old = [&](int32_t frame, int32_t column, int32_t row) {
        return from[strip.PixelIndex(column, frame * side + row)];
    };
    for (int32_t frame = 0; frame < frames; ++frame) {
        for (int32_t row = 0; row < side; ++row) {
            for (int32_t column = 0; column < side; ++column) {
                to[turned->PixelIndex(column, (frames + frame) * side + row)] = old(frame, row, last - column);
                to[turned->PixelIndex(column, (2 * frames + frame) * side + row)] =
                    old(frame, last - column, last - row);
                to[turned->PixelIndex(column, (3 * frames + frame) * side + row)] = old(frame, last - row, column);
            }
        }
    }
    return turned;
}

void InvertImageAlpha(Surface& picture) {
    Surface& copy = *picture.GetDisplayCopy();
    if (copy.GetPixelFormat().bytesPerPixel == 4) {
        if (!HasPixels32(picture)) {
            return;
        }
        ScopedSurfaceLock lock(picture);
        uint32_t* pixels = picture.Pixels32();
        const size_t count = PixelCount(picture);
        for (size_t i = 0; i < count; ++i) {
            pixels[i] ^= kAlphaMask32;
        }
        return;
    }
    if (auto* copy16 = ObjectCast<AlphaMemorySurface>(&copy); copy16 != nullptr && copy16->GetAlphaBuffer()) {
        uint8_t* alpha = copy16->GetAlphaBuffer();
        const size_t count = PixelCount(*copy16);
        for (size_t i = 0; i < count; ++i) {
            alpha[i] = static_cast<uint8_t>(~alpha[i]);
        }
    }
}
