#include "engine/scene/ModifierCircle.h"

#include <algorithm>
#include <cmath>

#include "engine/media/RotateScaleWalk.h"
#include "engine/scene/GameNode.h"

float ModifierCircle::Interpolate(float from, float to, int32_t durationMs) const {
    if (elapsed_ >= durationMs) {
        return to;
    }
    return from + (to - from) * static_cast<float>(elapsed_) / static_cast<float>(durationMs);
}

void ModifierCircle::Update(int32_t elapsedMs) {
    const int32_t longest = std::max(settings_.radiusDurationMs, settings_.angleDurationMs);
    const bool ended = elapsed_ >= longest;
    const float radius = Interpolate(settings_.startRadius, settings_.endRadius, settings_.radiusDurationMs);
    const float angle = Interpolate(settings_.startAngle, settings_.endAngle, settings_.angleDurationMs);
    if (GameNode* target = GetTarget()) {
        if (settings_.moveX) {
            target->SetX(TruncateToInt32(std::cos(angle) * radius) + settings_.centreX);
        }
        if (settings_.moveY) {
            target->SetY(TruncateToInt32(std::sin(angle) * radius) + settings_.centreY);
        }
    }
    if (ended) {
        SetFinished();
        return;
    }
    // Held at the longer duration: nothing changes past it, and it never wraps.
    elapsed_ = elapsedMs >= longest - elapsed_ ? longest : elapsed_ + std::max(elapsedMs, 0);
}
