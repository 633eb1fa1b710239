#pragma once

#include <cstdint>

#include "engine/foundation/Object.h"
#include "engine/foundation/Ref.h"
#include "engine/media/Rect.h"

class GameNode;
class ModifierMover;

// A push on a mover's velocity, for a limited time or for as long as the
// mover runs.
class MotionForce : public Object {
    ENGINE_CLASS(MotionForce, Object)

public:
    // Changes the velocity for a step of `seconds`.
    virtual void Apply(float seconds, PointF& velocity, const ModifierMover& mover) = 0;
    // True ends the mover.
    virtual bool IsDone(const ModifierMover& mover) const;

    // Below 1: unlimited.
    int32_t GetRemainingTime() const { return remainingMs_; }
    void SetRemainingTime(int32_t ms) { remainingMs_ = ms; }

private:
    int32_t remainingMs_ = 0;
};

// A constant acceleration, in pixels per second squared.
class ForceAcceleration : public MotionForce {
    ENGINE_CLASS(ForceAcceleration, MotionForce)

public:
    ForceAcceleration(float ax, float ay) : acceleration_{ax, ay} {}
    void Apply(float seconds, PointF& velocity, const ModifierMover& mover) override;

private:
    PointF acceleration_;
};

// Slows the mover along its direction by a constant amount per second, down
// to a standstill but never into reverse.
class ForceFriction : public MotionForce {
    ENGINE_CLASS(ForceFriction, MotionForce)

public:
    explicit ForceFriction(float friction) : friction_(friction) {}
    void Apply(float seconds, PointF& velocity, const ModifierMover& mover) override;

private:
    float friction_;
};

// Pulls the mover toward a point (or, in repel mode, pushes it away); with a
// positive reach radius only inside it, more strongly the closer it is.
class ForceSeek : public MotionForce {
    ENGINE_CLASS(ForceSeek, MotionForce)

public:
    static constexpr int32_t kAttract = 0;
    static constexpr int32_t kRepel = 1;

    ForceSeek(PointF target, float reachRadius, float strength, int32_t mode = kAttract, bool doneWhenReached = false)
        : target_(target),
          reachRadius_(reachRadius),
          strength_(strength),
          mode_(mode),
          doneWhenReached_(doneWhenReached) {}
    void Apply(float seconds, PointF& velocity, const ModifierMover& mover) override;
    // Reached: an attracting seek with the flag set, closer than 3 pixels.
    bool IsDone(const ModifierMover& mover) const override;

    PointF GetTargetPoint() const { return target_; }

protected:
    void SetTargetPoint(PointF target) { target_ = target; }
    PointF GetOffset() const { return offset_; }
    void SetOffset(PointF offset) { offset_ = offset; }

private:
    PointF target_;
    PointF offset_{};
    float reachRadius_;
    float strength_;
    int32_t mode_;
    bool doneWhenReached_;
};

// A seek whose point follows a node: the node's absolute position plus the
// offset, in the coordinates of the moved node's parent.
class ForceSeekNode : public ForceSeek {
    ENGINE_CLASS(ForceSeekNode, ForceSeek)

public:
    ForceSeekNode(GameNode* followed, PointF offset, float reachRadius, float strength, int32_t mode = kAttract,
                  bool doneWhenReached = false);
    void Apply(float seconds, PointF& velocity, const ModifierMover& mover) override;

private:
    Ref<GameNode> followed_;
};
