#pragma once

#include <cstdint>

#include "engine/scene/Modifier.h"

// Tweens the target sprite's scale (without marking the sprite for redrawing).
class ModifierZoom : public Modifier {
    ENGINE_CLASS(ModifierZoom, Modifier)

public:
    ModifierZoom(int32_t durationMs, float startScale, float endScale, bool smooth = false)
        : clock_(durationMs), start_(startScale), end_(endScale), smooth_(smooth) {}

    void Update(int32_t elapsedMs) override;

private:
    void Write(float scale) const;

    TweenClock clock_;
    float start_;
    float end_;
    bool smooth_;
};
