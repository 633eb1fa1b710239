#pragma once

#include <cstdint>

#include "engine/foundation/Ref.h"
#include "engine/media/Surface.h"
#include "engine/scene/Modifier.h"

// Wipes a growing hole into a picture: each update lowers the destination's
// alpha to the source picture's alpha, scaled up along a smooth curve to the
// maximum and centred on a point. Only alpha changes.
class ModifierImageSweep : public Modifier {
    ENGINE_CLASS(ModifierImageSweep, Modifier)

public:
    ModifierImageSweep(float maximumScale, int32_t durationMs, Surface* destination, Surface* source, int32_t x,
                       int32_t y)
        : maximumScale_(maximumScale), clock_(durationMs), destination_(destination), source_(source), x_(x), y_(y) {}

    void Update(int32_t elapsedMs) override;

private:
    void Stamp(float scale) const;

    float maximumScale_;
    TweenClock clock_;
    Ref<Surface> destination_;
    Ref<Surface> source_;
    int32_t x_;
    int32_t y_;
};
