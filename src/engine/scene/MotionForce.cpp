#include "engine/scene/MotionForce.h"

#include <algorithm>
#include <cmath>

#include "engine/scene/GameNode.h"
#include "engine/scene/Geometry.h"
#include "engine/scene/ModifierMover.h"

bool MotionForce::IsDone(const ModifierMover&) const {
    return false;
}

void ForceAcceleration::Apply(float seconds, PointF& velocity, const ModifierMover&) {
    velocity.x += seconds * acceleration_.x;
    velocity.y += seconds * acceleration_.y;
}

void ForceFriction::Apply(float seconds, PointF& velocity, const ModifierMover&) {
    const float slowdown = seconds * friction_;
    const float speed = LengthOf(velocity);
    if (slowdown < speed) {
        velocity.x -= velocity.x * slowdown / speed;
        velocity.y -= velocity.y * slowdown / speed;
    } else {
        velocity = PointF{0.0f, 0.0f};
    }
}

void ForceSeek::Apply(float seconds, PointF& velocity, const ModifierMover& mover) {
    if (reachRadius_ == 0.0f || strength_ == 0.0f) {
        return;
    }
    const PointF d = target_ - mover.GetPosition();
    const float distance = LengthOf(d);
    float push = seconds * strength_;
    if (reachRadius_ > 0.0f) {
        if (distance >= reachRadius_) {
            return;
        }
        push = (1.0f - distance / reachRadius_) * push;
    }
    const PointF direction = Normalize(d);
    if (mode_ == kRepel) {
        velocity = velocity - direction * push;
        return;
    }
    push = std::min(push, distance * distance);
    velocity = velocity + direction * push;
}

bool ForceSeek::IsDone(const ModifierMover& mover) const {
    return doneWhenReached_ && mode_ == kAttract && LengthOf(target_ - mover.GetPosition()) < 3.0f;
}

ForceSeekNode::ForceSeekNode(GameNode* followed, PointF offset, float reachRadius, float strength, int32_t mode,
                             bool doneWhenReached)
    : ForceSeek(PointF{}, reachRadius, strength, mode, doneWhenReached), followed_(followed) {
    SetOffset(offset);
}

void ForceSeekNode::Apply(float seconds, PointF& velocity, const ModifierMover& mover) {
    if (followed_) {
        const GameNode* moved = mover.GetTarget();
        const float parentX = moved != nullptr ? static_cast<float>(moved->GetParentAbsoluteX()) : 0.0f;
        const float parentY = moved != nullptr ? static_cast<float>(moved->GetParentAbsoluteY()) : 0.0f;
        SetTargetPoint(PointF{static_cast<float>(followed_->GetAbsoluteX()) + GetOffset().x - parentX,
                              static_cast<float>(followed_->GetAbsoluteY()) + GetOffset().y - parentY});
    }
    ForceSeek::Apply(seconds, velocity, mover);
}
