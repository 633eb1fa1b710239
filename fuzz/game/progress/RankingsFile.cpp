// The rank ladder file over the game's other constants, read as the players'
// ranks, rewards and unlocked game types read it.
#include <climits>
#include <cstddef>
#include <cstdint>

#include "engine/foundation/PropertyFile.h"
#include "game/progress/KR2Player.h"
#include "game/progress/Rankings.h"
#include "support/FuzzConstants.h"

namespace {

const fuzz_environment::ConstantsOver& Constants() {
    static const fuzz_environment::ConstantsOver constants("media/properties/rankings.xml");
    return constants;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    Constants();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Ref<PropertyFile> file = new PropertyFile();
    if (!file->LoadFromMemory(reinterpret_cast<const char*>(data), size, "fuzz")) {
        return 0;
    }
    Constants().Define(*file);
    for (int32_t rank = -1; rank <= rankings::kRankCount; ++rank) {
        rankings::Score(rank);
        rankings::GetRankName(rank);
        rankings::GetRankText(rank);
        rankings::RewardIndex(Property::AsString(Property::Child(rankings::Entry(rank), "reward")));
    }
    // Players of every rank, of none and beyond the top, gaining points.
    for (const int32_t score : {INT_MIN, -1, 0, 1, 1500, 50000, 190000, INT_MAX}) {
        KR2Player player("fuzz");
        player.stats.score = score;
        for (const int32_t gained : {0, 1000, INT_MAX}) {
            player.PointsMissingForRank(gained);
        }
        player.PointsToNextRank();
        player.UpdateRank();
        player.UnlockedGameTypes();
        for (int32_t reward = -1; reward <= rankings::kRewardCount; ++reward) {
            player.HasRankReward(reward);
        }
    }
    Defines::ReleaseInstance();
    return 0;
}
