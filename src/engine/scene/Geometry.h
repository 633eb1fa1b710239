#pragma once

#include "engine/media/Rect.h"

// Small plane helpers shared by the paths and the motion modifiers.

// The remainder of a by b with the sign of b: a positive b gives a value in [0, b).
float FloatModulo(float a, float b);

// The point of segment a-b nearest to p goes to `nearest`. The result tells
// where the projection of p fell: 0 inside the segment, the (negative) dot
// product before a, a positive value beyond b.
float ClosestPointOnSegment(PointF a, PointF b, PointF p, PointF& nearest);

// The direction of a vector in radians, in [0, 2 pi); 0 for the zero vector.
float AngleOf(float x, float y);
inline float AngleOf(PointF v) {
    return AngleOf(v.x, v.y);
}

// The vector scaled to length 1; the zero vector stays zero.
PointF Normalize(PointF v);

// Euclidean length of a vector, in single precision.
float LengthOf(PointF v);

inline PointF operator+(PointF a, PointF b) {
    return {a.x + b.x, a.y + b.y};
}
inline PointF operator-(PointF a, PointF b) {
    return {a.x - b.x, a.y - b.y};
}
inline PointF operator*(PointF a, float k) {
    return {a.x * k, a.y * k};
}
inline bool operator==(PointF a, PointF b) {
    return a.x == b.x && a.y == b.y;
}
