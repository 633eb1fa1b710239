#pragma once

#include <cstdint>
#include <vector>

#include "engine/foundation/Ref.h"
#include "engine/scene/BezierCurve.h"
#include "engine/scene/Path.h"

class Property;

// A drawn curve of the map from which tracks are made, with the circle
// points along it where the map pops up items as the train passes.
class TrackPart : public BezierCurve {
    ENGINE_CLASS(TrackPart, BezierCurve)

public:
    struct CirclePoint {
        int32_t x = 0;
        int32_t y = 0;
        int32_t radius = 0;
    };

    TrackPart();
    // The curve's keys plus "ticketX", "ticketY" and "circlePoints" (x, y,
    // radius triples; an incomplete last triple is dropped).
    explicit TrackPart(Property* definition);

    // Whether the sampled curve passes within `radius` of (x, y).
    bool IsNearPoint(int32_t x, int32_t y, int32_t radius) const;

    const Path& SampledPath() const { return *path_; }

    int32_t ticketX = 0;
    int32_t ticketY = 0;
    // Set once the train has passed all the circle points.
    bool revealed = false;
    std::vector<CirclePoint> circlePoints;
    // Per circle point, the items the map scene shows there.
    std::vector<std::vector<Ref<Object>>> circleItems;

private:
    Ref<Path> path_;
};
