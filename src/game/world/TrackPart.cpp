#include "game/world/TrackPart.h"

#include <cmath>

#include "engine/foundation/MediaNumbers.h"
#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/PropertyVector.h"
#include "engine/scene/Geometry.h"

namespace {
const ClassRegistration registration("TrackPart", CreateFromProperty<TrackPart>);
}  // namespace

TrackPart::TrackPart() : path_(new Path) {}

TrackPart::TrackPart(Property* definition)
    : BezierCurve(definition),
      ticketX(media_numbers::Position(Property::Child(definition, "ticketX"))),
      ticketY(media_numbers::Position(Property::Child(definition, "ticketY"))),
      path_(new Path) {
    const PropertyVector& circles = Property::VectorOf(Property::Child(definition, "circlePoints"));
    const int values = circles.Count();
    if (values % 3 != 0) {
        ENGINE_LOG(1, "track part has %d circle point values, dropping the incomplete last point", values);
    }
    for (int i = 0; i + 2 < values; i += 3) {
        const auto value = [&circles](int index) { return media_numbers::Position(Property::At(&circles, index)); };
        circlePoints.push_back({value(i), value(i + 1), value(i + 2)});
    }
    circleItems.resize(circlePoints.size());
    SampleToPath(*path_);
}

bool TrackPart::IsNearPoint(int32_t x, int32_t y, int32_t radius) const {
    const PointF target{static_cast<float>(x), static_cast<float>(y)};
    for (int32_t i = 0; i + 1 < path_->Count(); ++i) {
        PointF nearest;
        ClosestPointOnSegment(path_->Point(i), path_->Point(i + 1), target, nearest);
        if (std::hypot(nearest.x - target.x, nearest.y - target.y) <= static_cast<float>(radius)) {
            return true;
        }
    }
    return false;
}
