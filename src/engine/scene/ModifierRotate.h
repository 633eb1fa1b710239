#pragma once

#include <cstdint>

#include "engine/scene/Modifier.h"

// Turns the target sprite from one angle to another, linearly or eased, or
// spins it for ever at one turn per period.
class ModifierRotate : public Modifier {
    ENGINE_CLASS(ModifierRotate, Modifier)

public:
    // A turn. A duration below 1 ms turns at once.
    ModifierRotate(float fromAngle, float toAngle, int32_t durationMs);
    // A spin. A period below 1 ms keeps the sprite at its start angle.
    ModifierRotate(int32_t periodMs, float fromAngle);

    // Smoothstep instead of linear; set before the first update.
    void SetEased(bool eased) { eased_ = eased; }

    void Update(int32_t elapsedMs) override;

private:
    float AngleNow() const;
    void Write(float angle) const;

    float from_;
    float to_;
    float current_;
    bool done_ = false;
    // 64 bits: a spin never ends, and its time must not wrap round.
    int64_t elapsed_ = 0;
    int32_t duration_;
    bool eased_ = false;
    bool spin_;
};
