#include "game/dialogs/GradientFramePainter.h"

#include <algorithm>

#include "engine/foundation/Color.h"
#include "engine/foundation/Property.h"
#include "engine/media/BlendBlit.h"
#include "engine/media/Canvas.h"
#include "engine/media/PixelFormat.h"

namespace {

// The emblem's weight: its alpha counts 200 / 256.
constexpr int32_t kEmblemAlpha = 200;

uint32_t ReadValue(Property* definition, const char* key) {
    return static_cast<uint32_t>(Property::AsInt(Property::Child(definition, key)));
}

// c1 + (c2 - c1) x t per channel, truncated. t may stray a little outside
// 0..1 by rounding, so each channel is held to a byte.
uint32_t Mix(uint32_t from, uint32_t to, float t) {
    uint32_t mixed = 0;
    for (int shift = 0; shift < 24; shift += 8) {
        const auto c1 = static_cast<int32_t>((from >> shift) & 0xFF);
        const auto c2 = static_cast<int32_t>((to >> shift) & 0xFF);
        const auto value = static_cast<int32_t>(static_cast<float>(c1) + static_cast<float>(c2 - c1) * t);
        mixed |= static_cast<uint32_t>(std::clamp(value, 0, 255)) << shift;
    }
    return mixed;
}

bool Is32Bit(const Surface& surface) {
    return surface.GetPixelFormat().bytesPerPixel == 4;
}

}  // namespace

GradientFramePainter::GradientFramePainter(Property* definition) : DialogPainter(definition) {
    colour1_ = ReadValue(definition, "color1") & 0xFFFFFFu;
    colour2_ = ReadValue(definition, "color2") & 0xFFFFFFu;
    colour3_ = ReadValue(definition, "color3") & 0xFFFFFFu;
    percentage_ = static_cast<int32_t>(ReadValue(definition, "percentage"));
}

int32_t GradientFramePainter::PieceWidthOf(int32_t piece) {
    const Surface* image = GetImage(piece);
    return image != nullptr ? image->GetWidth() : 0;
}

int32_t GradientFramePainter::PieceHeightOf(int32_t piece) {
    const Surface* image = GetImage(piece);
    return image != nullptr ? image->GetHeight() : 0;
}

void GradientFramePainter::FillRow(Canvas& canvas, int32_t row, uint32_t colour) const {
    Surface& target = canvas.GetSurface();
    if (Is32Bit(target)) {
        std::fill_n(target.Pixels32() + target.PixelIndex(0, row), target.GetWidth(), 0xFF000000u | colour);
        return;
    }
    canvas.SetColor(Color(colour));
    canvas.FillRect(-canvas.GetOriginX(), row - canvas.GetOriginY(), target.GetWidth(), 1);
}

void GradientFramePainter::PaintGradient(Canvas& canvas) const {
    Surface& target = canvas.GetSurface();
    const int32_t height = target.GetHeight();
    // Outside 0..100 the split row would lie outside the surface.
    const int32_t percentage = std::clamp(percentage_, 0, 100);
    const auto split = static_cast<float>(height * 0.01 * percentage);
    const auto splitRow = static_cast<int32_t>(split);
    canvas.SetAlpha(255);
    {
        ScopedSurfaceLock lock(target);
        if (target.GetPixels() == nullptr) {
            return;
        }
        for (int32_t row = 0; row < splitRow; ++row) {
            FillRow(canvas, row, Mix(colour1_, colour2_, static_cast<float>(row) / split));
        }
        for (int32_t row = splitRow; row < height; ++row) {
            const float t = (static_cast<float>(row) - split) / (static_cast<float>(height) - split);
            FillRow(canvas, row, Mix(colour2_, colour3_, t));
        }
    }
    if (!Is32Bit(target)) {
        canvas.FillChannelRect(kAlpha, 255);
    }
}

void GradientFramePainter::PutPiece(Canvas& canvas, int32_t piece, int32_t x, int32_t y) {
    Surface* image = GetImage(piece);
    if (image == nullptr) {
        return;
    }
    // Without its mask the piece still goes on with its own alpha.
    if (Surface* mask = GetImage(MaskOf(piece))) {
        canvas.CopyChannel(*mask, kAlpha, x, y);
    }
    canvas.Blit(*image, x, y);
    canvas.MaxChannel(*image, kAlpha, x, y);
}

void GradientFramePainter::PutRow(Canvas& canvas, int32_t piece, int32_t x, int32_t y, int32_t end) {
    const int32_t step = PieceWidthOf(piece);
    for (; step > 0 && x < end; x += step) {
        PutPiece(canvas, piece, x, y);
    }
}

void GradientFramePainter::PutColumn(Canvas& canvas, int32_t piece, int32_t x, int32_t y, int32_t end) {
    const int32_t step = PieceHeightOf(piece);
    for (; step > 0 && y < end; y += step) {
        PutPiece(canvas, piece, x, y);
    }
}

void GradientFramePainter::BurnEmblem(Canvas& canvas, int32_t piece, int32_t centreX, int32_t bottomGap) {
    Surface* emblem = GetImage(piece);
    Surface& target = canvas.GetSurface();
    if (emblem == nullptr || !Is32Bit(target)) {
        return;
    }
    int32_t x = centreX - emblem->GetWidth() / 2 + canvas.GetOriginX();
    int32_t y = target.GetHeight() - bottomGap - emblem->GetHeight() + canvas.GetOriginY();
    int32_t sourceX = 0;
    int32_t sourceY = 0;
    int32_t w = emblem->GetWidth();
    int32_t h = emblem->GetHeight();
    if (canvas.ClipBlitRect(emblem->GetWidth(), emblem->GetHeight(), x, y, sourceX, sourceY, w, h)) {
        BlendBurnRect(*emblem, sourceX, sourceY, w, h, target, x, y, kEmblemAlpha);
    }
}

void GradientFramePainter::PaintSidesAndCorners(Canvas& canvas) {
    const Surface& target = canvas.GetSurface();
    const int32_t width = target.GetWidth();
    const int32_t height = target.GetHeight();
    PutRow(canvas, kBottom, PieceWidthOf(kBottomLeft), height - PieceHeightOf(kBottom),
           width - PieceWidthOf(kBottomRight));
    PutColumn(canvas, kLeft, 0, PieceHeightOf(kTopLeft), height - PieceHeightOf(kBottomLeft));
    PutColumn(canvas, kRight, width - PieceWidthOf(kRight), PieceHeightOf(kTopRight),
              height - PieceHeightOf(kBottomRight));
    PutPiece(canvas, kTopLeft, 0, 0);
    PutPiece(canvas, kTopRight, width - PieceWidthOf(kTopRight), 0);
    PutPiece(canvas, kBottomLeft, 0, height - PieceHeightOf(kBottomLeft));
    PutPiece(canvas, kBottomRight, width - PieceWidthOf(kBottomRight), height - PieceHeightOf(kBottomRight));
}
