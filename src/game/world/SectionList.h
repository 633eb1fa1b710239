#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/foundation/Object.h"
#include "engine/foundation/Ref.h"
#include "game/words/TicketHooks.h"
#include "game/world/MapRefs.h"
#include "game/world/SectionInfo.h"

class Property;

// The railway map: exactly ten sections, read once from the map file. It
// also answers ticket generation's question for a track's length class.
class SectionList : public Object, public TicketMapHook {
    ENGINE_CLASS(SectionList, Object)

public:
    static constexpr int kSectionCount = 10;
    static constexpr const char* kFileName = "media/data/sections.xml";

    // Ten empty sections.
    SectionList();

    // Makes the global list and loads the map file into it; false when the
    // file could not be read (see Load).
    static bool Create();
    // The global list, or null before Create and after ReleaseInstance.
    static SectionList* Instance();
    static void ReleaseInstance();

    // Reads the map file. False, logged, when the file cannot be read or does
    // not list the ten sections: a map without them cannot be played, and
    // its sections are left empty.
    bool Load();
    // Builds the sections from the map file's "sections" vector: reads at
    // most ten entries, then assembles every track's path and length class
    // (lengths from the constant TRACK_LENGTH_PER_NUM_PIXELS).
    void Build(const Property* sections);

    SectionInfo& Section(int32_t index) { return *sections_[static_cast<size_t>(index)]; }
    const SectionInfo& Section(int32_t index) const { return *sections_[static_cast<size_t>(index)]; }
    int32_t TrackCount() const { return trackCount_; }

    // Appends every track of the city's section that ends at the city.
    void GetTracksOfCity(CityRef city, std::vector<TrackRef>& out) const;
    // Appends each part of `section` that is neither the track's own nor
    // bought, once per part of the track whose circle points (moved left by
    // dx) it touches.
    void FindTrackPartsNearTrack(TrackRef track, std::vector<Ref<TrackPart>>& out, int32_t section,
                                 int32_t dx) const;
    bool AllTracksBought() const;
    // Null for a reference outside the map.
    const TrackInfo* FindTrack(TrackRef track) const;
    TrackInfo* FindTrack(TrackRef track);
    CityInfo* FindCity(CityRef city) const;

    void ResetProgress();
    // Appends ten "PlayerSectionData" nodes to the vector.
    void WriteProgress(Property* vector) const;
    // Reads entry i of the vector into section i.
    void ReadProgress(const Property* vector);

    int TrackLengthClass(int section, int track) const override;

private:
    std::array<Ref<SectionInfo>, kSectionCount> sections_;
    int32_t trackCount_ = 0;
};
