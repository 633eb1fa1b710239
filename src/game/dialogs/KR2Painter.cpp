#include "game/dialogs/KR2Painter.h"

#include <algorithm>

#include "engine/foundation/ClassFactory.h"
#include "engine/media/Canvas.h"
#include "game/constants/GameConstants.h"

namespace {

const ClassRegistration registration("KR2Painter", CreateFromProperty<KR2Painter>);

// The tab reaches this far beyond its label on the two sides together.
constexpr int32_t kTabMargin = 64;
constexpr int32_t kOrnamentX = 30;
constexpr int32_t kOrnamentY = 43;
constexpr int32_t kEmblemBottomGap = 30;
// The label's centre sits at this row, a little right of the tab's centre.
constexpr int32_t kLabelMiddleY = 51;
constexpr int32_t kLabelShiftX = 5;

}  // namespace

KR2Painter::KR2Painter(Property* definition) : GradientFramePainter(definition) {}

int32_t KR2Painter::MaskOf(int32_t piece) const {
    if (piece == kTopLeftOfTab) {
        return 25;
    }
    return piece >= 0 && piece <= kTabRight ? piece + 14 : -1;
}

void KR2Painter::PaintTab(Canvas& canvas, int32_t left, int32_t width) {
    PutPiece(canvas, kTabLeft, left, 0);
    // The middle is tiled between the ends, so it needs both.
    if (GetImage(kTabLeft) != nullptr && GetImage(kTabRight) != nullptr) {
        PutRow(canvas, kCenter, left + PieceWidthOf(kTabLeft), 0, left + width - PieceWidthOf(kTabRight));
    }
    PutPiece(canvas, kTabRight, left + width - PieceWidthOf(kTabRight), 0);
}

void KR2Painter::Paint(Surface& target) {
    const Ref<Canvas> canvas = target.CreateCanvas();
    const int32_t width = target.GetWidth();
    const int32_t labelWidth = headerLabel_ ? headerLabel_->GetWidth() : 0;
    const int32_t tabWidth = std::max(labelWidth, DIALOG_MIN_CENTERWIDTH) + kTabMargin;
    const int32_t centre = width / 2 + DIALOG_CENTER_OFFSET;

    PaintGradient(*canvas);
    if (Surface* ornament = GetImage(kOrnament)) {
        canvas->Blit(*ornament, kOrnamentX, kOrnamentY);
    }
    BurnEmblem(*canvas, kEmblem, centre, kEmblemBottomGap);
    const int32_t tabLeft = centre - tabWidth / 2;
    PaintTab(*canvas, tabLeft, tabWidth);
    PutRow(*canvas, kTopLeftOfTab, PieceWidthOf(kTopLeft), 0, tabLeft);
    PutRow(*canvas, kTop, tabLeft + tabWidth, 0, width - PieceWidthOf(kTopRight));
    PaintSidesAndCorners(*canvas);
    if (headerLabel_) {
        if (Surface* text = headerLabel_->GetImage()) {
            canvas->Blit(*text, centre - labelWidth / 2 + kLabelShiftX, kLabelMiddleY - headerLabel_->GetHeight() / 2);
        }
    }
    SetNeedsRepaint(false);
}
