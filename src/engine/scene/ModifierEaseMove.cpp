#include "engine/scene/ModifierEaseMove.h"

#include "engine/media/RotateScaleWalk.h"
#include "engine/scene/GameNode.h"

ModifierEaseMove::ModifierEaseMove(float startX, float startY, int32_t endX, int32_t endY, int32_t durationMs,
                                   bool moveX, bool moveY, EasingFunction easing)
    : startX_(startX),
      startY_(startY),
      endX_(endX),
      endY_(endY),
      clock_(durationMs),
      moveX_(moveX),
      moveY_(moveY),
      easing_(easing) {}

void ModifierEaseMove::MoveTo(int32_t x, int32_t y) const {
    GameNode* target = GetTarget();
    if (target == nullptr) {
        return;
    }
    if (moveX_) {
        target->SetX(x);
    }
    if (moveY_) {
        target->SetY(y);
    }
}

void ModifierEaseMove::Update(int32_t elapsedMs) {
    if (clock_.HasReachedEnd()) {
        SetFinished();
        MoveTo(endX_, endY_);
        return;
    }
    const float t = easing_ != nullptr ? easing_(clock_.Progress()) : clock_.Progress();
    MoveTo(TruncateToInt32(startX_ + (static_cast<float>(endX_) - startX_) * t),
           TruncateToInt32(startY_ + (static_cast<float>(endY_) - startY_) * t));
    clock_.Advance(elapsedMs);
}
