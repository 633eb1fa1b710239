#pragma once

#include <cstdint>
#include <vector>

#include "engine/foundation/Object.h"
#include "engine/foundation/Ref.h"
#include "engine/scene/Path.h"
#include "game/world/MapRefs.h"

class Property;
class TrackPart;

// A track between two cities of a section, made of track parts, with the
// player's progress on it.
class TrackInfo : public Object {
    ENGINE_CLASS(TrackInfo, Object)

public:
    TrackInfo();
    // Keys "city0", "city1", "section", "trackIndicatorX",
    // "trackIndicatorY" and the "curveIDs" list.
    explicit TrackInfo(const Property* definition);

    // Chains the curves named by curveIds into the path, each turned so that
    // it continues where the one before ends. `parts` are the track parts of
    // the track's section; a curve id outside them leaves the path empty.
    void AssemblePath(const std::vector<Ref<TrackPart>>& parts);
    // The index of the first threshold longer than the path, the last index
    // when none is; unchanged for an empty list.
    void ComputeLengthClass(const std::vector<int32_t>& thresholds);

    void ResetProgress();
    // A "PlayerTrackData" node: "bought" and "games".
    void WriteProgress(Property* node) const;
    void ReadProgress(const Property* node);

    const Path& GetPath() const { return *path_; }

    int32_t lengthClass = 0;
    int32_t trackIndicatorX = 0;
    int32_t trackIndicatorY = 0;
    bool bought = false;
    int32_t games = 0;
    CityRef ends[2];
    std::vector<int32_t> curveIds;

private:
    Ref<Path> path_;
};
