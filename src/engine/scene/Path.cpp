#include "engine/scene/Path.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "engine/media/Canvas.h"
#include "engine/scene/BezierCurve.h"
#include "engine/scene/Geometry.h"

bool Path::Resize(int32_t count) {
    if (count < 0) {
        return false;
    }
    points_.resize(static_cast<size_t>(count));
    return true;
}

void Path::Append(PointF point) {
    points_.push_back(point);
}

void Path::UpdateBounds() {
    if (points_.empty()) {
        // What the unrounded start values give once narrowed to 32 bits.
        bounds_ = {INT32_MIN, INT32_MIN, 0, 0};
        return;
    }
    float minX = points_[0].x;
    float minY = points_[0].y;
    float maxX = minX;
    float maxY = minY;
    for (const PointF& p : points_) {
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x);
        maxY = std::max(maxY, p.y);
    }
    const int32_t left = RoundToInt(minX);
    const int32_t top = RoundToInt(minY);
    bounds_ = {left, top, RoundToInt(maxX) - left, RoundToInt(maxY) - top};
}

bool Path::IsClosed() const {
    if (points_.empty()) {
        return false;
    }
    return std::fabs(points_.back().x - points_.front().x) <= 0.001f &&
           std::fabs(points_.back().y - points_.front().y) <= 0.001f;
}

double Path::GetLength() const {
    double length = 0.0;
    for (size_t i = 1; i < points_.size(); ++i) {
        const double dx = static_cast<double>(points_[i].x) - points_[i - 1].x;
        const double dy = static_cast<double>(points_[i].y) - points_[i - 1].y;
        length += std::sqrt(dx * dx + dy * dy);
    }
    return length;
}

float Path::SegmentLength(int32_t from, int32_t to) const {
    return LengthOf(Point(to) - Point(from));
}

int32_t Path::GetPointAtDistance(float distance, PointF& point) const {
    const int32_t count = Count();
    if (count == 0) {
        point = {};
        return 0;
    }
    if (!(distance > 0.0f) || count == 1) {
        point = points_.front();
        return 0;
    }
    const bool closed = IsClosed();
    if (closed) {
        // Whole laps change nothing; dropping them keeps the walk short even
        // for distances far beyond the length. A path without length stays
        // on its first point.
        const double length = GetLength();
        if (length <= 0.0) {
            point = points_.front();
            return 0;
        }
        if (distance > length) {
            const double rest = std::fmod(static_cast<double>(distance), length);
            distance = static_cast<float>(rest > 0.0 ? rest : length);
        }
    }
    // Rounding can leave a sliver past the end of a lap: two laps are enough.
    const int32_t maxSegments = closed ? 2 * count : count - 1;
    int32_t index = 0;
    for (int32_t walked = 0; walked < maxSegments; ++walked) {
        const int32_t next = index + 1 < count ? index + 1 : 1;
        const float length = SegmentLength(index, next);
        if (length >= distance && length > 0.0f) {
            point = Point(index) + (Point(next) - Point(index)) * (distance / length);
            return index;
        }
        distance -= length;
        index = next;
        if (distance == 0.0f) {
            point = Point(index);
            return index;
        }
    }
    point = closed ? Point(index) : points_.back();
    return closed ? index : count - 1;
}

Ref<Path> Path::Reversed() const {
    Ref<Path> reversed(new Path);
    reversed->points_.assign(points_.rbegin(), points_.rend());
    reversed->UpdateBounds();
    return reversed;
}

void Path::AppendCurve(const BezierCurve& curve) {
    Path samples;
    curve.SampleToPath(samples);
    points_.insert(points_.end(), samples.points_.begin(), samples.points_.end());
    UpdateBounds();
}

void Path::AppendCurveReversed(const BezierCurve& curve) {
    Path samples;
    curve.SampleToPath(samples);
    points_.insert(points_.end(), samples.points_.rbegin(), samples.points_.rend());
    UpdateBounds();
}

namespace {
// The Hermite tangent is the whole-number difference of the neighbours.
float Tangent(float following, float preceding) {
    return std::trunc(following - preceding);
}

float Hermite(float p1, float p2, float m1, float m2, float t) {
    return p1 + t * (m1 + t * ((3.0f * p2 - 3.0f * p1 - 2.0f * m1 - m2) + t * (2.0f * p1 - 2.0f * p2 + m1 + m2)));
}
}  // namespace

Ref<Path> Path::Smoothed(int32_t first, int32_t last, int32_t steps, bool flattenEnds) const {
    Ref<Path> smooth(new Path);
    const int32_t count = Count();
    first = std::max(first, 0);
    last = std::min(last, count - 1);
    steps = std::max(steps, 1);
    const bool closed = IsClosed() && count > 2;
    // Neighbours of a closed path skip the repeated first point.
    const auto preceding = [&](int32_t i) { return i > 0 ? i - 1 : (closed ? count - 2 : 0); };
    const auto following = [&](int32_t i) { return i < count - 1 ? i + 1 : (closed ? 1 : count - 1); };
    const auto tangentAt = [&](int32_t i) {
        if (flattenEnds && (i == first || i == last)) {
            return PointF{};
        }
        const PointF& next = Point(following(i));
        const PointF& previous = Point(preceding(i));
        return PointF{Tangent(next.x, previous.x), Tangent(next.y, previous.y)};
    };
    for (int32_t i = first; i < last; ++i) {
        const PointF& p1 = Point(i);
        const PointF& p2 = Point(i + 1);
        const PointF m1 = tangentAt(i);
        const PointF m2 = tangentAt(i + 1);
        for (int32_t s = 0; s <= steps; ++s) {
            const float t = static_cast<float>(s) / static_cast<float>(steps);
            smooth->points_.push_back({Hermite(p1.x, p2.x, m1.x, m2.x, t), Hermite(p1.y, p2.y, m1.y, m2.y, t)});
        }
    }
    smooth->UpdateBounds();
    return smooth;
}
