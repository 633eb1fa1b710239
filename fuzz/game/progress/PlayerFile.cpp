// A player as the game keeps it: the list entry's summary (statistics, rank,
// trophies) under "players", the player file's progress (map, tickets,
// switches) under "player". What is read is written back and read again;
// the second read must write the same as the first.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/foundation/PropertyFile.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyVector.h"
#include "engine/foundation/PropertyXml.h"
#include "game/constants/GameConstants.h"
#include "game/progress/KR2Player.h"
#include "game/world/SectionList.h"
#include "support/FuzzEnvironment.h"

namespace {

// The summary of the list's first entry; an empty node when there is none.
const Property* Summary(const Property* file) {
    const Property* entry = Property::At(Property::Child(Property::Child(file, "players"), "playernames"), 0);
    return entry != nullptr ? entry : &Property::DummyNode();
}

Ref<KR2Player> ReadPlayer(const Property* file) {
    Ref<KR2Player> player = KR2Player::FromXml(Summary(file));
    player->ReadProgress(Property::Child(file, "player"));
    return player;
}

// The player as the list and the player file would hold it.
std::string Written(const KR2Player& player) {
    const Ref<PropertyFile> file = new PropertyFile();
    auto* players = new PropertyNode("players", "Players");
    file->Add(players);
    auto* names = new PropertyVector("playernames");
    players->Add(names);
    auto* entry = new PropertyNode("", "");
    names->Add(entry);
    player.Write(entry);
    auto* progress = new PropertyNode("player", "Player");
    file->Add(progress);
    player.WriteProgress(progress);
    return WritePropertyXml(*file);
}

// What the map and the player scene ask of a player read from a file.
void Consult(const KR2Player& player) {
    player.GetTotalPlayCount();
    player.ComputeRankIndex();
    player.PointsToNextRank();
    player.UnlockedGameTypes();
    player.GetDestination();
    for (int32_t type = 0; type < KR2Player::kGameTypeCount; ++type) {
        player.ComputeMissionRating(0.5f, type);
    }
}

}  // namespace

// The game's constants and a map of two sections, as the game has them
// before it reads its players.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz_environment::EnterScratchFolder();
    fuzz_environment::DefineConstants(fuzz_environment::ConstantFiles());
    XML::Init();
    fuzz_environment::CopyIntoScratch("fuzz/game/world/SectionsFile/two_sections.xml", SectionList::kFileName);
    const fuzz_environment::InScratchFolder inScratch;
    SectionList::Create();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Ref<PropertyFile> file = new PropertyFile();
    if (!file->LoadFromMemory(reinterpret_cast<const char*>(data), size, "fuzz")) {
        return 0;
    }
    const Ref<KR2Player> first = ReadPlayer(file.Get());
    Consult(*first);
    const std::string written = Written(*first);
    const Ref<PropertyFile> again = new PropertyFile();
    if (!again->LoadFromMemory(written.data(), written.size(), "written")) {
        std::abort();
    }
    const Ref<KR2Player> second = ReadPlayer(again.Get());
    if (Written(*second) != written) {
        std::abort();
    }
    return 0;
}
