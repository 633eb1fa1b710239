#pragma once

#include <cstdint>
#include <vector>

struct MapPoint {
    double x = 0;
    double y = 0;
};

double Distance(MapPoint a, MapPoint b);

// One cubic Bezier span with absolute control points.
struct CubicSpan {
    MapPoint start;
    MapPoint startControl;
    MapPoint endControl;
    MapPoint end;

    // The two halves at t (de Casteljau), which trace this span exactly.
    void Split(double t, CubicSpan& first, CubicSpan& second) const;
};

// The span sampled the way the program samples a curve: `steps` points per
// span in single precision, then the end point.
std::vector<MapPoint> SampleSpan(const CubicSpan& span, int steps);

double PolylineLength(const std::vector<MapPoint>& points);
// The point `distance` along the polyline (clamped to its ends).
MapPoint PointAlong(const std::vector<MapPoint>& points, double distance);
double DistanceToPolyline(const std::vector<MapPoint>& points, MapPoint p);
// Whether the polylines cross anywhere except within `endClearance` of an
// end of either (where tracks meet at their cities).
bool PolylinesCross(const std::vector<MapPoint>& a, const std::vector<MapPoint>& b, double endClearance);

// A deterministic hash of a lattice point, for the map's scattered shapes.
uint32_t MapHash(uint32_t x, uint32_t y, uint32_t seed);
