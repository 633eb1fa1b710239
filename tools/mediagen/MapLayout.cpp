#include "mediagen/MapLayout.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "mediagen/MapKinds.h"
#include "mediagen/MapTheme.h"
#include "mediagen/MapWater.h"

namespace {

constexpr double kPartLength = 120;     // a track is cut into curves of about this length
constexpr double kSampleSpacing = 8;    // px between the program's samples of a curve
constexpr double kCircleSpacing = 70;   // px between circle points
constexpr int kCircleRadius = 72;
constexpr int kCityCircleRadius = 56;
constexpr double kRailClearance = 10;   // half the sleeper width plus a little air
constexpr double kCityClearance = 30;   // rails pass other cities no nearer than this
constexpr double kJoinClearance = 4;    // tracks touch only where they meet at a city
constexpr int kScenerySpots = 1200;     // candidate spots tried per section
constexpr int kSceneryPerSection = 42;

// A small deterministic generator (splitmix64), seeded per use.
class MapRandom {
public:
    explicit MapRandom(uint64_t seed) : state_(seed) {}
    uint64_t Next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double Unit() { return static_cast<double>(Next() >> 11) / static_cast<double>(1ull << 53); }
    int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }

private:
    uint64_t state_;
};

MapPoint Rounded(MapPoint p) { return {std::round(p.x), std::round(p.y)}; }

int Clamp(double v, int low, int high) { return std::clamp(static_cast<int>(std::lround(v)), low, high); }

// Cuts the span into `count` curves that meet at whole-pixel points, so the
// program's exact end-point comparison chains them.
std::vector<CubicSpan> CutSpan(const CubicSpan& whole, int count) {
    std::vector<CubicSpan> spans;
    CubicSpan rest = whole;
    for (int i = 0; i < count - 1; ++i) {
        CubicSpan first, second;
        rest.Split(1.0 / (count - i), first, second);
        first.end = second.start = Rounded(first.end);
        spans.push_back(first);
        rest = second;
    }
    spans.push_back(rest);
    return spans;
}

LaidPart MakePart(const CubicSpan& span) {
    LaidPart part;
    part.span = span;
    const double roughLength = PolylineLength(SampleSpan(span, 16));
    part.steps = std::clamp(static_cast<int>(roughLength / kSampleSpacing), 8, 40);
    part.samples = SampleSpan(span, part.steps);
    const double length = PolylineLength(part.samples);
    part.ticket = Rounded(PointAlong(part.samples, length / 2));
    const int circles = std::max(1, static_cast<int>(std::lround(length / kCircleSpacing)));
    for (int i = 0; i < circles; ++i) {
        const MapPoint p = Rounded(PointAlong(part.samples, (i + 0.5) * length / circles));
        part.circles.push_back({static_cast<int>(p.x), static_cast<int>(p.y), kCircleRadius});
    }
    return part;
}

// The curve of a track: a gentle arc or S bend, as strong as the other
// cities and the tracks laid before allow.
CubicSpan TrackSpan(const PlanSection& plan, const PlanTrack& track, const std::vector<std::vector<MapPoint>>& laid,
                    MapRandom& random) {
    const PlanCity& a = plan.cities[track.city0];
    const PlanCity& b = plan.cities[track.city1];
    const MapPoint from{double(a.x), double(a.y)};
    const MapPoint to{double(b.x), double(b.y)};
    const double length = Distance(from, to);
    const MapPoint along{(to.x - from.x) / length, (to.y - from.y) / length};
    const MapPoint across{-along.y, along.x};
    const double bend = (random.Unit() - 0.5) * 0.5 * length;
    const double second = random.Below(2) == 0 ? 1.0 : -0.6;
    for (double scale : {1.0, 0.5, 0.25, 0.0}) {
        const double b0 = bend * scale;
        const double b1 = bend * scale * second;
        const CubicSpan span{from,
                             {from.x + along.x * length / 3 + across.x * b0, from.y + along.y * length / 3 + across.y * b0},
                             {to.x - along.x * length / 3 + across.x * b1, to.y - along.y * length / 3 + across.y * b1},
                             to};
        const std::vector<MapPoint> samples = SampleSpan(span, 40);
        bool clear = true;
        for (size_t c = 0; c < plan.cities.size(); ++c) {
            if (c != size_t(track.city0) && c != size_t(track.city1)) {
                clear = clear && DistanceToPolyline(samples, {double(plan.cities[c].x), double(plan.cities[c].y)}) >=
                                     kCityClearance;
            }
        }
        const bool inside = std::all_of(samples.begin(), samples.end(), [](MapPoint p) {
            return p.x > 20 && p.x < kMapWidth - 20 && p.y > 20 && p.y < kMapHeight - 20;
        });
        clear = clear && std::none_of(laid.begin(), laid.end(), [&](const std::vector<MapPoint>& other) {
            return PolylinesCross(samples, other, kJoinClearance);
        });
        if ((clear && inside) || scale == 0.0) {
            return span;
        }
    }
    return {};
}

// The direction a track leaves a city in, in radians.
double LeavingAngle(const LaidSection& section, const LaidTrack& track, int city) {
    const LaidPart& part = section.parts[track.city0 == city ? track.parts.front() : track.parts.back()];
    const MapPoint origin{double(section.cities[city].x), double(section.cities[city].y)};
    const MapPoint away = track.city0 == city ? part.samples[2] : part.samples[part.samples.size() - 3];
    return std::atan2(away.y - origin.y, away.x - origin.x);
}

double AngleGap(double a, double b) {
    const double d = std::fabs(std::remainder(a - b, 2 * M_PI));
    return d;
}

class SectionLayer {
public:
    SectionLayer(LaidSection& section, uint64_t seed) : section_(section), random_(seed) {}

    bool ClearOfRails(const Box& box) const {
        for (const LaidPart& part : section_.parts) {
            for (const MapPoint& p : part.samples) {
                if (box.Holds(p, kRailClearance)) {
                    return false;
                }
            }
        }
        return true;
    }

    bool ApartFromOthers(const Box& box) const {
        return box.left >= 4 && box.top >= 4 && box.right <= kMapWidth - 4 && box.bottom <= kMapHeight - 4 &&
               std::none_of(taken_.begin(), taken_.end(), [&](const Box& other) { return box.Overlaps(other, 2); });
    }

    bool Free(const Box& box) const { return ApartFromOthers(box) && ClearOfRails(box); }

    // The station beside each city, then its signpost, each on the side
    // with the most room between the rails.
    void PlaceCitySigns(int firstNumber) {
        for (size_t c = 0; c < section_.cities.size(); ++c) {
            LaidCity& city = section_.cities[c];
            city.number = firstNumber + static_cast<int>(c);
            const bool border = int(c) == section_.enter || int(c) == section_.leave;
            const MapTheme& theme = ThemeNamed(section_.theme);
            PlaceSign(city, KindIndex(StationKinds(), border && section_.theme != "capital" ? "STATION_TOWN" : theme.station), 30);
            PlaceSign(city, KindIndex(StationKinds(), border ? "POST_RED" : "POST_BLUE"), 26);
        }
    }

    // Boats only afloat, everything else on dry land. Water near the rails
    // is scarce, so the boats look for it first, as many as their weight.
    void ScatterScenery(const SectionWater& water) {
        const MapTheme& theme = ThemeNamed(section_.theme);
        int totalWeight = 0;
        for (const SceneryChoice& choice : theme.scenery) {
            totalWeight += choice.weight;
            const int kind = KindIndex(LandscapeKinds(), choice.kindId);
            for (int spot = 0, placed = 0; LandscapeKinds()[kind].floats && spot < kScenerySpots && placed < choice.weight;
                 ++spot) {
                placed += TryPlace(kind, water) ? 1 : 0;
            }
        }
        for (int spot = 0; spot < kScenerySpots && int(section_.assets.size()) < kSceneryPerSection; ++spot) {
            int pick = random_.Below(totalWeight);
            const SceneryChoice* choice = &theme.scenery.front();
            for (const SceneryChoice& c : theme.scenery) {
                if ((pick -= c.weight) < 0) {
                    choice = &c;
                    break;
                }
            }
            TryPlace(KindIndex(LandscapeKinds(), choice->kindId), water);
        }
    }

private:
    // One random spot beside a circle point, so the asset pops up with it.
    bool TryPlace(int kind, const SectionWater& water) {
        const AssetKind& look = LandscapeKinds()[kind];
        const LaidPart& part = section_.parts[random_.Below(static_cast<int>(section_.parts.size()))];
        const MapCircle& circle = part.circles[random_.Below(static_cast<int>(part.circles.size()))];
        const double angle = random_.Unit() * 2 * M_PI;
        // Boats may reach further out, to the water beyond the shore.
        const double reach = 18 + random_.Unit() * (circle.radius - (look.floats ? 12 : 30));
        const int x = static_cast<int>(std::lround(circle.x + std::cos(angle) * reach));
        const int y = static_cast<int>(std::lround(circle.y + std::sin(angle) * reach));
        const Box box = BoxOf(look, x, y);
        if (!Free(box) || !InsideCircle(look, x, y, circle) || NearCity(box) || !StandsRight(look, x, y, water)) {
            return false;
        }
        taken_.push_back(box);
        section_.assets.push_back({kind, x, y});
        return true;
    }

    static bool InsideCircle(const AssetKind& kind, int x, int y, const MapCircle& circle) {
        return std::all_of(kind.hits.begin(), kind.hits.end(), [&](const HitCircle& hit) {
            return std::hypot(x + hit.dx - circle.x, y + hit.dy - circle.y) + hit.radius <= circle.radius;
        });
    }

    bool NearCity(const Box& box) const {
        return std::any_of(section_.cities.begin(), section_.cities.end(),
                           [&](const LaidCity& city) { return box.Holds({double(city.x), double(city.y)}, 16); });
    }

    void PlaceSign(LaidCity& city, int kind, double reach) {
        const AssetKind& look = StationKinds()[kind];
        std::vector<double> rails;
        const int index = static_cast<int>(&city - section_.cities.data());
        for (const LaidTrack& track : section_.tracks) {
            if (track.city0 == index || track.city1 == index) {
                rails.push_back(LeavingAngle(section_, track, index));
            }
        }
        double bestScore = -1e9;
        PlacedAsset best{kind, city.x, city.y};
        for (int step = 0; step < 16; ++step) {
            const double angle = -M_PI / 2 + step * M_PI / 8;
            for (double distance : {reach, reach + 12, reach + 24, reach + 36}) {
                const MapPoint centre{city.x + std::cos(angle) * distance, city.y + std::sin(angle) * distance};
                const int x = static_cast<int>(std::lround(centre.x - look.width / 2.0 + look.anchorX));
                const int y = static_cast<int>(std::lround(centre.y - look.height / 2.0 + look.anchorY));
                const Box box = BoxOf(look, x, y);
                double gap = M_PI;
                for (double rail : rails) {
                    gap = std::min(gap, AngleGap(angle, rail));
                }
                // Where no spot is clear of the rails, a sign may cross a rail
                // but never cover the station or another sign.
                const double score = (ApartFromOthers(box) ? 200 : 0) + (ClearOfRails(box) ? 100 : 0) + gap -
                                     distance * 0.01 - step * 0.001;
                if (score > bestScore && !box.Holds({double(city.x), double(city.y)}, 2)) {
                    bestScore = score;
                    best = {kind, x, y};
                }
            }
        }
        taken_.push_back(BoxOf(look, best.x, best.y));
        city.assets.push_back(best);
    }

    LaidSection& section_;
    MapRandom random_;
    std::vector<Box> taken_;
};

LaidSection LayOutSection(const PlanSection& plan, size_t index, int firstNumber) {
    LaidSection section;
    section.theme = plan.theme;
    section.enter = plan.enter;
    section.leave = plan.leave;
    ThemeNamed(plan.theme);
    for (const PlanCity& city : plan.cities) {
        LaidCity laid;
        laid.name = city.name;
        laid.x = city.x;
        laid.y = city.y;
        laid.circle = {city.x, city.y, kCityCircleRadius};
        laid.ticketX = Clamp(city.x, 70, kMapWidth - 70);
        // Above the city, or below it where the top bar would cover the ticket.
        const bool roomAbove = city.y - 62 - kTicketHeight >= kMapTopBarHeight + 2;
        laid.ticketY = Clamp(roomAbove ? city.y - 62 : city.y + 26 + kTicketHeight, 0, kMapHeight - 4);
        section.cities.push_back(laid);
    }
    MapRandom random(0x4D415031ull * (index + 1));
    std::vector<std::vector<MapPoint>> laid;
    for (size_t t = 0; t < plan.tracks.size(); ++t) {
        const PlanTrack& planned = plan.tracks[t];
        const CubicSpan span = TrackSpan(plan, planned, laid, random);
        laid.push_back(SampleSpan(span, 40));
        const double length = Distance(span.start, span.end);
        LaidTrack track{planned.city0, planned.city1, {}, {}};
        for (const CubicSpan& piece : CutSpan(span, std::max(1, static_cast<int>(std::lround(length / kPartLength))))) {
            track.parts.push_back(static_cast<int>(section.parts.size()));
            section.parts.push_back(MakePart(piece));
        }
        section.tracks.push_back(track);
        if (planned.unlocked) {
            section.unlocked.push_back(static_cast<int>(t));
        }
    }
    for (LaidTrack& track : section.tracks) {
        const std::vector<MapPoint> rails = TrackRails(section, track);
        track.indicator = Rounded(PointAlong(rails, PolylineLength(rails) / 2));
    }
    SectionLayer layer(section, 0x5343454Eull * (index + 7));
    layer.PlaceCitySigns(firstNumber);
    layer.ScatterScenery(SectionWater(section, static_cast<int>(index)));
    return section;
}

}  // namespace

bool StandsRight(const AssetKind& kind, int x, int y, const SectionWater& water) {
    const std::vector<MapPoint> footing = FootingOf(kind, x, y);
    return kind.floats ? std::all_of(footing.begin(), footing.end(), [&](MapPoint p) { return water.Holds(p, 2); })
                       : std::none_of(footing.begin(), footing.end(), [&](MapPoint p) { return water.Holds(p, -3); });
}

Box BoxOf(const AssetKind& kind, int x, int y) {
    const double left = x - kind.anchorX + kind.sideMargin;
    const double top = y - kind.anchorY;
    return {left, top, left + kind.width - 2 * kind.sideMargin, top + kind.height};
}

std::vector<MapPoint> TrackRails(const LaidSection& section, const LaidTrack& track) {
    std::vector<MapPoint> rails;
    for (int id : track.parts) {
        const std::vector<MapPoint>& samples = section.parts[id].samples;
        rails.insert(rails.end(), samples.begin() + (rails.empty() ? 0 : 1), samples.end());
    }
    return rails;
}

MapLayout LayOutMap(const MapPlan& plan) {
    MapLayout layout;
    int number = 1;
    for (size_t s = 0; s < plan.sections.size(); ++s) {
        layout.sections.push_back(LayOutSection(plan.sections[s], s, number));
        number += static_cast<int>(plan.sections[s].cities.size());
    }
    return layout;
}
