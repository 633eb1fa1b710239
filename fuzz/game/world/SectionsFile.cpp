// The map file read into the map data, then asked what the map scene and
// ticket generation ask of it; its progress is written and read back.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/PropertyVector.h"
#include "engine/scene/Path.h"
#include "game/world/SectionList.h"
#include "support/FuzzEnvironment.h"

namespace {

void Consult(SectionList& map) {
    map.AllTracksBought();
    for (int32_t s = 0; s < SectionList::kSectionCount; ++s) {
        const SectionInfo& section = map.Section(s);
        for (int32_t city = -1; city <= static_cast<int32_t>(section.cities.size()); ++city) {
            std::vector<TrackRef> tracks;
            map.GetTracksOfCity({city, s}, tracks);
            map.FindCity({city, s});
        }
        for (int32_t t = 0; t < static_cast<int32_t>(section.tracks.size()); ++t) {
            const TrackRef track{t, s};
            map.TrackLengthClass(s, t);
            const TrackInfo* info = map.FindTrack(track);
            const Path& path = info->GetPath();
            PointF point;
            path.GetPointAtDistance(static_cast<float>(path.GetLength() / 2), point);
            for (const CityRef& end : info->ends) {
                map.FindCity(end);
            }
            // The neighbouring sections, as the map draws them beside it.
            for (int32_t other = s - 1; other <= s + 1; ++other) {
                std::vector<Ref<TrackPart>> near;
                map.FindTrackPartsNearTrack(track, near, other, (other - s) * 800);
            }
        }
    }
    const Ref<PropertyVector> progress = new PropertyVector("sections");
    map.WriteProgress(progress.Get());
    map.ReadProgress(progress.Get());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz_environment::EnterScratchFolder();
    fuzz_environment::DefineConstants(fuzz_environment::ConstantFiles());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Ref<PropertyFile> file = new PropertyFile();
    if (!file->LoadFromMemory(reinterpret_cast<const char*>(data), size, "fuzz")) {
        return 0;
    }
    const Ref<SectionList> map = new SectionList();
    map->Build(Property::Child(file.Get(), "sections"));
    Consult(*map);
    return 0;
}
