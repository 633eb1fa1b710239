#include "engine/scene/ModifierValue.h"

#include "engine/media/RotateScaleWalk.h"
#include "engine/scene/Sprite.h"

void ModifierValue::Write(int32_t value) const {
    if (Sprite* sprite = ObjectCast<Sprite>(GetTarget())) {
        sprite->SetAlpha(value);
    }
}

void ModifierValue::Update(int32_t elapsedMs) {
    if (clock_.HasReachedEnd()) {
        SetFinished();
        Write(end_);
        return;
    }
    Write(TruncateToInt32(static_cast<float>(start_) +
                          static_cast<float>(end_ - start_) * clock_.Progress()));
    clock_.Advance(elapsedMs);
}
