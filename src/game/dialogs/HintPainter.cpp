#include "game/dialogs/HintPainter.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/media/Canvas.h"

namespace {

const ClassRegistration registration("HintPainter", CreateFromProperty<HintPainter>);

constexpr int32_t kEmblemBottomGap = 15;
// Masks follow the nine pieces in the same order.
constexpr int32_t kFirstMask = 9;

}  // namespace

HintPainter::HintPainter(Property* definition) : GradientFramePainter(definition) {}

int32_t HintPainter::MaskOf(int32_t piece) const {
    return piece >= 0 && piece <= kBottomRight && piece != kCenter ? piece + kFirstMask : -1;
}

void HintPainter::Paint(Surface& target) {
    const Ref<Canvas> canvas = target.CreateCanvas();
    const int32_t width = target.GetWidth();
    PaintGradient(*canvas);
    BurnEmblem(*canvas, kCenter, width / 2, kEmblemBottomGap);
    PutRow(*canvas, kTop, PieceWidthOf(kTopLeft), 0, width - PieceWidthOf(kTopRight));
    PaintSidesAndCorners(*canvas);
    SetNeedsRepaint(false);
}
