#include "mediagen/MapWater.h"

#include <algorithm>
#include <cmath>

SectionWater::SectionWater(const LaidSection& section, int index)
    : kind_(ThemeNamed(section.theme).waterKind), seed_(0x9E37u * uint32_t(index + 1)) {
    for (const LaidPart& part : section.parts) {
        rails_.insert(rails_.end(), part.samples.begin(), part.samples.end());
    }
    for (const LaidCity& city : section.cities) {
        rails_.push_back({double(city.x), double(city.y)});
    }
    switch (kind_) {
        case Water::kNone: break;
        case Water::kRiver: LayRiver(section); break;
        case Water::kLakes: LayLakes(); break;
        case Water::kSea: LayCoast(); break;
    }
}

double SectionWater::Random(uint32_t i) const { return (MapHash(i, 77, seed_) & 0xFFFF) / 65535.0; }

double SectionWater::Clearance(MapPoint p) const {
    double nearest = 1e9;
    for (const MapPoint& r : rails_) {
        nearest = std::min(nearest, Distance(p, r));
    }
    return nearest;
}

// A river across the section from top to bottom, as far from the cities as
// it can run; the rails bridge it.
void SectionWater::LayRiver(const LaidSection& section) {
    double bestRoom = -1;
    for (uint32_t i = 0; i < 40; ++i) {
        const double a = 150 + Random(500 + i) * 500, b = 150 + Random(560 + i) * 500;
        const CubicSpan course{{a, -10}, {a + 180, 200}, {b - 180, 400}, {b, kMapHeight + 10.0}};
        double room = 1e9;
        for (const MapPoint& p : SampleSpan(course, 40)) {
            for (const LaidCity& city : section.cities) {
                room = std::min(room, Distance(p, {double(city.x), double(city.y)}));
            }
        }
        if (room > bestRoom) {
            bestRoom = room;
            river_ = course;
        }
    }
    riverSamples_ = SampleSpan(river_, 60);
}

// Lakes in the widest spaces between the rails, off the sides, where the
// in-between pictures join.
void SectionWater::LayLakes() {
    for (uint32_t i = 0; i < 400 && lakes_.size() < 3; ++i) {
        const MapPoint p{40 + Random(600 + i) * (kMapWidth - 80), 40 + Random(1000 + i) * (kMapHeight - 80)};
        const double room = Clearance(p);
        if (room > 70 && std::all_of(lakes_.begin(), lakes_.end(), [&](const Lake& q) { return Distance(p, q.centre) > 160; })) {
            const double r = std::min({room - 25, 80.0, p.x - 12, kMapWidth - 12 - p.x});
            lakes_.push_back({p, r, r * 0.6, Random(1400 + i) * 0.6 - 0.3});
        }
    }
}

// The sea along the bottom, kept clear of rails and cities. It is a bay:
// the shore bends down to the bottom corners, since the neighbouring
// sections and the pictures between them have no sea to meet it.
void SectionWater::LayCoast() {
    constexpr double kBayEnd = 130;
    for (int x = -20; x <= kMapWidth + 20; x += int(kCoastStep)) {
        double y = 470;
        for (const MapPoint& r : rails_) {
            if (std::fabs(r.x - x) < 60) {
                y = std::max(y, r.y + 36);
            }
        }
        const double fromEdge = std::min<double>(x, kMapWidth - x);
        if (fromEdge < kBayEnd) {
            const double t = (kBayEnd - fromEdge) / kBayEnd;
            y += (kMapHeight + 30 - y) * t * t;
        }
        coast_.push_back(y + 8 * std::sin(x * 0.045));
    }
}

bool SectionWater::Holds(MapPoint p, double margin) const {
    switch (kind_) {
        case Water::kNone: return false;
        case Water::kRiver: return DistanceToPolyline(riverSamples_, p) <= kRiverWidth / 2 - margin;
        case Water::kLakes:
            return std::any_of(lakes_.begin(), lakes_.end(), [&](const Lake& lake) {
                const double rx = lake.radiusX - margin, ry = lake.radiusY - margin;
                if (rx <= 0 || ry <= 0) {
                    return false;
                }
                const double dx = p.x - lake.centre.x, dy = p.y - lake.centre.y;
                const double u = (dx * std::cos(lake.angle) + dy * std::sin(lake.angle)) / rx;
                const double v = (-dx * std::sin(lake.angle) + dy * std::cos(lake.angle)) / ry;
                return u * u + v * v <= 1;
            });
        case Water::kSea: {
            const double at = std::clamp((p.x + kCoastStep) / kCoastStep, 0.0, double(coast_.size() - 1));
            const size_t i = std::min(static_cast<size_t>(at), coast_.size() - 2);
            const double shore = coast_[i] + (coast_[i + 1] - coast_[i]) * (at - double(i));
            return p.y >= shore + margin;
        }
    }
    return false;
}
