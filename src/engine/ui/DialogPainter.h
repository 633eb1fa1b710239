#pragma once

#include <cstdint>

#include "engine/media/Rect.h"
#include "engine/ui/Painter.h"

class Canvas;

// The engine's painter: a nine-piece frame (corners, edges tiled along the
// sides, a centre tiled or filled with one colour) with switches for how the
// frame's alpha reaches the surface.
class DialogPainter : public Painter {
    ENGINE_CLASS(DialogPainter, Painter)

public:
    // The image set's places.
    enum Piece : int32_t {
        kTopLeft = 0, kTop, kTopRight, kLeft, kCenter, kRight, kBottomLeft, kBottom, kBottomRight
    };

    // The Painter keys, then "adjustalpha", "initalpha", "usemaxalpha" and
    // "centercolor" (#AARRGGBB).
    explicit DialogPainter(Property* definition);

    void Paint(Surface& target) override;
    // Room for the corners plus a whole number of edge tiles.
    int32_t FitWidth(int32_t width) override;
    int32_t FitHeight(int32_t height) override;

    bool GetAdjustAlpha() const { return adjustAlpha_; }
    bool GetInitAlpha() const { return initAlpha_; }
    bool GetUseMaxAlpha() const { return useMaxAlpha_; }
    uint32_t GetCenterColor() const { return centerColor_; }

private:
    int32_t PieceWidth(Piece piece);
    int32_t PieceHeight(Piece piece);
    void FillCenter(Surface& target, const Rect& area) const;
    void Tile(Canvas& canvas, Piece piece, const Rect& area);

    bool adjustAlpha_ = true;
    bool initAlpha_ = false;
    bool useMaxAlpha_ = false;
    uint32_t centerColor_ = 0;
};
