#pragma once

#include <cstdint>

// One step of a one-dimensional drive toward a target: the speed grows by
// acceleration while the stopping distance speed^2 / (2 x deceleration) still
// fits into what is left (toward a target behind only when reversing is
// allowed), and otherwise brakes toward 0; the position then moves by the
// speed. Reaching or passing the target puts the position on it and the speed
// to 0. Speeds are per second, the step in milliseconds.
void SpeedToTarget(int32_t elapsedMs, float target, float maximumSpeed, float acceleration, float deceleration,
                   bool allowReverse, float& position, float& speed);
