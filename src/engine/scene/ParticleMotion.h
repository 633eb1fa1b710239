#pragma once

#include <cstdint>

#include "engine/media/Rect.h"
#include "engine/scene/ModifierFromTo.h"

// A particle's straight flight under gravity and friction. The start and end
// values of the base hold the exact position; the target gets it rounded.
class ParticleMotion : public ModifierFromTo {
    ENGINE_CLASS(ParticleMotion, ModifierFromTo)

public:
    static constexpr int32_t kEndless = -1;

    ParticleMotion(PointF start, PointF gravity, PointF friction, PointF velocity, int32_t durationMs = kEndless);

    void Update(int32_t elapsedMs) override;

    PointF GetPosition() const;
    PointF GetVelocity() const { return velocity_; }

private:
    int32_t duration_;
    int32_t elapsed_ = 0;
    PointF gravity_;
    PointF friction_;
    PointF velocity_;
};
