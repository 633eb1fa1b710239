#pragma once

#include <cstdint>

#include "engine/scene/Modifier.h"

class Sprite;

// Tweens the size of the target sprite's crop rectangle, which squeezes the
// sprite about its pivot. Ending at the sprite's own size drops the crop.
class ModifierCropSize : public Modifier {
    ENGINE_CLASS(ModifierCropSize, Modifier)

public:
    ModifierCropSize(int32_t startWidth, int32_t startHeight, int32_t endWidth, int32_t endHeight, int32_t durationMs,
                     bool width = true, bool height = true, EasingFunction easing = nullptr)
        : startWidth_(startWidth),
          startHeight_(startHeight),
          endWidth_(endWidth),
          endHeight_(endHeight),
          clock_(durationMs),
          width_(width),
          height_(height),
          easing_(easing) {}

    void Update(int32_t elapsedMs) override;

private:
    void Write(Sprite& sprite, int32_t width, int32_t height) const;

    int32_t startWidth_;
    int32_t startHeight_;
    int32_t endWidth_;
    int32_t endHeight_;
    TweenClock clock_;
    bool width_;
    bool height_;
    EasingFunction easing_;
};
