#include "engine/media/Canvas16.h"

#include <algorithm>
#include <cmath>

#include "engine/media/AlphaMemorySurface.h"
#include "engine/media/ChannelMap.h"
#include "engine/media/ImageTools.h"
#include "engine/media/Kernels16.h"
#include "engine/media/LineWalk.h"
#include "engine/media/PixelMath.h"
#include "engine/media/RotateScaleWalk.h"

namespace {
// How a sampled 16-bit source pixel lands in the turned and scaled blits.
struct SampleRule {
    bool sourceAlpha = false;
    int32_t alpha = 255;

    void Draw(uint16_t& pixel, uint16_t sample, uint8_t sampleAlpha) const {
        if (sourceAlpha) {
            const int32_t weight = (sampleAlpha * alpha) >> 8;
            if (weight != 0) {
                pixel = Blend16(pixel, sample, weight);
            }
        } else if (alpha == 255) {
            pixel = sample;
        } else {
            pixel = Blend16(pixel, sample, alpha);
        }
    }

    // Draws the source's pixel at `index`, with its opacity when it has one.
    void DrawFrom(AlphaMemorySurface& source, int64_t index, uint16_t& pixel) const {
        Draw(pixel, source.Pixels16()[index], sourceAlpha ? source.GetAlphaBuffer()[index] : 255);
    }
};

bool ScaleTooSmall(double scale) {
    return scale >= -0.0001 && scale <= 0.0001;
}
}  // namespace

Canvas16::Canvas16(AlphaMemorySurface& surface) : Canvas(surface) {}

AlphaMemorySurface& Canvas16::Target() const {
    return static_cast<AlphaMemorySurface&>(GetSurface());
}

void Canvas16::SetColor(const Color& colour) {
    SetColourValue(PackColour(GetSurface().GetPixelFormat(), colour.Value()));
}

void Canvas16::SetPixel(int32_t x, int32_t y) {
    x += GetOriginX();
    y += GetOriginY();
    if (!ClipsIn(x, y) || GetAlpha() == 0) {
        return;
    }
    AlphaMemorySurface& target = Target();
    ScopedSurfaceLock lock(target);
    uint16_t& pixel = target.Pixels16()[target.PixelIndex(x, y)];
    pixel = GetAlpha() == 255 ? PackedColour() : Blend16(pixel, PackedColour(), GetAlpha());
}

void Canvas16::WriteChannel(uint16_t& pixel, uint8_t* alpha, int32_t channel, uint32_t value) const {
    switch (channel) {
        case kAlpha:
            if (alpha != nullptr) {
                *alpha = static_cast<uint8_t>(value);
            }
            break;
        case kRed:
            pixel = static_cast<uint16_t>((pixel & ~0xF800u) | ((value & 0x1F) << 11));
            break;
        case kGreen:
            pixel = static_cast<uint16_t>((pixel & ~0x07E0u) | ((value & 0x3F) << 5));
            break;
        case kBlue:
            pixel = static_cast<uint16_t>((pixel & ~0x001Fu) | (value & 0x1F));
            break;
        default:
            pixel = 0;
            break;
    }
}

void Canvas16::SetChannelPixel(int32_t channel, uint32_t value, int32_t x, int32_t y) {
    x += GetOriginX();
    y += GetOriginY();
    if (!ClipsIn(x, y)) {
        return;
    }
    AlphaMemorySurface& target = Target();
    ScopedSurfaceLock lock(target);
    uint8_t* alpha = target.GetAlphaBuffer();
    WriteChannel(target.Pixels16()[target.PixelIndex(x, y)],
                 alpha != nullptr ? alpha + y * target.GetWidth() + x : nullptr, channel, value);
}

void Canvas16::DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    x1 += GetOriginX();
    y1 += GetOriginY();
    x2 += GetOriginX();
    y2 += GetOriginY();
    if (!ClipsIn(x1, y1) || !ClipsIn(x2, y2) || GetAlpha() == 0) {
        return;
    }
    AlphaMemorySurface& target = Target();
    ScopedSurfaceLock lock(target);
    const uint16_t colour = PackedColour();
    const int32_t alpha = GetAlpha();
    WalkLine(x1, y1, x2, y2, [&](int32_t x, int32_t y) {
        uint16_t& pixel = target.Pixels16()[target.PixelIndex(x, y)];
        pixel = alpha == 255 ? colour : Blend16(pixel, colour, alpha);
    });
}

void Canvas16::DrawChannelLine(int32_t channel, uint32_t value, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    x1 += GetOriginX();
    y1 += GetOriginY();
    x2 += GetOriginX();
    y2 += GetOriginY();
    if (!ClipsIn(x1, y1) || !ClipsIn(x2, y2)) {
        return;
    }
    AlphaMemorySurface& target = Target();
    ScopedSurfaceLock lock(target);
    uint8_t* alpha = target.GetAlphaBuffer();
    WalkLine(x1, y1, x2, y2, [&](int32_t x, int32_t y) {
        WriteChannel(target.Pixels16()[target.PixelIndex(x, y)],
                     alpha != nullptr ? alpha + y * target.GetWidth() + x : nullptr, channel, value);
    });
}

void Canvas16::DrawSmoothLine(float x1, float y1, float x2, float y2) {
    x1 += static_cast<float>(GetOriginX());
    y1 += static_cast<float>(GetOriginY());
    x2 += static_cast<float>(GetOriginX());
    y2 += static_cast<float>(GetOriginY());
    if (!ClipsIn(RoundToInt(x1), RoundToInt(y1)) || !ClipsIn(RoundToInt(x2), RoundToInt(y2)) || GetAlpha() == 0) {
        return;
    }
    AlphaMemorySurface& target = Target();
    ScopedSurfaceLock lock(target);
    const uint16_t colour = PackedColour();
    WalkSmoothLine(x1, y1, x2, y2, target.GetWidth(), target.GetHeight(), [&](int32_t x, int32_t y, int32_t weight) {
        uint16_t& pixel = target.Pixels16()[target.PixelIndex(x, y)];
        pixel = Blend16(pixel, colour, weight);
    });
}

void Canvas16::FillRect(int32_t x, int32_t y, int32_t w, int32_t h) {
    const Rect area = ClippedRect(x, y, w, h);
    if (area.IsEmpty() || GetAlpha() == 0) {
        return;
    }
    AlphaMemorySurface& target = Target();
    ScopedSurfaceLock lock(target);
    const uint16_t colour = PackedColour();
    const int32_t alpha = GetAlpha();
    for (int32_t j = area.y; j < area.y + area.h; ++j) {
        uint16_t* row = target.Pixels16() + target.PixelIndex(area.x, j);
        if (alpha == 255) {
            std::fill_n(row, area.w, colour);
        } else {
            for (int32_t i = 0; i < area.w; ++i) {
                row[i] = Blend16(row[i], colour, alpha);
            }
        }
    }
}

void Canvas16::FillChannelRect(int32_t channel, uint32_t value, int32_t x, int32_t y, int32_t w, int32_t h) {
    const Rect area = ClippedRect(x, y, w, h);
    if (area.IsEmpty()) {
        return;
    }
    AlphaMemorySurface& target = Target();
    ScopedSurfaceLock lock(target);
    uint8_t* alpha = target.GetAlphaBuffer();
    if (channel == kAlpha && alpha == nullptr) {
        return;
    }
    for (int32_t j = area.y; j < area.y + area.h; ++j) {
        for (int32_t i = area.x; i < area.x + area.w; ++i) {
            WriteChannel(target.Pixels16()[target.PixelIndex(i, j)],
                         alpha != nullptr ? alpha + j * target.GetWidth() + i : nullptr, channel, value);
        }
    }
}

void Canvas16::DrawHLine(int32_t x1, int32_t x2, int32_t y) {
    x1 += GetOriginX();
    x2 += GetOriginX();
    y += GetOriginY();
    if (GetAlpha() != 255 || !ClipsIn(x1, y) || !ClipsIn(x2, y) || x2 <= x1) {
        return;
    }
    AlphaMemorySurface& target = Target();
    ScopedSurfaceLock lock(target);
    std::fill_n(target.Pixels16() + target.PixelIndex(x1, y), x2 - x1, PackedColour());
}

AlphaMemorySurface* Canvas16::DisplayCopyOf(Surface& source) {
    PrepareSurface(source);
    return ObjectCast<AlphaMemorySurface>(source.GetDisplayCopy());
}

AlphaMemorySurface* Canvas16::ClippedDisplayCopyOf(Surface& source, int32_t& x, int32_t& y, int32_t& sourceX,
                                                   int32_t& sourceY, int32_t& w, int32_t& h) {
    x += GetOriginX();
    y += GetOriginY();
    if (!ClipBlitRect(source.GetWidth(), source.GetHeight(), x, y, sourceX, sourceY, w, h)) {
        return nullptr;
    }
    return DisplayCopyOf(source);
}

void Canvas16::Blit(Surface& source, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY, int32_t sourceW,
                    int32_t sourceH) {
    AlphaMemorySurface* copy = ClippedDisplayCopyOf(source, x, y, sourceX, sourceY, sourceW, sourceH);
    const int32_t alpha = GetAlpha();
    if (copy == nullptr || alpha == 0) {
        return;
    }
    AlphaMemorySurface& target = Target();
    ScopedSurfaceLock sourceLock(*copy);
    ScopedSurfaceLock targetLock(target);
    const bool sourceAlpha = source.UsesAlphaChannel() && copy->GetAlphaBuffer() != nullptr;
    const int32_t sourceIndex = copy->PixelIndex(sourceX, sourceY);
    const uint16_t* from = copy->Pixels16() + sourceIndex;
    const uint8_t* alphaBytes = sourceAlpha ? copy->GetAlphaBuffer() + sourceIndex : nullptr;
    uint16_t* to = target.Pixels16() + target.PixelIndex(x, y);
    for (int32_t j = 0; j < sourceH; ++j) {
        if (sourceAlpha) {
            Kernels16::BlendAlphaRow(from, alphaBytes, to, sourceW, alpha);
            alphaBytes += copy->PitchIn16();
        } else if (alpha == 255) {
            std::copy_n(from, sourceW, to);
        } else {
            Kernels16::BlendConstantRow(from, to, sourceW, alpha);
        }
        from += copy->PitchIn16();
        to += target.PitchIn16();
    }
}

void Canvas16::RotateScaleBlit(Surface& source, double angle, double scale, int32_t x, int32_t y, int32_t sourceX,
                               int32_t sourceY, int32_t sourceW, int32_t sourceH, int32_t pivotX, int32_t pivotY) {
    if (ScaleTooSmall(scale) || GetAlpha() == 0) {
        return;
    }
    AlphaMemorySurface* copy = DisplayCopyOf(source);
    if (copy == nullptr) {
        return;
    }
    const Rect bounds = IntersectRect(Rect{sourceX, sourceY, sourceW, sourceH},
                                      Rect{0, 0, copy->GetWidth(), copy->GetHeight()});
    if (bounds.IsEmpty()) {
        return;
    }
    const RotateScaleWalk walk(copy->GetWidth(), copy->GetHeight(), x + GetOriginX(), y + GetOriginY(), pivotX,
                               pivotY, angle, scale, GetClipRect());
    const SampleRule rule{source.UsesAlphaChannel() && copy->GetAlphaBuffer() != nullptr, GetAlpha()};
    AlphaMemorySurface& target = Target();
    ScopedSurfaceLock sourceLock(*copy);
    ScopedSurfaceLock targetLock(target);
    const int32_t rowLength = copy->GetWidth();
    walk.ForEach([&](int32_t tx, int32_t ty, int32_t u, int32_t v) {
        const int32_t i = sourceX + (u >> RotateScaleWalk::kFractionBits);
        const int32_t j = sourceY + (v >> RotateScaleWalk::kFractionBits);
        if (i < bounds.x || i >= bounds.x + bounds.w || j < bounds.y || j >= bounds.y + bounds.h) {
            return;
        }
        const int32_t index = j * rowLength + i;
        rule.DrawFrom(*copy, index, target.Pixels16()[target.PixelIndex(tx, ty)]);
    });
}

void Canvas16::RotateScaleBlitSmooth(Surface& source, double angle, double scale, int32_t x, int32_t y,
                                     int32_t sourceX, int32_t sourceY, int32_t sourceW, int32_t sourceH,
                                     int32_t pivotX, int32_t pivotY) {
    RotateScaleBlit(source, angle, scale, x, y, sourceX, sourceY, sourceW, sourceH, pivotX, pivotY);
}

void Canvas16::ScaleBlit(Surface& source, int32_t sourceX, int32_t sourceY, int32_t sourceW, int32_t sourceH,
                         int32_t x, int32_t y, int32_t w, int32_t h) {
    x += GetOriginX();
    y += GetOriginY();
    if (x + w < 0 || y + h < 0 || w <= 0 || h <= 0) {
        return;
    }
    AlphaMemorySurface* copy = DisplayCopyOf(source);
    if (copy == nullptr || GetAlpha() == 0) {
        return;
    }
    const Rect area = IntersectRect(Rect{x, y, w, h}, GetClipRect());
    if (area.IsEmpty()) {
        return;
    }
    const auto stepX = static_cast<int32_t>(
        std::lrint(static_cast<float>(sourceW) / static_cast<float>(w) * 1048576.0f));
    const auto stepY = static_cast<int32_t>(
        std::lrint(static_cast<float>(sourceH) / static_cast<float>(h) * 1048576.0f));
    const SampleRule rule{source.UsesAlphaChannel() && copy->GetAlphaBuffer() != nullptr, GetAlpha()};
    AlphaMemorySurface& target = Target();
    ScopedSurfaceLock sourceLock(*copy);
    ScopedSurfaceLock targetLock(target);
    const int32_t sourceWidth = copy->GetWidth();
    int64_t v = int64_t{sourceY} * 1048576 + int64_t{area.y - y} * stepY;
    for (int32_t ty = area.y; ty < area.y + area.h; ++ty, v += stepY) {
        const int64_t j = v >> 20;
        int64_t u = int64_t{sourceX} * 1048576 + int64_t{area.x - x} * stepX;
        for (int32_t tx = area.x; tx < area.x + area.w; ++tx, u += stepX) {
            const int64_t i = u >> 20;
            // A source rectangle reaching past the picture reads nothing outside it.
            if (i < 0 || i >= sourceWidth || j < 0 || j >= copy->GetHeight()) {
                continue;
            }
            const int64_t index = j * sourceWidth + i;
            rule.DrawFrom(*copy, index, target.Pixels16()[target.PixelIndex(tx, ty)]);
        }
    }
}

void Canvas16::CopyRect(Surface& source, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY, int32_t sourceW,
                        int32_t sourceH) {
    AlphaMemorySurface* copy = ClippedDisplayCopyOf(source, x, y, sourceX, sourceY, sourceW, sourceH);
    if (copy == nullptr) {
        return;
    }
    AlphaMemorySurface& target = Target();
    // Only plain memory pictures on both sides carry their opacity along.
    const bool withAlpha = copy->GetClassInfo() == &AlphaMemorySurface::classInfo &&
                           target.GetClassInfo() == &AlphaMemorySurface::classInfo;
    ScopedSurfaceLock sourceLock(*copy);
    ScopedSurfaceLock targetLock(target);
    for (int32_t j = 0; j < sourceH; ++j) {
        const int32_t from = copy->PixelIndex(sourceX, sourceY + j);
        const int32_t to = target.PixelIndex(x, y + j);
        std::copy_n(copy->Pixels16() + from, sourceW, target.Pixels16() + to);
        if (withAlpha) {
            std::copy_n(copy->GetAlphaBuffer() + from, sourceW, target.GetAlphaBuffer() + to);
        }
    }
}

void Canvas16::DrawMask(const ChannelMap& map, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY, int32_t w,
                        int32_t h) {
    x += GetOriginX();
    y += GetOriginY();
    if (!ClipBlitRect(map.GetWidth(), map.GetHeight(), x, y, sourceX, sourceY, w, h) || GetAlpha() == 0) {
        return;
    }
    AlphaMemorySurface& target = Target();
    ScopedSurfaceLock lock(target);
    for (int32_t j = 0; j < h; ++j) {
        const uint8_t* coverage = map.GetBytes() + static_cast<size_t>(sourceY + j) * map.GetWidth() + sourceX;
        Kernels16::MaskRow(coverage, PackedColour(), target.Pixels16() + target.PixelIndex(x, y + j), w, GetAlpha());
    }
}

void Canvas16::CopyChannel(Surface& source, int32_t, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY,
                           int32_t w, int32_t h) {
    AlphaMemorySurface* copy = ClippedDisplayCopyOf(source, x, y, sourceX, sourceY, w, h);
    AlphaMemorySurface& target = Target();
    if (copy == nullptr || copy->GetAlphaBuffer() == nullptr || target.GetAlphaBuffer() == nullptr) {
        return;
    }
    ScopedSurfaceLock sourceLock(*copy);
    ScopedSurfaceLock targetLock(target);
    for (int32_t j = 0; j < h; ++j) {
        std::copy_n(copy->GetAlphaBuffer() + copy->PixelIndex(sourceX, sourceY + j), w,
                    target.GetAlphaBuffer() + target.PixelIndex(x, y + j));
    }
}

void Canvas16::WriteChannelFromMap(const ChannelMap& map, int32_t, int32_t x, int32_t y, int32_t sourceX,
                                   int32_t sourceY, int32_t w, int32_t h) {
    x += GetOriginX();
    y += GetOriginY();
    AlphaMemorySurface& target = Target();
    // Clipped against the map as well, so a rectangle past its edge reads nothing outside it.
    if (target.GetAlphaBuffer() == nullptr ||
        !ClipBlitRect(map.GetWidth(), map.GetHeight(), x, y, sourceX, sourceY, w, h)) {
        return;
    }
    ScopedSurfaceLock lock(target);
    for (int32_t j = 0; j < h; ++j) {
        std::copy_n(map.GetBytes() + static_cast<size_t>(sourceY + j) * map.GetWidth() + sourceX, w,
                    target.GetAlphaBuffer() + target.PixelIndex(x, y + j));
    }
}

void Canvas16::CompareAlpha(bool keepSmaller, Surface& source, int32_t x, int32_t y, int32_t sourceX,
                            int32_t sourceY, int32_t w, int32_t h) {
    x += GetOriginX();
    y += GetOriginY();
    auto* other = ObjectCast<AlphaMemorySurface>(&source);
    AlphaMemorySurface& target = Target();
    if (other == nullptr || other->GetAlphaBuffer() == nullptr || target.GetAlphaBuffer() == nullptr ||
        !ClipBlitRect(source.GetWidth(), source.GetHeight(), x, y, sourceX, sourceY, w, h)) {
        return;
    }
    ScopedSurfaceLock sourceLock(*other);
    ScopedSurfaceLock targetLock(target);
    for (int32_t j = 0; j < h; ++j) {
        const uint8_t* from = other->GetAlphaBuffer() + other->PixelIndex(sourceX, sourceY + j);
        uint8_t* to = target.GetAlphaBuffer() + target.PixelIndex(x, y + j);
        for (int32_t i = 0; i < w; ++i) {
            to[i] = keepSmaller ? std::min(to[i], from[i]) : std::max(to[i], from[i]);
        }
    }
}

void Canvas16::MinChannel(Surface& source, int32_t, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY,
                          int32_t w, int32_t h) {
    CompareAlpha(true, source, x, y, sourceX, sourceY, w, h);
}

void Canvas16::MaxChannel(Surface& source, int32_t, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY,
                          int32_t w, int32_t h) {
    CompareAlpha(false, source, x, y, sourceX, sourceY, w, h);
}

void Canvas16::PrepareSurface(Surface& surface) {
    // Pictures already in the 16-bit format are their own display copies.
    if (surface.GetPixelFormat().bytesPerPixel != 4) {
        return;
    }
    if (auto* copy = ObjectCast<AlphaMemorySurface>(surface.GetDisplayCopy())) {
        if (surface.IsDirty()) {
            ScopedSurfaceLock lock(surface);
            ConvertIntoAlphaMemorySurface(surface, *copy);
            surface.SetDirty(false);
        }
        return;
    }
    ScopedSurfaceLock lock(surface);
    const Ref<AlphaMemorySurface> copy = ConvertToAlphaMemorySurface(surface);
    copy->SetUseAlphaChannel(surface.UsesAlphaChannel());
    surface.SetDisplayCopy(copy.Get());
    surface.SetDirty(false);
}
