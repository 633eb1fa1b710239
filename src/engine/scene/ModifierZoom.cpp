#include "engine/scene/ModifierZoom.h"

#include "engine/scene/Sprite.h"

void ModifierZoom::Write(float scale) const {
    if (Sprite* sprite = ObjectCast<Sprite>(GetTarget())) {
        sprite->SetScale(scale);
    }
}

void ModifierZoom::Update(int32_t elapsedMs) {
    if (clock_.HasReachedEnd()) {
        SetFinished();
        Write(end_);
        return;
    }
    const float t = smooth_ ? Smoothstep(clock_.Progress()) : clock_.Progress();
    Write(start_ + (end_ - start_) * t);
    clock_.Advance(elapsedMs);
}
