// The anchor-points file read by the map scene's reader into the pieces and
// station signs of a map of two sections.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "engine/foundation/PropertyFile.h"
#include "engine/scene/GameNode.h"
#include "game/world/SectionList.h"
#include "scenes/MapAnchorPoints.h"
#include "support/FuzzEnvironment.h"

namespace {

Ref<SectionList>& Map() {
    static Ref<SectionList> map;
    return map;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz_environment::EnterScratchFolder();
    std::vector<std::string> constants = fuzz_environment::ConstantFiles();
    constants.push_back(fuzz_environment::SourceFile("fuzz/support/map_assets.xml"));
    fuzz_environment::DefineConstants(constants);
    const Ref<PropertyFile> file =
        new PropertyFile({fuzz_environment::SourceFile("fuzz/game/world/SectionsFile/two_sections.xml")});
    if (!file->Load()) {
        std::abort();
    }
    Map() = new SectionList();
    Map()->Build(Property::Child(file.Get(), "sections"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const fuzz_environment::InScratchFolder inScratch;
    std::filesystem::create_directories("media/properties");
    std::ofstream(map_assets::kAnchorPointsFile, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    std::array<Ref<GameNode>, SectionList::kSectionCount> nodes;
    std::array<GameNode*, SectionList::kSectionCount> sectionNodes{};
    for (size_t i = 0; i < nodes.size(); ++i) {
        nodes[i] = new GameNode();
        sectionNodes[i] = nodes[i].Get();
    }
    map_assets::LoadAnchorPoints(*Map(), sectionNodes);
    for (int32_t s = 0; s < SectionList::kSectionCount; ++s) {
        map_assets::ClearSectionAssets(Map()->Section(s));
    }
    return 0;
}
