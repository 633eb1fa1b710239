#include "engine/scene/ModifierMover.h"

#include <cmath>

#include "engine/media/Canvas.h"
#include "engine/scene/GameNode.h"
#include "engine/scene/Geometry.h"

void ModifierMover::AddForce(MotionForce* force) {
    if (force != nullptr) {
        forces_.emplace_back(force);
    }
}

void ModifierMover::SetTarget(GameNode* node) {
    Modifier::SetTarget(node);
    if (node != nullptr) {
        position_ = PointF{static_cast<float>(node->GetX()), static_cast<float>(node->GetY())};
        lastNodePosition_ = position_;
    }
}

void ModifierMover::ApplyForces(int32_t elapsedMs) {
    for (size_t i = 0; i < forces_.size();) {
        MotionForce& force = *forces_[i];
        const int32_t remaining = force.GetRemainingTime();
        const bool timed = remaining >= 1;
        const int32_t step = timed && remaining < elapsedMs ? remaining : elapsedMs;
        force.Apply(static_cast<float>(step) * 0.001f, velocity_, *this);
        if (!timed) {
            ++i;
            continue;
        }
        force.SetRemainingTime(remaining - elapsedMs);
        if (elapsedMs >= remaining) {
            forces_.erase(forces_.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
}

bool ModifierMover::AnyForceDone() const {
    for (const Ref<MotionForce>& force : forces_) {
        if (force->IsDone(*this)) {
            return true;
        }
    }
    return false;
}

void ModifierMover::Update(int32_t elapsedMs) {
    GameNode* node = GetTarget();
    if (node == nullptr) {
        return;
    }
    // Another hand may have moved the node since the last step: keep its move.
    position_.x += static_cast<float>(static_cast<int32_t>(static_cast<float>(node->GetX()) - lastNodePosition_.x));
    position_.y += static_cast<float>(static_cast<int32_t>(static_cast<float>(node->GetY()) - lastNodePosition_.y));
    ApplyForces(elapsedMs);
    const float speed = LengthOf(velocity_);
    if (maximumSpeed_ > 0.0f && speed > maximumSpeed_) {
        velocity_ = velocity_ * (maximumSpeed_ / speed);
    }
    const auto elapsed = static_cast<float>(elapsedMs);
    position_.x += velocity_.x * elapsed * 0.001f;
    position_.y += velocity_.y * elapsed * 0.001f;
    node->SetX(RoundToInt(position_.x));
    node->SetY(RoundToInt(position_.y));
    lastNodePosition_ = PointF{static_cast<float>(node->GetX()), static_cast<float>(node->GetY())};
    if (AnyForceDone() || (forces_.empty() && finishWithoutForces_)) {
        SetFinished();
        if (HasOption(kRemoveNodeAtEnd)) {
            node->SetRemoved(true);
        }
    }
}
