#pragma once

#include <cstdint>

#include "engine/scene/Modifier.h"

// The common position tween: from a start to an end position over a
// duration, on either axis or both, through an easing function.
class ModifierEaseMove : public Modifier {
    ENGINE_CLASS(ModifierEaseMove, Modifier)

public:
    // No easing function moves linearly.
    ModifierEaseMove(float startX, float startY, int32_t endX, int32_t endY, int32_t durationMs, bool moveX = true,
                     bool moveY = true, EasingFunction easing = nullptr);

    void Update(int32_t elapsedMs) override;

private:
    void MoveTo(int32_t x, int32_t y) const;

    float startX_;
    float startY_;
    int32_t endX_;
    int32_t endY_;
    TweenClock clock_;
    bool moveX_;
    bool moveY_;
    EasingFunction easing_;
};
