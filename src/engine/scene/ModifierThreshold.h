#pragma once

#include <cstdint>

#include "engine/scene/Modifier.h"

// Raises a threshold sprite's threshold from 0 to 1 over a duration, so its
// picture appears in the order its threshold map gives. The threshold reaches
// exactly 1 in the update after the duration has passed, and the modifier
// finishes in that same update.
class ModifierThreshold : public Modifier {
    ENGINE_CLASS(ModifierThreshold, Modifier)

public:
    // A duration of 0 or less shows the whole picture at the first update.
    explicit ModifierThreshold(int32_t durationMs) : duration_(durationMs > 0 ? durationMs : 0) {}

    void Update(int32_t elapsedMs) override;

private:
    int32_t duration_;
    int32_t elapsed_ = 0;
};
