#include "game/world/SectionList.h"

#include <algorithm>
#include <utility>

#include "engine/foundation/Defines.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/PropertyNode.h"
#include "game/world/MapList.h"

namespace {

Ref<SectionList>& GlobalList() {
    static Ref<SectionList> list;
    return list;
}

std::vector<int32_t> LengthThresholds() {
    std::vector<int32_t> thresholds;
    if (const Defines* defines = Defines::Instance()) {
        const Property* list = defines->GetVector("TRACK_LENGTH_PER_NUM_PIXELS");
        for (int i = 0; const Property* value = Property::At(list, i); ++i) {
            thresholds.push_back(Property::AsInt(value));
        }
    }
    return thresholds;
}

}  // namespace

SectionList::SectionList() {
    for (Ref<SectionInfo>& section : sections_) {
        section = new SectionInfo;
    }
}

bool SectionList::Create() {
    GlobalList() = new SectionList;
    return GlobalList()->Load();
}

SectionList* SectionList::Instance() {
    return GlobalList().Get();
}

void SectionList::ReleaseInstance() {
    GlobalList().Reset();
}

bool SectionList::Load() {
    Ref<PropertyFile> file = new PropertyFile({kFileName});
    const Property* sections = file->Load() ? Property::Child(file.Get(), "sections") : nullptr;
    for (int i = 0; i < kSectionCount; ++i) {
        const Property* entry = Property::At(sections, i);
        if (entry == nullptr || entry->GetKind() != Property::kNode) {
            ENGINE_LOG(1, "cannot read the map file %s: it does not list the %d sections", kFileName, kSectionCount);
            Build(nullptr);
            return false;
        }
    }
    Build(sections);
    return true;
}

void SectionList::Build(const Property* sectionsList) {
    const Property* sections = MapList(sectionsList);
    trackCount_ = 0;
    for (int i = 0; i < kSectionCount; ++i) {
        const Property* entry = Property::At(sections, i);
        if (entry == nullptr) {
            break;
        }
        // An entry that is not a node gives an empty section.
        sections_[static_cast<size_t>(i)] =
            entry->GetKind() == Property::kNode ? new SectionInfo(entry, i) : new SectionInfo;
        trackCount_ += static_cast<int32_t>(sections_[static_cast<size_t>(i)]->tracks.size());
    }
    if (Property::At(sections, kSectionCount) != nullptr) {
        ENGINE_LOG(1, "the map file has more than %d sections; the rest are not read", kSectionCount);
    }
    const std::vector<int32_t> thresholds = LengthThresholds();
    for (const Ref<SectionInfo>& section : sections_) {
        for (const Ref<TrackInfo>& track : section->tracks) {
            track->AssemblePath(section->trackParts);
            track->ComputeLengthClass(thresholds);
        }
    }
}

void SectionList::GetTracksOfCity(CityRef city, std::vector<TrackRef>& out) const {
    if (city.section < 0 || city.section >= kSectionCount) {
        return;
    }
    const std::vector<Ref<TrackInfo>>& tracks = Section(city.section).tracks;
    for (size_t i = 0; i < tracks.size(); ++i) {
        if (tracks[i]->ends[0] == city || tracks[i]->ends[1] == city) {
            out.push_back({static_cast<int32_t>(i), city.section});
        }
    }
}

const TrackInfo* SectionList::FindTrack(TrackRef track) const {
    if (track.section < 0 || track.section >= kSectionCount) {
        return nullptr;
    }
    const std::vector<Ref<TrackInfo>>& tracks = Section(track.section).tracks;
    if (track.track < 0 || static_cast<size_t>(track.track) >= tracks.size()) {
        return nullptr;
    }
    return tracks[static_cast<size_t>(track.track)].Get();
}

TrackInfo* SectionList::FindTrack(TrackRef track) {
    return const_cast<TrackInfo*>(std::as_const(*this).FindTrack(track));
}

CityInfo* SectionList::FindCity(CityRef city) const {
    if (city.section < 0 || city.section >= kSectionCount) {
        return nullptr;
    }
    const std::vector<Ref<CityInfo>>& cities = Section(city.section).cities;
    if (city.city < 0 || static_cast<size_t>(city.city) >= cities.size()) {
        return nullptr;
    }
    return cities[static_cast<size_t>(city.city)].Get();
}

void SectionList::FindTrackPartsNearTrack(TrackRef track, std::vector<Ref<TrackPart>>& out, int32_t section,
                                          int32_t dx) const {
    const TrackInfo* info = FindTrack(track);
    if (info == nullptr || section < 0 || section >= kSectionCount) {
        return;
    }
    const SectionInfo& own = Section(track.section);
    const SectionInfo& other = Section(section);
    for (size_t j = 0; j < other.trackParts.size(); ++j) {
        const auto part = static_cast<int32_t>(j);
        const bool ownPart = section == track.section &&
                             std::find(info->curveIds.begin(), info->curveIds.end(), part) != info->curveIds.end();
        if (ownPart || other.IsTrackPartBought(part)) {
            continue;
        }
        const TrackPart& candidate = *other.trackParts[j];
        for (const int32_t k : info->curveIds) {
            const std::vector<TrackPart::CirclePoint>& circles = own.trackParts[static_cast<size_t>(k)]->circlePoints;
            const bool near = std::any_of(circles.begin(), circles.end(), [&](const TrackPart::CirclePoint& c) {
                return candidate.IsNearPoint(c.x - dx, c.y, c.radius);
            });
            if (near) {
                out.push_back(other.trackParts[j]);
            }
        }
    }
}

bool SectionList::AllTracksBought() const {
    return std::all_of(sections_.begin(), sections_.end(), [](const Ref<SectionInfo>& section) {
        return std::all_of(section->tracks.begin(), section->tracks.end(),
                           [](const Ref<TrackInfo>& track) { return track->bought; });
    });
}

void SectionList::ResetProgress() {
    for (const Ref<SectionInfo>& section : sections_) {
        section->ResetProgress();
    }
}

void SectionList::WriteProgress(Property* vector) const {
    PropertyVector& target = Property::VectorOf(vector);
    for (const Ref<SectionInfo>& section : sections_) {
        section->WriteProgress(target.Add(new PropertyNode("", "PlayerSectionData")));
    }
}

void SectionList::ReadProgress(const Property* vector) {
    for (int i = 0; i < kSectionCount; ++i) {
        const Property* entry = Property::At(vector, i);
        sections_[static_cast<size_t>(i)]->ReadProgress(entry != nullptr ? entry : &Property::DummyNode());
    }
}

int SectionList::TrackLengthClass(int section, int track) const {
    const TrackInfo* info = FindTrack({track, section});
    return info != nullptr ? info->lengthClass : 0;
}
