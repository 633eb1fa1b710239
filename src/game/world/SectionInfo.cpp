#include "game/world/SectionInfo.h"

#include <algorithm>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/PropertyNode.h"
#include "game/world/MapList.h"

namespace {

// Builds an entry of a list by its class name; null when it is not a T.
template <typename T>
Ref<T> CreateEntry(Property* definition) {
    Ref<Object> object = ClassFactory::Instance().Create(definition);
    return ObjectCast<T>(object.Get());
}

template <typename T>
bool InRange(int32_t index, const std::vector<T>& list) {
    return index >= 0 && static_cast<size_t>(index) < list.size();
}

}  // namespace

SectionInfo::SectionInfo(const Property* definition, int32_t index) {
    ReadCities(MapList(Property::Child(definition, "cities")));
    ReadTrackParts(MapList(Property::Child(definition, "trackParts")));
    const std::vector<int32_t> trackIndices = ReadTracks(MapList(Property::Child(definition, "tracks")), index);
    assets.Read(Property::Child(definition, "assets"));
    ReadUnlockedTracks(MapList(Property::Child(definition, "unlockedtracks")), trackIndices);
    enter = Property::AsInt(Property::Child(definition, "enter"));
    leave = Property::AsInt(Property::Child(definition, "leave"));
}

void SectionInfo::ReadCities(const Property* list) {
    for (int i = 0; Property* entry = Property::At(list, i); ++i) {
        Ref<CityInfo> city = CreateEntry<CityInfo>(entry);
        if (city.Get() == nullptr) {
            // A placeholder keeps the indices of the cities after it.
            ENGINE_LOG(1, "map city %d is a '%s', not a CityInfo", i, entry->TypeName().c_str());
            city = new CityInfo;
        }
        cities.push_back(city);
    }
}

void SectionInfo::ReadTrackParts(const Property* list) {
    for (int i = 0; Property* entry = Property::At(list, i); ++i) {
        Ref<TrackPart> part = CreateEntry<TrackPart>(entry);
        if (part.Get() == nullptr) {
            ENGINE_LOG(1, "map track part %d is a '%s', not a TrackPart", i, entry->TypeName().c_str());
            part = new TrackPart;
        }
        trackParts.push_back(part);
    }
}

std::vector<int32_t> SectionInfo::ReadTracks(const Property* list, int32_t index) {
    std::vector<int32_t> trackIndices;
    for (int i = 0; Property* entry = Property::At(list, i); ++i) {
        Ref<TrackInfo> track = CreateEntry<TrackInfo>(entry);
        if (track.Get() == nullptr || !IsValidTrack(*track, index)) {
            ENGINE_LOG(1, "map section %d: track %d dropped", index, i);
            trackIndices.push_back(-1);
            continue;
        }
        trackIndices.push_back(static_cast<int32_t>(tracks.size()));
        tracks.push_back(track);
    }
    return trackIndices;
}

bool SectionInfo::IsValidTrack(TrackInfo& track, int32_t index) const {
    // Tracks are addressed by the section that holds them, and their cities
    // and parts are looked up there.
    if (track.ends[0].section != index) {
        ENGINE_LOG(1, "map section %d: a track names section %d", index, track.ends[0].section);
        return false;
    }
    for (const CityRef& end : track.ends) {
        if (!InRange(end.city, cities)) {
            ENGINE_LOG(1, "map section %d: a track ends at city %d of %zu", index, end.city, cities.size());
            return false;
        }
    }
    const auto outside = [this](int32_t id) { return !InRange(id, trackParts); };
    if (std::any_of(track.curveIds.begin(), track.curveIds.end(), outside)) {
        ENGINE_LOG(1, "map section %d: a track names a curve outside the %zu parts; those ids are dropped", index,
                   trackParts.size());
        std::erase_if(track.curveIds, outside);
    }
    return true;
}

void SectionInfo::ReadUnlockedTracks(const Property* list, const std::vector<int32_t>& trackIndices) {
    for (int i = 0; const Property* entry = Property::At(list, i); ++i) {
        const int32_t fileIndex = Property::AsInt(entry);
        const int32_t track = InRange(fileIndex, trackIndices) ? trackIndices[static_cast<size_t>(fileIndex)] : -1;
        if (track < 0) {
            ENGINE_LOG(1, "unlocked track %d is not a track of its section", fileIndex);
            continue;
        }
        unlockedTracks.push_back(track);
        tracks[static_cast<size_t>(track)]->bought = true;
    }
}

bool SectionInfo::IsTrackPartBought(int32_t part) const {
    return std::any_of(tracks.begin(), tracks.end(), [part](const Ref<TrackInfo>& track) {
        const std::vector<int32_t>& ids = track->curveIds;
        return track->bought && std::find(ids.begin(), ids.end(), part) != ids.end();
    });
}

void SectionInfo::ResetProgress() {
    for (const Ref<TrackInfo>& track : tracks) {
        track->ResetProgress();
    }
    for (const Ref<CityInfo>& city : cities) {
        city->ResetProgress();
    }
    for (const int32_t track : unlockedTracks) {
        tracks[static_cast<size_t>(track)]->bought = true;
    }
    finished = false;
}

void SectionInfo::WriteProgress(Property* node) const {
    PropertyNode& target = Property::NodeOf(node);
    target.SetBool("finished", finished, false);
    Property* trackList = target.Add(new PropertyVector("tracks"));
    for (const Ref<TrackInfo>& track : tracks) {
        track->WriteProgress(Property::VectorOf(trackList).Add(new PropertyNode("", "PlayerTrackData")));
    }
    Property* cityList = target.Add(new PropertyVector("cities"));
    for (const Ref<CityInfo>& city : cities) {
        city->WriteProgress(Property::VectorOf(cityList).Add(new PropertyNode("", "PlayerCityData")));
    }
}

void SectionInfo::ReadProgress(const Property* node) {
    finished = Property::AsBool(Property::Child(node, "finished"));
    const Property* trackList = Property::Child(node, "tracks");
    for (size_t i = 0; i < tracks.size(); ++i) {
        const Property* entry = Property::At(trackList, static_cast<int>(i));
        if (entry == nullptr) {
            break;
        }
        tracks[i]->ReadProgress(entry);
    }
    const Property* cityList = Property::Child(node, "cities");
    for (size_t i = 0; i < cities.size(); ++i) {
        const Property* entry = Property::At(cityList, static_cast<int>(i));
        if (entry == nullptr) {
            break;
        }
        cities[i]->ReadProgress(entry);
    }
}
