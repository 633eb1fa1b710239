#include "engine/media/RotateScaleWalk.h"

#include <algorithm>
#include <cmath>

int32_t TruncateToInt32(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    return static_cast<int32_t>(std::clamp(value, -2147483648.0, 2147483647.0));
}

namespace {
// Wraps a product the way 32-bit integer arithmetic does.
int32_t Wrap32(int64_t value) {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}
}  // namespace

RotateScaleWalk::RotateScaleWalk(int32_t sourceWidth, int32_t sourceHeight, int32_t x, int32_t y,
                                 int32_t pivotX, int32_t pivotY, double angle, double scale,
                                 const Rect& clip) {
    const double c = std::cos(-angle);
    const double s = std::sin(-angle);
    const int32_t originX = x + pivotX - TruncateToInt32(scale * (pivotX * c + pivotY * s));
    const int32_t originY = y + pivotY - TruncateToInt32(scale * (pivotY * c - pivotX * s));

    const float fc = static_cast<float>(c);
    const float fs = static_cast<float>(s);
    const float fk = static_cast<float>(scale);
    float minX = 2147483648.0f;
    float minY = 2147483648.0f;
    float maxX = -2147483648.0f;
    float maxY = -2147483648.0f;
    const float corners[4][2] = {{0.0f, 0.0f},
                                 {static_cast<float>(sourceWidth), 0.0f},
                                 {0.0f, static_cast<float>(sourceHeight)},
                                 {static_cast<float>(sourceWidth), static_cast<float>(sourceHeight)}};
    for (const auto& corner : corners) {
        const float cx = fk * (corner[0] * fc + corner[1] * fs) + static_cast<float>(originX);
        const float cy = fk * (corner[1] * fc - corner[0] * fs) + static_cast<float>(originY);
        minX = std::min(minX, cx);
        maxX = std::max(maxX, cx);
        minY = std::min(minY, cy);
        maxY = std::max(maxY, cy);
    }
    const Rect unclipped{TruncateToInt32(minX), TruncateToInt32(minY), TruncateToInt32(maxX - minX),
                         TruncateToInt32(maxY - minY)};
    box_ = IntersectRect(unclipped, clip);
    box_.w = std::max(box_.w, 0);
    box_.h = std::max(box_.h, 0);

    stepCos_ = TruncateToInt32(std::cos(angle) / scale * kOne);
    stepSin_ = TruncateToInt32(std::sin(angle) / scale * kOne);
    const int64_t a = int64_t{originX} - box_.x;
    const int64_t b = int64_t{originY} - box_.y;
    // The box pixel's centre lies half a step right and half a step down.
    startU_ = Wrap32(-(a * stepCos_ + b * stepSin_) + (int64_t{stepCos_} + stepSin_) / 2);
    startV_ = Wrap32(a * stepSin_ - b * stepCos_ + (int64_t{stepCos_} - stepSin_) / 2);
}
