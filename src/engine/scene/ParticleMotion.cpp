#include "engine/scene/ParticleMotion.h"

#include <algorithm>
#include <cmath>

#include "engine/media/Canvas.h"
#include "engine/scene/GameNode.h"

namespace {

constexpr float kStep = 0.02f;

// The speed moved toward 0 by the friction, never past it.
float Slowed(float velocity, float friction) {
    if (velocity > 0.0f) {
        return std::max(velocity - friction, 0.0f);
    }
    if (velocity < 0.0f) {
        return std::min(velocity + friction, 0.0f);
    }
    return velocity;
}

// One axis of the step: the speed under gravity and friction, then the
// position, kept in single precision.
float StepAxis(double& position, float& velocity, float gravity, float friction, float dt) {
    velocity = Slowed(velocity + dt * gravity * kStep, dt * friction * kStep);
    const float moved = static_cast<float>(position) + velocity * dt * kStep;
    position = moved;
    return moved;
}

}  // namespace

ParticleMotion::ParticleMotion(PointF start, PointF gravity, PointF friction, PointF velocity, int32_t durationMs)
    : ModifierFromTo(RoundToInt(start.x), RoundToInt(start.y)),
      duration_(durationMs),
      gravity_(gravity),
      friction_(friction),
      velocity_(velocity) {
    fromValue_ = start.x;
    toValue_ = start.y;
}

PointF ParticleMotion::GetPosition() const {
    return PointF{static_cast<float>(fromValue_), static_cast<float>(toValue_)};
}

void ParticleMotion::Update(int32_t elapsedMs) {
    if (duration_ >= 0) {
        if (elapsed_ >= duration_) {
            SetFinished();
        } else {
            elapsed_ += elapsedMs;
        }
    }
    const auto dt = static_cast<float>(elapsedMs);
    GameNode* target = GetTarget();
    if (flags_[0]) {
        const float x = StepAxis(fromValue_, velocity_.x, gravity_.x, friction_.x, dt);
        if (target != nullptr) {
            target->SetX(RoundToInt(x));
        }
    }
    if (flags_[1]) {
        const float y = StepAxis(toValue_, velocity_.y, gravity_.y, friction_.y, dt);
        if (target != nullptr) {
            target->SetY(RoundToInt(y));
        }
    }
}
