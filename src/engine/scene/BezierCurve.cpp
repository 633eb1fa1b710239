#include "engine/scene/BezierCurve.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/foundation/MediaNumbers.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/PropertyVector.h"
#include "engine/scene/Geometry.h"
#include "engine/scene/Path.h"

namespace {
const ClassRegistration registration("BezierCurve", CreateFromProperty<BezierCurve>);

// Reads a float key into `target` when the key is present. Points, handles
// and lengths alike are distances on the screen.
bool ReadFloat(const Property* node, const char* key, float& target) {
    const Property* value = Property::Child(node, key);
    if (value != nullptr) {
        target = media_numbers::PositionF(value);
    }
    return value != nullptr;
}
}  // namespace

BezierCurve::BezierCurve(Property* definition) {
    if (const Property* closed = Property::Child(definition, "closed")) {
        closed_ = Property::AsBool(closed);
    }
    if (const Property* aligned = Property::Child(definition, "aligned")) {
        aligned_ = Property::AsBool(aligned);
    }
    if (const Property* locked = Property::Child(definition, "locked")) {
        locked_ = Property::AsBool(locked);
    }
    ReadFloat(definition, "lockedlength", lockedLength_);
    if (const Property* steps = Property::Child(definition, "steps")) {
        steps_ = Property::AsInt(steps);
        if (steps_ > kMaxSteps) {
            ENGINE_LOG(1, "curve asks for %d steps per segment, using %d", steps_, kMaxSteps);
            steps_ = kMaxSteps;
        }
    }
    if (Property* points = Property::Child(definition, "points")) {
        for (const Ref<Property>& element : Property::VectorOf(points).Items()) {
            ReadPoint(element.Get());
        }
    }
    if (locked_) {
        SetAutoTangents(lockedLength_);
    }
}

void BezierCurve::ReadPoint(Property* element) {
    BezierPoint& point = AddPoint(PointCount(), 0.0f, 0.0f, 0.0f, 0.0f);
    ReadFloat(element, "x", point.x);
    ReadFloat(element, "y", point.y);
    if (locked_) {
        return;
    }
    const bool sharedX = ReadFloat(element, "cx", point.inX);
    const bool sharedY = ReadFloat(element, "cy", point.inY);
    if (sharedX || sharedY) {
        // One handle mirrored about the point.
        if (sharedX) {
            point.outX = -point.inX;
        }
        if (sharedY) {
            point.outY = -point.inY;
        }
        return;
    }
    ReadFloat(element, "c0x", point.inX);
    ReadFloat(element, "c0y", point.inY);
    ReadFloat(element, "c1x", point.outX);
    ReadFloat(element, "c1y", point.outY);
}

BezierPoint& BezierCurve::AddPoint(int32_t index, float x, float y, float tangentX, float tangentY) {
    Ref<BezierPoint> point(new BezierPoint);
    point->x = x;
    point->y = y;
    if (tangentX == 0.0f && tangentY == 0.0f) {
        tangentX = lockedLength_;
    }
    point->SetTangent({tangentX, tangentY});
    index = std::clamp(index, 0, PointCount());
    points_.insert(points_.begin() + index, point);
    return *point;
}

BezierPoint& BezierCurve::AddPointAlongLine(PointF p, PointF q, float t, float offset, float tangentAngle,
                                            float tangentLength, bool relative) {
    constexpr float kHalfPi = std::numbers::pi_v<float> / 2.0f;
    const PointF d = p - q;
    const float angle = AngleOf(d);
    const PointF sideways{std::cos(angle - kHalfPi), std::sin(angle - kHalfPi)};
    const PointF position = q + d * (1.0f - t) + sideways * offset;
    const float length = relative ? LengthOf(d) * tangentLength : tangentLength;
    const PointF tangent = PointF{std::cos(angle + tangentAngle), std::sin(angle + tangentAngle)} * length;
    return AddPoint(PointCount(), position.x, position.y, tangent.x, tangent.y);
}

void BezierCurve::SetAutoTangents(float length) {
    if (length < 0.0f) {
        length = lockedLength_;
    }
    const int32_t count = PointCount();
    if (count < 2) {
        return;
    }
    for (int32_t i = 0; i < count; ++i) {
        const PointF p = points_[static_cast<size_t>(i)]->Position();
        const bool openEnd = !closed_ && (i == 0 || i == count - 1);
        PointF direction;
        if (openEnd && i == 0) {
            direction = Normalize(GetPoint(1).Position() - p) * -1.0f;
        } else if (openEnd) {
            direction = Normalize(GetPoint(i - 1).Position() - p);
        } else {
            const PointF a = Normalize(GetPoint(i - 1).Position() - p);
            const PointF b = Normalize(p - GetPoint(i + 1).Position());
            direction = Normalize(a + (b - a) * 0.5f);
            if (direction == PointF{}) {
                direction = a;
            }
        }
        points_[static_cast<size_t>(i)]->SetTangent(direction * length);
    }
}

PointF BezierCurve::Evaluate(int32_t segment, float t) const {
    if (points_.empty()) {
        return {};
    }
    const BezierPoint& a = GetPoint(segment);
    const BezierPoint& b = GetPoint(segment + 1);
    const float u = 1.0f - t;
    const auto axis = [&](float start, float startHandle, float endHandle, float end) {
        return static_cast<float>(u * u * u * start + 3.0 * t * u * u * startHandle + 3.0 * t * t * u * endHandle +
                                  t * t * t * end);
    };
    return {axis(a.x, a.x + a.outX, b.x + b.inX, b.x), axis(a.y, a.y + a.outY, b.y + b.inY, b.y)};
}

int32_t BezierCurve::SegmentCount() const {
    const int32_t count = PointCount();
    if (count < 2) {
        return 0;
    }
    return closed_ ? count : count - 1;
}

void BezierCurve::SampleToPath(Path& path) const {
    const int32_t segments = SegmentCount();
    if (segments == 0) {
        return;
    }
    for (int32_t segment = 0; segment < segments; ++segment) {
        for (int32_t s = 0; s < steps_; ++s) {
            path.Append(s == 0 ? GetPoint(segment).Position()
                               : Evaluate(segment, static_cast<float>(s) / static_cast<float>(steps_)));
        }
    }
    path.Append((closed_ ? GetPoint(0) : GetPoint(PointCount() - 1)).Position());
    path.UpdateBounds();
}

Rect BezierCurve::GetBounds() const {
    Path samples;
    SampleToPath(samples);
    samples.UpdateBounds();
    return samples.Bounds();
}

int32_t BezierCurve::WrapIndex(int32_t index) const {
    const int32_t count = PointCount();
    if (count == 0) {
        return 0;
    }
    const int32_t rest = index % count;
    return rest < 0 ? rest + count : rest;
}
