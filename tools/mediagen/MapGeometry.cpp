#include "mediagen/MapGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

MapPoint Mix(MapPoint a, MapPoint b, double t) { return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; }

double DistanceToSegment(MapPoint a, MapPoint b, MapPoint p) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    const double t = lengthSquared > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared, 0.0, 1.0) : 0;
    return Distance(Mix(a, b, t), p);
}

}  // namespace

double Distance(MapPoint a, MapPoint b) { return std::hypot(a.x - b.x, a.y - b.y); }

uint32_t MapHash(uint32_t x, uint32_t y, uint32_t seed) {
    uint32_t h = x * 374761393u + y * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

void CubicSpan::Split(double t, CubicSpan& first, CubicSpan& second) const {
    const MapPoint ab = Mix(start, startControl, t);
    const MapPoint bc = Mix(startControl, endControl, t);
    const MapPoint cd = Mix(endControl, end, t);
    const MapPoint abc = Mix(ab, bc, t);
    const MapPoint bcd = Mix(bc, cd, t);
    const MapPoint middle = Mix(abc, bcd, t);
    first = {start, ab, abc, middle};
    second = {middle, bcd, cd, end};
}

std::vector<MapPoint> SampleSpan(const CubicSpan& span, int steps) {
    std::vector<MapPoint> points{span.start};
    const auto f = [](double v) { return static_cast<float>(v); };
    for (int s = 1; s < steps; ++s) {
        const float t = static_cast<float>(s) / static_cast<float>(steps);
        const float u = 1.0f - t;
        const auto axis = [&](double a, double b, double c, double d) {
            return static_cast<double>(u * u * u * f(a) + 3.0f * t * u * u * f(b) + 3.0f * t * t * u * f(c) +
                                       t * t * t * f(d));
        };
        points.push_back({axis(span.start.x, span.startControl.x, span.endControl.x, span.end.x),
                          axis(span.start.y, span.startControl.y, span.endControl.y, span.end.y)});
    }
    points.push_back(span.end);
    return points;
}

double PolylineLength(const std::vector<MapPoint>& points) {
    double length = 0;
    for (size_t i = 1; i < points.size(); ++i) {
        length += Distance(points[i - 1], points[i]);
    }
    return length;
}

MapPoint PointAlong(const std::vector<MapPoint>& points, double distance) {
    for (size_t i = 1; i < points.size(); ++i) {
        const double step = Distance(points[i - 1], points[i]);
        if (distance <= step && step > 0) {
            return Mix(points[i - 1], points[i], distance / step);
        }
        distance -= step;
    }
    return points.empty() ? MapPoint{} : points.back();
}

double DistanceToPolyline(const std::vector<MapPoint>& points, MapPoint p) {
    double nearest = std::numeric_limits<double>::max();
    for (size_t i = 1; i < points.size(); ++i) {
        nearest = std::min(nearest, DistanceToSegment(points[i - 1], points[i], p));
    }
    return nearest;
}

bool PolylinesCross(const std::vector<MapPoint>& a, const std::vector<MapPoint>& b, double endClearance) {
    if (a.size() < 2 || b.size() < 2) {
        return false;
    }
    const MapPoint ends[] = {a.front(), a.back(), b.front(), b.back()};
    for (size_t i = 1; i < a.size(); ++i) {
        for (size_t j = 1; j < b.size(); ++j) {
            const MapPoint p = a[i - 1], r = b[j - 1];
            const double px = a[i].x - p.x, py = a[i].y - p.y, rx = b[j].x - r.x, ry = b[j].y - r.y;
            const double denominator = px * ry - py * rx;
            if (std::fabs(denominator) < 1e-12) {
                continue;
            }
            const double t = ((r.x - p.x) * ry - (r.y - p.y) * rx) / denominator;
            const double u = ((r.x - p.x) * py - (r.y - p.y) * px) / denominator;
            if (t < 0 || t > 1 || u < 0 || u > 1) {
                continue;
            }
            const MapPoint crossing{p.x + px * t, p.y + py * t};
            if (std::none_of(std::begin(ends), std::end(ends),
                             [&](MapPoint end) { return Distance(crossing, end) <= endClearance; })) {
                return true;
            }
        }
    }
    return false;
}
