#include "engine/scene/ModifierCropSize.h"

#include "engine/media/Canvas.h"
#include "engine/scene/Sprite.h"

void ModifierCropSize::Write(Sprite& sprite, int32_t width, int32_t height) const {
    if (width_) {
        sprite.SetCropWidth(width);
    }
    if (height_) {
        sprite.SetCropHeight(height);
    }
}

void ModifierCropSize::Update(int32_t elapsedMs) {
    Sprite* sprite = ObjectCast<Sprite>(GetTarget());
    if (clock_.HasReachedEnd()) {
        SetFinished();
        if (sprite != nullptr) {
            Write(*sprite, endWidth_, endHeight_);
            // Back at full size: draw uncropped again.
            const std::optional<Rect>& crop = sprite->GetCropRect();
            if (crop && crop->w == sprite->GetWidth() && crop->h == sprite->GetHeight()) {
                sprite->RemoveCropRect();
            }
        }
        return;
    }
    if (sprite != nullptr) {
        const float t = easing_ != nullptr ? easing_(clock_.Progress()) : clock_.Progress();
        Write(*sprite, RoundToInt(static_cast<float>(startWidth_) + static_cast<float>(endWidth_ - startWidth_) * t),
              RoundToInt(static_cast<float>(startHeight_) + static_cast<float>(endHeight_ - startHeight_) * t));
    }
    clock_.Advance(elapsedMs);
}
