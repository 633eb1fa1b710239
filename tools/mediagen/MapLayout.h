#pragma once

#include <string>
#include <vector>

#include "mediagen/MapGeometry.h"
#include "mediagen/MapPlan.h"

constexpr int kMapWidth = 800;
constexpr int kMapHeight = 600;
constexpr int kMapTopBarHeight = 56;  // the map's top bar covers this band
// A city's ticket, and the price sign of a track to it, stand on their
// bottom centre at the city's ticket point.
constexpr int kTicketHeight = 52;

struct MapCircle {
    int x = 0;
    int y = 0;
    int radius = 0;
};

struct PlacedAsset {
    int kind = 0;  // index into the landscape or station kinds
    int x = 0;
    int y = 0;
};

// One drawn curve of a track: a single cubic span.
struct LaidPart {
    CubicSpan span;
    int steps = 10;
    MapPoint ticket;
    std::vector<MapCircle> circles;
    std::vector<MapPoint> samples;  // as the program samples it
};

struct LaidCity {
    std::string name;
    int x = 0;
    int y = 0;
    MapCircle circle;
    int ticketX = 0;
    int ticketY = 0;
    int number = 0;  // written on the signpost
    std::vector<PlacedAsset> assets;  // station kinds
};

struct LaidTrack {
    int city0 = 0;
    int city1 = 0;
    MapPoint indicator;
    std::vector<int> parts;  // in travel order from city0
};

struct LaidSection {
    std::string theme;
    std::vector<LaidCity> cities;
    std::vector<LaidPart> parts;
    std::vector<LaidTrack> tracks;
    std::vector<PlacedAsset> assets;  // landscape kinds
    std::vector<int> unlocked;
    int enter = -1;
    int leave = -1;
};

// The ground an asset stands on, as the layout keeps assets apart.
struct Box {
    double left, top, right, bottom;
    bool Overlaps(const Box& other, double gap) const {
        return left - gap < other.right && other.left - gap < right && top - gap < other.bottom &&
               other.top - gap < bottom;
    }
    bool Holds(MapPoint p, double gap) const {
        return p.x > left - gap && p.x < right + gap && p.y > top - gap && p.y < bottom + gap;
    }
};

struct AssetKind;
Box BoxOf(const AssetKind& kind, int x, int y);

class SectionWater;
// Whether a landscape asset at (x, y) is afloat when its kind floats, and
// on dry land otherwise.
bool StandsRight(const AssetKind& kind, int x, int y, const SectionWater& water);

struct MapLayout {
    std::vector<LaidSection> sections;
};

// Lays every track of the plan as a chain of curves with circle points,
// places the stations and signposts and scatters the landscape beside the
// rails. Deterministic: the same plan gives the same layout.
MapLayout LayOutMap(const MapPlan& plan);

// The track's sampled rails, city0 to city1.
std::vector<MapPoint> TrackRails(const LaidSection& section, const LaidTrack& track);
