#pragma once

#include <cstdint>
#include <vector>

#include "mediagen/MapGeometry.h"
#include "mediagen/MapLayout.h"
#include "mediagen/MapTheme.h"

struct Lake {
    MapPoint centre;
    double radiusX = 0;
    double radiusY = 0;
    double angle = 0;
};

// Where a section's river, lakes or sea lie. The back pictures paint this
// water and the layout floats the boats on it, so both read it from here.
class SectionWater {
public:
    static constexpr double kRiverWidth = 24;
    static constexpr double kCoastStep = 20;  // px between the shore's points

    // `index` is the section's place on the journey; it seeds the shapes.
    SectionWater(const LaidSection& section, int index);

    Water Kind() const { return kind_; }
    const CubicSpan& RiverCourse() const { return river_; }
    const std::vector<Lake>& Lakes() const { return lakes_; }
    // The shore's y at x = -kCoastStep, 0, kCoastStep, ... past the right edge.
    const std::vector<double>& Coast() const { return coast_; }

    // Whether `p` lies in the water at least `margin` px from its shore; a
    // negative margin also takes in the land that near the shore.
    bool Holds(MapPoint p, double margin) const;

private:
    double Random(uint32_t i) const;
    double Clearance(MapPoint p) const;
    void LayRiver(const LaidSection& section);
    void LayLakes();
    void LayCoast();

    Water kind_;
    uint32_t seed_;
    std::vector<MapPoint> rails_;  // rails and city points the water keeps clear of
    CubicSpan river_;
    std::vector<MapPoint> riverSamples_;
    std::vector<Lake> lakes_;
    std::vector<double> coast_;
};
