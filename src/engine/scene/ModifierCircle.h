#pragma once

#include <cstdint>

#include "engine/scene/Modifier.h"

// Moves its target on a circle about a centre while the radius and the angle
// each run from a start to an end value over their own duration.
class ModifierCircle : public Modifier {
    ENGINE_CLASS(ModifierCircle, Modifier)

public:
    struct Settings {
        int32_t centreX = 0;
        int32_t centreY = 0;
        bool moveX = true;
        bool moveY = true;
        float startRadius = 0;
        float endRadius = 0;
        int32_t radiusDurationMs = 0;
        float startAngle = 0;  // radians
        float endAngle = 0;
        int32_t angleDurationMs = 0;
    };

    explicit ModifierCircle(const Settings& settings) : settings_(settings) {}

    void Update(int32_t elapsedMs) override;

private:
    // The value at the accumulated time, the end value once its duration passed.
    float Interpolate(float from, float to, int32_t durationMs) const;

    Settings settings_;
    int32_t elapsed_ = 0;
};
