#include "engine/ui/DialogPainter.h"

#include <algorithm>
#include <limits>
#include <tuple>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Property.h"
#include "engine/media/Canvas.h"
#include "engine/media/PixelFormat.h"

namespace {

const ClassRegistration registration("DialogPainter", CreateFromProperty<DialogPainter>);

// False for an empty text or "false", true for any other.
bool ReadFlag(Property* definition, const char* key, bool fallback) {
    Property* value = Property::Child(definition, key);
    if (value == nullptr) {
        return fallback;
    }
    const std::string text = Property::AsString(value);
    return !text.empty() && text != "false";
}

// Edges plus the fewest whole tiles that reach the wanted length.
int32_t FitLength(int32_t wanted, int32_t edges, int32_t tile) {
    const int64_t rest = static_cast<int64_t>(wanted) - edges;
    const int64_t tiles = tile == 0 || rest <= 0 ? 0 : (rest + tile - 1) / tile;
    const int64_t fitted = std::max<int64_t>(edges + tiles * tile, wanted);
    return static_cast<int32_t>(std::min<int64_t>(fitted, std::numeric_limits<int32_t>::max()));
}

}  // namespace

DialogPainter::DialogPainter(Property* definition) : Painter(definition) {
    adjustAlpha_ = ReadFlag(definition, "adjustalpha", adjustAlpha_);
    initAlpha_ = ReadFlag(definition, "initalpha", initAlpha_);
    useMaxAlpha_ = ReadFlag(definition, "usemaxalpha", useMaxAlpha_);
    if (Property* color = Property::Child(definition, "centercolor")) {
        centerColor_ = static_cast<uint32_t>(Property::AsInt(color));
    }
}

int32_t DialogPainter::PieceWidth(Piece piece) {
    const Surface* image = GetImage(piece);
    return image != nullptr ? image->GetWidth() : 0;
}

int32_t DialogPainter::PieceHeight(Piece piece) {
    const Surface* image = GetImage(piece);
    return image != nullptr ? image->GetHeight() : 0;
}

int32_t DialogPainter::FitWidth(int32_t width) {
    int32_t edges = std::max(PieceWidth(kTopLeft), PieceWidth(kBottomLeft)) +
                    std::max(PieceWidth(kTopRight), PieceWidth(kBottomRight));
    if (edges == 0) {
        edges = PieceWidth(kLeft) + PieceWidth(kRight);
    }
    int32_t tile = std::max(PieceWidth(kTop), PieceWidth(kBottom));
    if (tile == 0) {
        tile = PieceWidth(kCenter);
    }
    return FitLength(width, edges, tile);
}

int32_t DialogPainter::FitHeight(int32_t height) {
    int32_t edges = std::max(PieceHeight(kTopLeft), PieceHeight(kTopRight)) +
                    std::max(PieceHeight(kBottomLeft), PieceHeight(kBottomRight));
    if (edges == 0) {
        edges = PieceHeight(kTop) + PieceHeight(kBottom);
    }
    int32_t tile = std::max(PieceHeight(kLeft), PieceHeight(kRight));
    if (tile == 0) {
        tile = PieceHeight(kCenter);
    }
    return FitLength(height, edges, tile);
}

void DialogPainter::FillCenter(Surface& target, const Rect& area) const {
    if (target.GetPixelFormat().bytesPerPixel != 4) {
        return;
    }
    ScopedSurfaceLock lock(target);
    if (target.GetPixels() == nullptr) {
        return;
    }
    const int32_t left = std::max(area.x, 0);
    const int32_t top = std::max(area.y, 0);
    const int32_t right = std::min(area.x + area.w, target.GetWidth());
    const int32_t bottom = std::min(area.y + area.h, target.GetHeight());
    const uint32_t colourAlpha = centerColor_ >> 24;
    for (int32_t y = top; y < bottom; ++y) {
        for (int32_t x = left; x < right; ++x) {
            uint32_t& pixel = target.Pixels32()[target.PixelIndex(x, y)];
            if (!adjustAlpha_) {
                pixel = (pixel & 0xFF000000u) | (centerColor_ & 0x00FFFFFFu);
            } else if (useMaxAlpha_ && (pixel >> 24) > colourAlpha) {
                // Alpha bytes compare as the unsigned values they are.
                pixel = (pixel & 0xFF000000u) | (centerColor_ & 0x00FFFFFFu);
            } else {
                pixel = centerColor_;
            }
        }
    }
}

void DialogPainter::Tile(Canvas& canvas, Piece piece, const Rect& area) {
    Surface* image = GetImage(piece);
    if (image == nullptr || image->GetWidth() <= 0 || image->GetHeight() <= 0 || area.w <= 0 || area.h <= 0) {
        return;
    }
    const bool ownAlpha = image->UsesAlphaChannel();
    if (adjustAlpha_) {
        image->SetUseAlphaChannel(false);
        if (!ownAlpha) {
            canvas.FillChannelRect(kAlpha, 255, area);
        }
    }
    for (int32_t y = area.y; y < area.y + area.h; y += image->GetHeight()) {
        for (int32_t x = area.x; x < area.x + area.w; x += image->GetWidth()) {
            canvas.Blit(*image, x, y);
            if (adjustAlpha_ && ownAlpha) {
                if (useMaxAlpha_) {
                    canvas.MaxChannel(*image, kAlpha, x, y);
                } else {
                    canvas.CopyChannel(*image, kAlpha, x, y);
                }
            }
        }
    }
    image->SetUseAlphaChannel(ownAlpha);
}

void DialogPainter::Paint(Surface& target) {
    const Ref<Canvas> canvas = target.CreateCanvas();
    const int32_t width = target.GetWidth();
    const int32_t height = target.GetHeight();
    if (adjustAlpha_ && initAlpha_) {
        canvas->FillChannelRect(kAlpha, 0);
        for (Channel channel : {kRed, kGreen, kBlue}) {
            canvas->FillChannelRect(channel, 0);
        }
    }
    const int32_t left = PieceWidth(kLeft);
    const int32_t top = PieceHeight(kTop);
    const int32_t right = PieceWidth(kRight);
    const int32_t bottom = PieceHeight(kBottom);
    const Rect centre{left, top, width - right - left, height - bottom - top};
    if (GetImage(kCenter) != nullptr) {
        Tile(*canvas, kCenter, centre);
    } else {
        FillCenter(target, centre);
    }
    Tile(*canvas, kTop, Rect{PieceWidth(kTopLeft), 0, width - PieceWidth(kTopRight) - PieceWidth(kTopLeft), top});
    Tile(*canvas, kBottom,
         Rect{PieceWidth(kBottomLeft), height - bottom, width - PieceWidth(kBottomRight) - PieceWidth(kBottomLeft),
              bottom});
    Tile(*canvas, kLeft,
         Rect{0, PieceHeight(kTopLeft), left, height - PieceHeight(kBottomLeft) - PieceHeight(kTopLeft)});
    Tile(*canvas, kRight,
         Rect{width - right, PieceHeight(kTopRight), right,
              height - PieceHeight(kBottomRight) - PieceHeight(kTopRight)});
    // Each corner is one tile of its own size, so its alpha reaches the surface like the edges'.
    for (const auto& [piece, atRight, atBottom] :
         {std::tuple{kTopLeft, false, false}, std::tuple{kTopRight, true, false},
          std::tuple{kBottomLeft, false, true}, std::tuple{kBottomRight, true, true}}) {
        const int32_t w = PieceWidth(piece);
        const int32_t h = PieceHeight(piece);
        Tile(*canvas, piece, Rect{atRight ? width - w : 0, atBottom ? height - h : 0, w, h});
    }
    SetNeedsRepaint(false);
}
