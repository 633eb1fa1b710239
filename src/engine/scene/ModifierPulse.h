#pragma once

#include <cstdint>
#include <vector>

#include "engine/foundation/Ref.h"
#include "engine/scene/GameNode.h"
#include "engine/scene/Modifier.h"

// Pulses the alpha of its target, or of a list of nodes, between two values:
// a ramp up, a hold, a ramp down and a hold, for a number of loops or for ever.
class ModifierPulse : public Modifier {
    ENGINE_CLASS(ModifierPulse, Modifier)

public:
    struct Timing {
        int32_t rampUpMs = 0;
        int32_t rampDownMs = 0;
        int32_t holdSecondMs = 0;
        int32_t holdFirstMs = 0;
    };

    // A loop limit below 1 pulses for ever. With nodes, they take the value
    // instead of the target.
    ModifierPulse(int32_t firstValue, int32_t secondValue, const Timing& timing, int32_t loopLimit,
                  std::vector<Ref<GameNode>> nodes = {});

    void Update(int32_t elapsedMs) override;
    // Rewrites the two hold times (1 ms at least), keeping the phase.
    void SetHoldTimes(int32_t holdFirstMs, int32_t holdSecondMs);

private:
    enum Phase { kHoldFirst = 0, kRampUp = 1, kHoldSecond = 2, kRampDown = 3 };

    int32_t DurationOf(int32_t phase) const;
    int32_t ValueNow() const;
    void Write(int32_t value) const;

    int32_t elapsed_ = 0;
    int32_t phaseDuration_ = 0;
    int32_t phase_ = kHoldFirst;
    int32_t first_;
    int32_t second_;
    Timing timing_;
    int32_t loops_ = 0;
    int32_t loopLimit_;
    std::vector<Ref<GameNode>> nodes_;
};
