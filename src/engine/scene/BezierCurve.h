#pragma once

#include <cstdint>
#include <vector>

#include "engine/foundation/Object.h"
#include "engine/foundation/Ref.h"
#include "engine/media/Rect.h"

class Path;
class Property;

// A control point of a curve with the offsets of its two handles: the handle
// before the point (used where it ends a segment) is at (x + inX, y + inY),
// the one after it at (x + outX, y + outY).
class BezierPoint : public Object {
    ENGINE_CLASS(BezierPoint, Object)

public:
    float x = 0;
    float y = 0;
    float inX = 0;
    float outX = 0;
    float inY = 0;
    float outY = 0;

    PointF Position() const { return {x, y}; }
    void SetTangent(PointF in) {
        inX = in.x;
        inY = in.y;
        outX = -in.x;
        outY = -in.y;
    }
};

// A chain of cubic Bezier segments through control points, sampled into paths.
class BezierCurve : public Object {
    ENGINE_CLASS(BezierCurve, Object)

public:
    static constexpr float kDefaultLockedLength = 64.0f;
    static constexpr int32_t kDefaultSteps = 10;
    // Samples per segment a definition may ask for.
    static constexpr int32_t kMaxSteps = 1000;

    BezierCurve() = default;
    // Keys "closed", "aligned", "locked", "lockedlength", "steps", "points".
    explicit BezierCurve(Property* definition);

    // Inserts a point before `index` (clamped to the ends); its in handle is
    // the tangent, its out handle the opposite. A zero tangent becomes
    // (locked length, 0).
    BezierPoint& AddPoint(int32_t index, float x, float y, float tangentX, float tangentY);
    // Appends a point on the line from p (t = 0) to q (t = 1), moved sideways
    // by `offset`, with a tangent turned by `tangentAngle` from the line; the
    // tangent is `tangentLength` long, or that fraction of the line when
    // `relative`.
    BezierPoint& AddPointAlongLine(PointF p, PointF q, float t, float offset, float tangentAngle,
                                   float tangentLength, bool relative);
    // Handles computed from the neighbours, `length` long; a negative length
    // means the locked length.
    void SetAutoTangents(float length);

    // The point at t (0..1) of the segment from point `segment` to the next;
    // (0, 0) for a curve without points.
    PointF Evaluate(int32_t segment, float t) const;
    // Appends `steps` samples per segment and the end point to the path.
    void SampleToPath(Path& path) const;
    Rect GetBounds() const;

    // Any index, negative ones included, mapped into 0..count-1.
    int32_t WrapIndex(int32_t index) const;

    int32_t PointCount() const { return static_cast<int32_t>(points_.size()); }
    // The index wraps; the curve must have a point.
    BezierPoint& GetPoint(int32_t index) { return *points_[static_cast<size_t>(WrapIndex(index))]; }
    const BezierPoint& GetPoint(int32_t index) const { return *points_[static_cast<size_t>(WrapIndex(index))]; }

    bool IsClosed() const { return closed_; }
    void SetClosed(bool closed) { closed_ = closed; }
    bool IsAligned() const { return aligned_; }
    bool IsLocked() const { return locked_; }
    float GetLockedLength() const { return lockedLength_; }
    int32_t GetSteps() const { return steps_; }
    void SetSteps(int32_t steps) { steps_ = steps; }

private:
    void ReadPoint(Property* element);
    int32_t SegmentCount() const;

    std::vector<Ref<BezierPoint>> points_;
    bool closed_ = false;
    bool aligned_ = true;
    bool locked_ = false;
    float lockedLength_ = kDefaultLockedLength;
    int32_t steps_ = kDefaultSteps;
};
