#include "engine/scene/ModifierPulse.h"

#include <algorithm>
#include <climits>

#include "engine/media/RotateScaleWalk.h"
#include "engine/scene/Sprite.h"

ModifierPulse::ModifierPulse(int32_t firstValue, int32_t secondValue, const Timing& timing, int32_t loopLimit,
                             std::vector<Ref<GameNode>> nodes)
    : first_(firstValue), second_(secondValue), timing_(timing), loopLimit_(loopLimit), nodes_(std::move(nodes)) {
    // Phases shorter than 1 ms would let the phase walk below spin for ever.
    for (int32_t* duration : {&timing_.rampUpMs, &timing_.rampDownMs, &timing_.holdSecondMs, &timing_.holdFirstMs}) {
        *duration = std::max(*duration, 1);
    }
}

int32_t ModifierPulse::DurationOf(int32_t phase) const {
    switch (phase) {
        case kRampUp:
            return timing_.rampUpMs;
        case kHoldSecond:
            return timing_.holdSecondMs;
        case kRampDown:
            return timing_.rampDownMs;
        default:
            return timing_.holdFirstMs;
    }
}

int32_t ModifierPulse::ValueNow() const {
    const float along = static_cast<float>(elapsed_) / static_cast<float>(phaseDuration_);
    switch (phase_) {
        case kRampUp:
            return TruncateToInt32(static_cast<float>(first_) + static_cast<float>(second_ - first_) * along);
        case kHoldSecond:
            return second_;
        case kRampDown:
            return TruncateToInt32(static_cast<float>(second_) + static_cast<float>(first_ - second_) * along);
        default:
            return first_;
    }
}

void ModifierPulse::Write(int32_t value) const {
    if (nodes_.empty()) {
        if (Sprite* sprite = ObjectCast<Sprite>(GetTarget())) {
            sprite->SetAlpha(value);
        }
        return;
    }
    for (const Ref<GameNode>& node : nodes_) {
        if (Sprite* sprite = ObjectCast<Sprite>(node.Get())) {
            sprite->SetAlpha(value);
        }
    }
}

void ModifierPulse::Update(int32_t elapsedMs) {
    while (elapsed_ >= phaseDuration_) {
        elapsed_ -= phaseDuration_;
        phase_ = (phase_ + 1) % 4;
        phaseDuration_ = DurationOf(phase_);
        if (phase_ == kHoldFirst && loops_ < INT32_MAX) {
            ++loops_;
        }
    }
    if (loopLimit_ < 1 || loops_ < loopLimit_) {
        Write(ValueNow());
    } else {
        Write(first_);
        SetFinished();
    }
    elapsed_ = static_cast<int32_t>(std::min<int64_t>(int64_t{elapsed_} + std::max(elapsedMs, 0), INT32_MAX));
}

void ModifierPulse::SetHoldTimes(int32_t holdFirstMs, int32_t holdSecondMs) {
    timing_.holdFirstMs = std::max(holdFirstMs, 1);
    timing_.holdSecondMs = std::max(holdSecondMs, 1);
}
