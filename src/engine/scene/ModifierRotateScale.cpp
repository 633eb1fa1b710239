#include "engine/scene/ModifierRotateScale.h"

#include "engine/scene/Sprite.h"

void ModifierRotateScale::Write(float angle, float scale) const {
    Sprite* sprite = ObjectCast<Sprite>(GetTarget());
    if (sprite == nullptr) {
        return;
    }
    if (scale_) {
        sprite->SetScale(scale);
    }
    sprite->SetRotation(angle);
}

void ModifierRotateScale::Update(int32_t elapsedMs) {
    if (clock_.HasReachedEnd()) {
        SetFinished();
        Write(endAngle_, endScale_);
        return;
    }
    const float t = smooth_ ? Smoothstep(clock_.Progress()) : clock_.Progress();
    Write(startAngle_ + (endAngle_ - startAngle_) * t, startScale_ + (endScale_ - startScale_) * t);
    clock_.Advance(elapsedMs);
}
