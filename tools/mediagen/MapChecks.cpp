#include "mediagen/MapChecks.h"

#include <algorithm>
#include <cmath>

#include "mediagen/MapKinds.h"
#include "mediagen/MapWater.h"

namespace {

bool Same(MapPoint a, MapPoint b) {
    return static_cast<float>(a.x) == static_cast<float>(b.x) && static_cast<float>(a.y) == static_cast<float>(b.y);
}

class Checker {
public:
    explicit Checker(std::vector<std::string>& faults) : faults_(faults) {}

    void Section(const LaidSection& section, int s) {
        prefix_ = "section " + std::to_string(s + 1) + ": ";
        const int cities = static_cast<int>(section.cities.size());
        Expect(cities >= 8 && cities <= 12, "has " + std::to_string(cities) + " cities, not 8 to 12");
        Expect(section.enter >= 0 && section.enter < cities, "no enter city");
        Expect(section.leave >= 0 && section.leave < cities, "no leave city");
        std::vector<int> tracksAt(section.cities.size(), 0);
        for (const LaidTrack& track : section.tracks) {
            if (!Expect(track.city0 >= 0 && track.city0 < cities && track.city1 >= 0 && track.city1 < cities,
                        "a track ends at no city")) {
                continue;
            }
            ++tracksAt[track.city0];
            ++tracksAt[track.city1];
            Track(section, track);
        }
        for (int c = 0; c < cities; ++c) {
            const LaidCity& city = section.cities[c];
            Expect(tracksAt[c] <= kMaxTracksPerCity, city.name + " has more than 5 tracks");
            Expect(tracksAt[c] > 0, city.name + " has no track");
            bool station = false;
            for (const PlacedAsset& asset : city.assets) {
                station = station || (asset.kind >= 0 && asset.kind < int(StationKinds().size()) &&
                                      StationKinds()[asset.kind].frames == 4);
            }
            Expect(station, city.name + " has no station with 4 frames");
            Expect(AssetsApart(city), city.name + " has a sign over its station");
            Expect(city.ticketY - kTicketHeight >= kMapTopBarHeight && city.ticketY <= kMapHeight,
                   city.name + "'s ticket stands under the top bar or off the map");
        }
        // Rails meet only at cities: the map has no level crossings.
        std::vector<std::vector<MapPoint>> rails;
        for (const LaidTrack& track : section.tracks) {
            const bool valid = std::all_of(track.parts.begin(), track.parts.end(),
                                           [&](int id) { return id >= 0 && id < int(section.parts.size()); });
            rails.push_back(valid ? TrackRails(section, track) : std::vector<MapPoint>{});
        }
        for (size_t a = 0; a < rails.size(); ++a) {
            for (size_t b = a + 1; b < rails.size(); ++b) {
                Expect(!PolylinesCross(rails[a], rails[b], 4),
                       "tracks " + std::to_string(a) + " and " + std::to_string(b) + " cross");
            }
        }
        for (int t : section.unlocked) {
            Expect(t >= 0 && t < int(section.tracks.size()), "an unlocked track that does not exist");
        }
        const SectionWater water(section, s);
        for (const PlacedAsset& asset : section.assets) {
            if (!Expect(asset.kind >= 0 && asset.kind < int(LandscapeKinds().size()), "an unknown landscape kind")) {
                continue;
            }
            Expect(asset.x >= 0 && asset.x < kMapWidth && asset.y >= 0 && asset.y < kMapHeight,
                   "a landscape asset off the map");
            const AssetKind& kind = LandscapeKinds()[asset.kind];
            Expect(StandsRight(kind, asset.x, asset.y, water),
                   kind.id + " at " + std::to_string(asset.x) + "," + std::to_string(asset.y) +
                       (kind.floats ? " on dry land" : " in the water"));
        }
    }

    bool Expect(bool condition, const std::string& fault) {
        if (!condition) {
            faults_.push_back(prefix_ + fault);
        }
        return condition;
    }

private:
    static bool AssetsApart(const LaidCity& city) {
        std::vector<Box> boxes;
        for (const PlacedAsset& asset : city.assets) {
            if (asset.kind < 0 || asset.kind >= int(StationKinds().size())) {
                continue;
            }
            const Box box = BoxOf(StationKinds()[asset.kind], asset.x, asset.y);
            if (std::any_of(boxes.begin(), boxes.end(), [&](const Box& other) { return box.Overlaps(other, 0); })) {
                return false;
            }
            boxes.push_back(box);
        }
        return true;
    }

    // The parts must chain end to end from city0 to city1, as the program
    // joins them by exact end points, and the route must fit the dots.
    void Track(const LaidSection& section, const LaidTrack& track) {
        const std::string name = section.cities[track.city0].name + "-" + section.cities[track.city1].name;
        if (!Expect(!track.parts.empty(), name + " has no curves")) {
            return;
        }
        for (int id : track.parts) {
            if (!Expect(id >= 0 && id < int(section.parts.size()), name + " names a curve that does not exist")) {
                return;
            }
            Expect(!section.parts[id].circles.empty(), name + " has a curve without circle points");
        }
        const LaidCity& from = section.cities[track.city0];
        const LaidCity& to = section.cities[track.city1];
        Expect(Same(section.parts[track.parts.front()].span.start, {double(from.x), double(from.y)}),
               name + " does not start at its first city");
        Expect(Same(section.parts[track.parts.back()].span.end, {double(to.x), double(to.y)}),
               name + " does not end at its second city");
        for (size_t i = 1; i < track.parts.size(); ++i) {
            const CubicSpan& a = section.parts[track.parts[i - 1]].span;
            const CubicSpan& b = section.parts[track.parts[i]].span;
            // The joins the program tries first must not match by accident.
            Expect(Same(a.end, b.start) && !Same(a.start, b.start) && !Same(a.start, b.end),
                   name + " has curves whose ends do not chain");
        }
        const double length = PolylineLength(TrackRails(section, track));
        Expect(length < kMaxRouteLength, name + " is " + std::to_string(std::lround(length)) + " px long");
    }

    std::vector<std::string>& faults_;
    std::string prefix_;
};

}  // namespace

std::vector<std::string> CheckMapLayout(const MapLayout& layout) {
    std::vector<std::string> faults;
    Checker checker(faults);
    checker.Expect(layout.sections.size() == kSectionCount,
                   std::to_string(layout.sections.size()) + " sections, not 10");
    int unlocked = 0;
    for (size_t s = 0; s < layout.sections.size(); ++s) {
        checker.Section(layout.sections[s], static_cast<int>(s));
        unlocked += static_cast<int>(layout.sections[s].unlocked.size());
    }
    if (unlocked != kUnlockedTracks) {
        faults.push_back(std::to_string(unlocked) + " unlocked tracks, not 13");
    }
    return faults;
}
