#include "engine/scene/ModifierThreshold.h"

#include "engine/scene/ThresholdSprite.h"

void ModifierThreshold::Update(int32_t elapsedMs) {
    if (elapsed_ >= duration_) {
        elapsed_ = duration_;
        SetFinished();
    }
    // Without a duration there is nothing to divide by: the reveal is whole at once.
    const double fraction = duration_ > 0 ? static_cast<double>(elapsed_) / duration_ : 1.0;
    if (ThresholdSprite* sprite = ObjectCast<ThresholdSprite>(GetTarget())) {
        if (sprite->GetThreshold() != static_cast<float>(fraction)) {
            sprite->SetThreshold(static_cast<float>(fraction));
            sprite->SetDirty(true);
        }
    }
    if (!IsFinished() && elapsedMs > 0) {
        // Held at the duration, so a long frame never overflows the sum.
        elapsed_ = elapsedMs >= duration_ - elapsed_ ? duration_ : elapsed_ + elapsedMs;
    }
}
