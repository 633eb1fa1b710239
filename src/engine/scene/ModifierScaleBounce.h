#pragma once

#include <cstdint>

#include "engine/scene/Modifier.h"

// Grows the target sprite's scale at a constant speed to a target, overshoots,
// then springs back and forth (the pull flips at each crossing, damping eats
// the speed) until it settles, or for at most four seconds.
class ModifierScaleBounce : public Modifier {
    ENGINE_CLASS(ModifierScaleBounce, Modifier)

public:
    static constexpr int32_t kMaxDurationMs = 4000;

    // Speed per second, acceleration and damping per second squared.
    ModifierScaleBounce(float startScale, float targetScale, float speed, float acceleration, float damping)
        : target_(targetScale), current_(startScale), speed_(speed), acceleration_(acceleration), damping_(damping) {}

    void Update(int32_t elapsedMs) override;

private:
    float target_;
    float current_;
    bool settled_ = false;
    float speed_;
    float acceleration_;
    float damping_;
    bool approaching_ = true;
    int32_t elapsed_ = 0;
};
