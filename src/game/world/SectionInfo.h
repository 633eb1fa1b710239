#pragma once

#include <cstdint>
#include <vector>

#include "engine/foundation/Object.h"
#include "engine/foundation/Ref.h"
#include "game/world/CityInfo.h"
#include "game/world/MapAssets.h"
#include "game/world/TrackInfo.h"
#include "game/world/TrackPart.h"

class Property;

// One section of the railway map: its cities, tracks and track parts, and
// the player's progress on it.
class SectionInfo : public Object {
    ENGINE_CLASS(SectionInfo, Object)

public:
    SectionInfo() = default;
    // Reads a section node of the map file as section number `index`.
    // Entries whose indices point outside their lists are dropped with a log
    // line, so every index kept is safe to follow.
    SectionInfo(const Property* definition, int32_t index);

    // True when some bought track runs over the part.
    bool IsTrackPartBought(int32_t part) const;

    // Nothing bought or visited but the unlocked tracks.
    void ResetProgress();
    // A "PlayerSectionData" node: "finished", "tracks" and "cities".
    void WriteProgress(Property* node) const;
    void ReadProgress(const Property* node);

    std::vector<Ref<CityInfo>> cities;
    std::vector<Ref<TrackInfo>> tracks;
    std::vector<Ref<TrackPart>> trackParts;
    MapAssets assets;
    std::vector<int32_t> unlockedTracks;
    int32_t enter = -1;
    int32_t leave = -1;
    bool finished = false;

private:
    void ReadCities(const Property* list);
    void ReadTrackParts(const Property* list);
    // Returns, per file entry, the index the track got, or -1 when dropped.
    std::vector<int32_t> ReadTracks(const Property* list, int32_t index);
    void ReadUnlockedTracks(const Property* list, const std::vector<int32_t>& trackIndices);
    bool IsValidTrack(TrackInfo& track, int32_t index) const;
};
