#include "engine/scene/ModifierProximityShrink.h"

#include "engine/scene/Sprite.h"

void ModifierProximityShrink::Update(int32_t) {
    auto* sprite = ObjectCast<Sprite>(GetTarget());
    if (sprite == nullptr || !watched_ || radius_ == 0.0f) {
        return;
    }
    const float dx =
        static_cast<float>(watched_->GetAbsoluteX()) + offset_.x - static_cast<float>(sprite->GetAbsoluteX());
    const float dy =
        static_cast<float>(watched_->GetAbsoluteY()) + offset_.y - static_cast<float>(sprite->GetAbsoluteY());
    const float q = (dx * dx + dy * dy) / (radius_ * radius_);
    if (q <= 1.0f) {
        const float scale = q * (1.0f - minimumScale_) + minimumScale_;
        if (scale < sprite->GetScale()) {
            sprite->SetScale(scale);
        }
    }
}
