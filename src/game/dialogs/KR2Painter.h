#pragma once

#include <cstdint>

#include "engine/foundation/Ref.h"
#include "engine/ui/Label.h"
#include "game/dialogs/GradientFramePainter.h"

// The frame of the ordinary game dialogs: the gradient body, a header tab at
// the top centred a little off the middle and carrying the dialog's header
// label, an ornament at the top left and a burnt-in emblem near the bottom.
class KR2Painter : public GradientFramePainter {
    ENGINE_CLASS(KR2Painter, GradientFramePainter)

public:
    // Its own pieces beyond the frame's nine (index 1 is the top edge right of
    // the tab, index 4 the tab's middle).
    enum TabPiece : int32_t { kTabLeft = 9, kTabRight = 10, kOrnament = 11, kEmblem = 12, kTopLeftOfTab = 13 };

    explicit KR2Painter(Property* definition);

    void Paint(Surface& target) override;

    void SetHeaderLabel(Label* label) { headerLabel_ = label; }
    Ref<Label> GetHeaderLabel() const { return headerLabel_; }

protected:
    int32_t MaskOf(int32_t piece) const override;

private:
    void PaintTab(Canvas& canvas, int32_t left, int32_t width);

    Ref<Label> headerLabel_;
};
