#include "engine/scene/ModifierScaleBounce.h"

#include <algorithm>
#include <cmath>

#include "engine/scene/Sprite.h"

namespace {
// Moves v toward 0 by d without crossing it.
float Damp(float v, float d) {
    return v <= 0.0f ? std::min(v + d, 0.0f) : std::max(v - d, 0.0f);
}
}  // namespace

void ModifierScaleBounce::Update(int32_t elapsedMs) {
    Sprite* sprite = ObjectCast<Sprite>(GetTarget());
    const auto seconds = static_cast<float>(elapsedMs * 0.001);
    elapsed_ = static_cast<int32_t>(std::min<int64_t>(int64_t{elapsed_} + elapsedMs, kMaxDurationMs));
    if (!approaching_) {
        speed_ = Damp(speed_ - seconds * acceleration_, seconds * damping_);
    }
    // The scale written last frame tells which side of the target it was on.
    const float previous = sprite != nullptr ? sprite->GetScale() : current_;
    current_ += seconds * speed_;
    const bool crossed = std::min(previous, current_) < target_ && target_ < std::max(previous, current_);
    if (approaching_) {
        approaching_ = current_ <= target_;
    } else if (crossed) {
        acceleration_ = -acceleration_;
    }
    if (settled_) {
        SetFinished();
        if (sprite != nullptr) {
            sprite->SetScale(target_);
        }
        return;
    }
    if (sprite != nullptr) {
        sprite->SetScale(std::max(0.0f, current_));
    }
    const bool still = -0.01f <= speed_ && speed_ <= 0.01f;
    const bool near = target_ - 0.01f <= current_ && current_ <= target_ + 0.01f;
    settled_ = (still && (acceleration_ == 0.0f || near)) || elapsed_ >= kMaxDurationMs;
}
