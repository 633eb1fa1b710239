#include "engine/scene/ModifierRotate.h"

#include <numbers>

#include "engine/scene/Sprite.h"

ModifierRotate::ModifierRotate(float fromAngle, float toAngle, int32_t durationMs)
    : from_(fromAngle), to_(toAngle), current_(fromAngle), done_(durationMs < 1), duration_(durationMs), spin_(false) {}

ModifierRotate::ModifierRotate(int32_t periodMs, float fromAngle)
    : from_(fromAngle), to_(-1.0f), current_(fromAngle), duration_(periodMs), spin_(true) {}

float ModifierRotate::AngleNow() const {
    if (duration_ < 1) {
        return from_;
    }
    const float t = static_cast<float>(static_cast<double>(elapsed_) / duration_);
    if (spin_) {
        return from_ + t * 2.0f * std::numbers::pi_v<float>;
    }
    if (eased_) {
        return from_ + (to_ - from_) * t * t * (3.0f - 2.0f * t);
    }
    return from_ + (to_ - from_) * t;
}

void ModifierRotate::Write(float angle) const {
    if (Sprite* sprite = ObjectCast<Sprite>(GetTarget())) {
        sprite->SetRotation(angle);
    }
}

void ModifierRotate::Update(int32_t elapsedMs) {
    current_ = AngleNow();
    if (done_) {
        current_ = to_;
        Write(to_);
        SetFinished();
        return;
    }
    Write(current_);
    if (elapsedMs > 0) {
        elapsed_ += elapsedMs;
    }
    if (!spin_ && elapsed_ >= duration_) {
        done_ = true;
        elapsed_ = duration_;
    }
}
