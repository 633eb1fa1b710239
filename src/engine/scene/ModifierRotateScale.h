#pragma once

#include <cstdint>

#include "engine/scene/Modifier.h"

// Tweens the target sprite's rotation and, unless told not to, its scale.
class ModifierRotateScale : public Modifier {
    ENGINE_CLASS(ModifierRotateScale, Modifier)

public:
    ModifierRotateScale(float startAngle, float endAngle, float startScale, float endScale, int32_t durationMs,
                        bool scale = true, bool smooth = false)
        : startAngle_(startAngle),
          endAngle_(endAngle),
          startScale_(startScale),
          endScale_(endScale),
          clock_(durationMs),
          scale_(scale),
          smooth_(smooth) {}

    void Update(int32_t elapsedMs) override;

private:
    void Write(float angle, float scale) const;

    float startAngle_;
    float endAngle_;
    float startScale_;
    float endScale_;
    TweenClock clock_;
    bool scale_;
    bool smooth_;
};
