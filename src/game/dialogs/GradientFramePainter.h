#pragma once

#include <cstdint>

#include "engine/ui/DialogPainter.h"

class Canvas;

// A game dialog frame over a vertical gradient body: colour 1 at the top to
// colour 2 at the split row, then on to colour 3 at the bottom. Frame pieces
// go on in the shape of their masks; one piece is burnt into the body as an
// emblem.
class GradientFramePainter : public DialogPainter {
    ENGINE_CLASS(GradientFramePainter, DialogPainter)

public:
    // The DialogPainter keys, then "color1", "color2", "color3" (#RRGGBB) and
    // "percentage", the split row in percent of the height; missing keys read 0.
    explicit GradientFramePainter(Property* definition);

protected:
    // The image index of a piece's mask; -1 for a piece without one.
    virtual int32_t MaskOf(int32_t piece) const = 0;

    // A piece's size; 0 for a missing piece.
    int32_t PieceWidthOf(int32_t piece);
    int32_t PieceHeightOf(int32_t piece);

    // Fills every row of the surface, opaque.
    void PaintGradient(Canvas& canvas) const;
    // The mask's alpha, then the piece, then the higher of the two alphas.
    void PutPiece(Canvas& canvas, int32_t piece, int32_t x, int32_t y);
    // The piece from `x` (or `y`) onwards, one tile after the other, while the tile starts before `end`.
    void PutRow(Canvas& canvas, int32_t piece, int32_t x, int32_t y, int32_t end);
    void PutColumn(Canvas& canvas, int32_t piece, int32_t x, int32_t y, int32_t end);
    // Burn-blends the piece centred on `centreX`, its bottom `bottomGap` above
    // the surface's bottom. Only 32-bit surfaces take it.
    void BurnEmblem(Canvas& canvas, int32_t piece, int32_t centreX, int32_t bottomGap);
    // The bottom (7), left (3) and right (5) edges, then the corners 0, 2, 6 and 8.
    void PaintSidesAndCorners(Canvas& canvas);

private:
    void FillRow(Canvas& canvas, int32_t row, uint32_t colour) const;

    uint32_t colour1_ = 0;
    uint32_t colour2_ = 0;
    uint32_t colour3_ = 0;
    int32_t percentage_ = 0;
};
