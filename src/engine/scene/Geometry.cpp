#include "engine/scene/Geometry.h"

#include <cmath>
#include <numbers>

float FloatModulo(float a, float b) {
    float remainder = std::fmod(a, b);
    if (remainder != 0.0f && (remainder < 0.0f) != (b < 0.0f)) {
        remainder += b;
        // A tiny negative remainder plus b can round to b itself.
        if (remainder == b) {
            remainder = 0.0f;
        }
    }
    return remainder;
}

float ClosestPointOnSegment(PointF a, PointF b, PointF p, PointF& nearest) {
    const PointF segment = b - a;
    const PointF offset = p - a;
    const float dot = offset.x * segment.x + offset.y * segment.y;
    const float lengthSquared = segment.x * segment.x + segment.y * segment.y;
    if (dot < 0.0f) {
        nearest = a;
        return dot;
    }
    if (dot > lengthSquared) {
        nearest = b;
        return dot - lengthSquared;
    }
    // dot is 0 here whenever the segment has no length.
    nearest = lengthSquared > 0.0f ? a + segment * (dot / lengthSquared) : a;
    return 0.0f;
}

float AngleOf(float x, float y) {
    constexpr float kPi = std::numbers::pi_v<float>;
    if (x > 0.0f) {
        const float angle = std::atan(y / x);
        return y < 0.0f ? angle + 2.0f * kPi : angle;
    }
    if (x < 0.0f) {
        return std::atan(y / x) + kPi;
    }
    if (y > 0.0f) {
        return kPi / 2.0f;
    }
    return y < 0.0f ? 3.0f * kPi / 2.0f : 0.0f;
}

float LengthOf(PointF v) {
    return std::sqrt(v.x * v.x + v.y * v.y);
}

PointF Normalize(PointF v) {
    const float length = LengthOf(v);
    return length > 0.0f ? PointF{v.x / length, v.y / length} : PointF{};
}
