#include "game/world/TrackInfo.h"

#include <algorithm>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "game/world/TrackPart.h"
#include "game/world/MapList.h"

namespace {
const ClassRegistration registration("TrackInfo", CreateFromProperty<TrackInfo>);

int32_t ReadInt(const Property* node, const char* key) {
    return Property::AsInt(Property::Child(node, key));
}

bool SamePoint(const BezierPoint& a, const BezierPoint& b) {
    return a.x == b.x && a.y == b.y;
}
}  // namespace

TrackInfo::TrackInfo() : path_(new Path) {}

TrackInfo::TrackInfo(const Property* definition)
    : trackIndicatorX(ReadInt(definition, "trackIndicatorX")),
      trackIndicatorY(ReadInt(definition, "trackIndicatorY")),
      path_(new Path) {
    const int32_t section = ReadInt(definition, "section");
    ends[0] = {ReadInt(definition, "city0"), section};
    ends[1] = {ReadInt(definition, "city1"), section};
    const Property* ids = MapList(Property::Child(definition, "curveIDs"));
    for (int i = 0; const Property* id = Property::At(ids, i); ++i) {
        curveIds.push_back(Property::AsInt(id));
    }
}

void TrackInfo::AssemblePath(const std::vector<Ref<TrackPart>>& parts) {
    path_ = new Path;
    const auto outside = [&parts](int32_t id) { return id < 0 || static_cast<size_t>(id) >= parts.size(); };
    if (std::any_of(curveIds.begin(), curveIds.end(), outside)) {
        ENGINE_LOG(1, "a track names a curve outside the %zu parts of its section; its path stays empty", parts.size());
        return;
    }
    if (curveIds.size() == 1) {
        parts[static_cast<size_t>(curveIds[0])]->SampleToPath(*path_);
        return;
    }
    for (size_t i = 0; i + 1 < curveIds.size(); ++i) {
        const TrackPart& a = *parts[static_cast<size_t>(curveIds[i])];
        const TrackPart& b = *parts[static_cast<size_t>(curveIds[i + 1])];
        if (a.PointCount() == 0 || b.PointCount() == 0) {
            continue;
        }
        const BezierPoint& aFirst = a.GetPoint(0);
        const BezierPoint& aLast = a.GetPoint(-1);
        const BezierPoint& bFirst = b.GetPoint(0);
        const BezierPoint& bLast = b.GetPoint(-1);
        bool joinedAtFirst = true;
        if (SamePoint(bFirst, aFirst) || SamePoint(bLast, aFirst)) {
            path_->AppendCurveReversed(a);
            joinedAtFirst = SamePoint(bFirst, aFirst);
        } else if (SamePoint(bFirst, aLast) || SamePoint(bLast, aLast)) {
            path_->AppendCurve(a);
            joinedAtFirst = SamePoint(bFirst, aLast);
        } else {
            continue;
        }
        if (i + 2 == curveIds.size()) {
            if (joinedAtFirst) {
                path_->AppendCurve(b);
            } else {
                path_->AppendCurveReversed(b);
            }
        }
    }
}

void TrackInfo::ComputeLengthClass(const std::vector<int32_t>& thresholds) {
    const auto length = static_cast<int32_t>(path_->GetLength());
    for (size_t i = 0; i < thresholds.size(); ++i) {
        if (thresholds[i] > length) {
            lengthClass = static_cast<int32_t>(i);
            return;
        }
    }
    // Longer than every threshold: the longest class, not the shortest.
    if (!thresholds.empty()) {
        lengthClass = static_cast<int32_t>(thresholds.size()) - 1;
    }
}

void TrackInfo::ResetProgress() {
    bought = false;
    games = 0;
}

void TrackInfo::WriteProgress(Property* node) const {
    PropertyNode& target = Property::NodeOf(node);
    target.SetBool("bought", bought, false);
    target.Add(PropertyValue::FromInteger("games", games, false));
}

void TrackInfo::ReadProgress(const Property* node) {
    bought = Property::AsBool(Property::Child(node, "bought"));
    games = Property::AsInt(Property::Child(node, "games"));
}
