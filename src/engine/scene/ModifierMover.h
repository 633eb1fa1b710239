#pragma once

#include <vector>

#include "engine/foundation/Ref.h"
#include "engine/media/Rect.h"
#include "engine/scene/Modifier.h"
#include "engine/scene/MotionForce.h"

// Moves its node by a velocity that a list of timed forces changes every
// frame, within a speed limit. A move made to the node by other code is kept.
class ModifierMover : public Modifier {
    ENGINE_CLASS(ModifierMover, Modifier)

public:
    // A maximum of 0 or less sets no limit.
    explicit ModifierMover(float maximumSpeed = 0.0f) : maximumSpeed_(maximumSpeed) {}

    // Appended; the mover holds a reference.
    void AddForce(MotionForce* force);
    // Takes the node's position as its own.
    void SetTarget(GameNode* node) override;
    void Update(int32_t elapsedMs) override;

    // Finish once the last force has run out.
    void SetFinishWithoutForces(bool finish) { finishWithoutForces_ = finish; }
    PointF GetPosition() const { return position_; }
    PointF GetVelocity() const { return velocity_; }
    void SetVelocity(PointF velocity) { velocity_ = velocity; }
    size_t ForceCount() const { return forces_.size(); }

private:
    void ApplyForces(int32_t elapsedMs);
    bool AnyForceDone() const;

    bool finishWithoutForces_ = false;
    PointF lastNodePosition_{};
    PointF position_{};
    PointF velocity_{};
    float maximumSpeed_;
    std::vector<Ref<MotionForce>> forces_;
};
