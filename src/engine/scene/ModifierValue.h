#pragma once

#include <cstdint>

#include "engine/scene/Modifier.h"

// Tweens the target sprite's alpha; dialogs fade in and out with it.
class ModifierValue : public Modifier {
    ENGINE_CLASS(ModifierValue, Modifier)

public:
    ModifierValue(int32_t startValue, int32_t endValue, int32_t durationMs)
        : start_(startValue), end_(endValue), clock_(durationMs) {}

    void Update(int32_t elapsedMs) override;

private:
    void Write(int32_t value) const;

    int32_t start_;
    int32_t end_;
    TweenClock clock_;
};
