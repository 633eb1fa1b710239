#include "engine/scene/SpeedToTarget.h"

#include <algorithm>
#include <cmath>

void SpeedToTarget(int32_t elapsedMs, float target, float maximumSpeed, float acceleration, float deceleration,
                   bool allowReverse, float& position, float& speed) {
    const float dt = static_cast<float>(elapsedMs);
    const float distance = target - position;
    const float stoppingDistance = speed * speed / (2.0f * deceleration);
    if (stoppingDistance <= std::fabs(distance)) {
        if (distance > 0.0f) {
            speed = std::min(speed + acceleration * dt * 0.001f, maximumSpeed);
        } else if (allowReverse) {
            speed = std::max(speed - acceleration * dt * 0.001f, -maximumSpeed);
        }
    } else {
        const float brake = deceleration * dt * 0.001f;
        speed = speed <= 0.0f ? std::min(speed + brake, 0.0f) : std::max(speed - brake, 0.0f);
    }
    position += dt * speed * 0.001f;
    // A position that started on the target counts as on both sides of it, so
    // a target set back to where the needle is stops it at once.
    const float left = target - position;
    if ((distance >= 0.0f && left <= 0.0f) || (distance <= 0.0f && left >= 0.0f)) {
        position = target;
        speed = 0.0f;
    }
}
