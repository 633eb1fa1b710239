#include "engine/media/Canvas32.h"

#include "engine/media/ChannelMap.h"
#include "engine/media/Kernels32.h"
#include "engine/media/MemorySurface.h"

void Canvas32::Blit(Surface& source, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY, int32_t sourceW,
                    int32_t sourceH) {
    x += GetOriginX();
    y += GetOriginY();
    if (!ClipBlitRect(source.GetWidth(), source.GetHeight(), x, y, sourceX, sourceY, sourceW, sourceH)) {
        return;
    }
    const int32_t alpha = GetAlpha();
    Surface& destination = GetSurface();
    if (alpha == 0) {
        return;
    }
    if (source.UsesAlphaChannel() && alpha == 255 && source.IsKnownOpaque()) {
        // The alpha rule copies pairs of opaque pixels and blends a row's odd
        // last pixel with weight 254, so only that column takes the alpha path.
        const int32_t pairedW = sourceW & ~1;
        Kernels32::BlitOpaque(source, destination, sourceX, sourceY, pairedW, sourceH, x, y);
        if (pairedW < sourceW) {
            Kernels32::BlitAlpha(source, destination, sourceX + pairedW, sourceY, 1, sourceH, x + pairedW, y, alpha);
        }
    } else if (source.UsesAlphaChannel()) {
        Kernels32::BlitAlpha(source, destination, sourceX, sourceY, sourceW, sourceH, x, y, alpha);
    } else if (alpha == 255) {
        Kernels32::BlitOpaque(source, destination, sourceX, sourceY, sourceW, sourceH, x, y);
    } else {
        Kernels32::BlitFixedAlpha(source, destination, sourceX, sourceY, sourceW, sourceH, x, y, alpha);
    }
}

void Canvas32::CopyRect(Surface& source, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY, int32_t sourceW,
                        int32_t sourceH) {
    x += GetOriginX();
    y += GetOriginY();
    if (ClipBlitRect(source.GetWidth(), source.GetHeight(), x, y, sourceX, sourceY, sourceW, sourceH)) {
        Kernels32::CopyRect(source, GetSurface(), sourceX, sourceY, sourceW, sourceH, x, y);
    }
}

void Canvas32::DrawMask(const ChannelMap& map, int32_t x, int32_t y, int32_t sourceX, int32_t sourceY, int32_t w,
                        int32_t h) {
    x += GetOriginX();
    y += GetOriginY();
    if (ClipBlitRect(map.GetWidth(), map.GetHeight(), x, y, sourceX, sourceY, w, h) && GetAlpha() != 0) {
        Kernels32::MaskPaint(map, GetSurface(), sourceX, sourceY, w, h, x, y, ColourValue(), GetAlpha());
    }
}

namespace {
bool IsColourOrAlphaChannel(int32_t channel) {
    return channel >= 0 && channel <= 3;
}
}  // namespace

void Canvas32::CopyChannel(Surface& source, int32_t channel, int32_t x, int32_t y, int32_t sourceX,
                           int32_t sourceY, int32_t w, int32_t h) {
    x += GetOriginX();
    y += GetOriginY();
    if (IsColourOrAlphaChannel(channel) &&
        ClipBlitRect(source.GetWidth(), source.GetHeight(), x, y, sourceX, sourceY, w, h)) {
        Kernels32::ChannelBlit(Kernels32::ChannelOp::kCopy, channel, source, GetSurface(), sourceX, sourceY, w, h,
                               x, y);
    }
}

void Canvas32::WriteChannelFromMap(const ChannelMap& map, int32_t channel, int32_t x, int32_t y, int32_t sourceX,
                                   int32_t sourceY, int32_t w, int32_t h) {
    x += GetOriginX();
    y += GetOriginY();
    if (IsColourOrAlphaChannel(channel) &&
        ClipBlitRect(map.GetWidth(), map.GetHeight(), x, y, sourceX, sourceY, w, h)) {
        Kernels32::ChannelFromMap(map, channel, GetSurface(), sourceX, sourceY, w, h, x, y);
    }
}

void Canvas32::MinChannel(Surface& source, int32_t channel, int32_t x, int32_t y, int32_t sourceX,
                          int32_t sourceY, int32_t w, int32_t h) {
    x += GetOriginX();
    y += GetOriginY();
    if (IsColourOrAlphaChannel(channel) &&
        ClipBlitRect(source.GetWidth(), source.GetHeight(), x, y, sourceX, sourceY, w, h)) {
        Kernels32::ChannelBlit(Kernels32::ChannelOp::kMin, channel, source, GetSurface(), sourceX, sourceY, w, h,
                               x, y);
    }
}

void Canvas32::MaxChannel(Surface& source, int32_t channel, int32_t x, int32_t y, int32_t sourceX,
                          int32_t sourceY, int32_t w, int32_t h) {
    x += GetOriginX();
    y += GetOriginY();
    if (IsColourOrAlphaChannel(channel) &&
        ClipBlitRect(source.GetWidth(), source.GetHeight(), x, y, sourceX, sourceY, w, h)) {
        Kernels32::ChannelBlit(Kernels32::ChannelOp::kMax, channel, source, GetSurface(), sourceX, sourceY, w, h,
                               x, y);
    }
}

void Canvas32::PrepareSurface(Surface& surface) {
    if (ObjectCast<MemorySurface>(surface.GetDisplayCopy()) != nullptr) {
        return;
    }
    surface.SetDisplayCopy(&surface);
    surface.SetDirty(false);
}
