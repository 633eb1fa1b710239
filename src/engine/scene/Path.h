#pragma once

#include <cstdint>
#include <vector>

#include "engine/foundation/Object.h"
#include "engine/foundation/Ref.h"
#include "engine/media/Rect.h"

class BezierCurve;

// A shared polyline of float points with a whole-pixel bounding box. It is
// closed when its last point repeats its first (within 0.001 on each axis).
class Path : public Object {
    ENGINE_CLASS(Path, Object)

public:
    Path() = default;

    // Sets the point count; new points are (0, 0). False for a negative count.
    bool Resize(int32_t count);
    // Appends a point; the bounds are left for UpdateBounds.
    void Append(PointF point);
    // Min and max of the points, each rounded to the nearest integer.
    void UpdateBounds();

    int32_t Count() const { return static_cast<int32_t>(points_.size()); }
    const PointF& Point(int32_t index) const { return points_[static_cast<size_t>(index)]; }
    PointF& Point(int32_t index) { return points_[static_cast<size_t>(index)]; }
    const PointF& Last() const { return points_.back(); }
    const Rect& Bounds() const { return bounds_; }

    bool IsClosed() const;
    // Sum of the segment lengths in double precision; 0 below two points.
    double GetLength() const;
    // The point at a distance along the path from its first point, and the
    // index of the point that starts the segment holding it. A closed path
    // wraps around; an open path stops at its last point.
    int32_t GetPointAtDistance(float distance, PointF& point) const;

    Ref<Path> Reversed() const;
    void AppendCurve(const BezierCurve& curve);
    void AppendCurveReversed(const BezierCurve& curve);
    // A new path through the points first..last with each segment replaced
    // by a cubic Hermite curve sampled `steps` times (both ends included).
    Ref<Path> Smoothed(int32_t first, int32_t last, int32_t steps, bool flattenEnds) const;

private:
    float SegmentLength(int32_t from, int32_t to) const;

    Rect bounds_;
    std::vector<PointF> points_;
};
