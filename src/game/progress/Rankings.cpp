#include "game/progress/Rankings.h"

#include <algorithm>
#include <iterator>

#include "engine/foundation/Defines.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/PropertyNode.h"
#include "engine/foundation/PropertyValue.h"
#include "game/words/TicketConstants.h"

namespace rankings {

namespace {

constexpr const char* kRewardNames[kRewardCount] = {
    "people_carriage_2", "train_boost_1",     "people_carriage_3", "gamemode_replace", "train_boost_2",
    "people_carriage_4", "train_boost_3",     "gamemode_anagrams", "people_carriage_5", "gamemode_classic7",
    "gamemode_slots",    "gamemode_save",     "gamemode_secret",   "gamemode_joker",
};

// Reward names and text ids of the ladder are short words; a longer one is
// damage, read as no name rather than converted on every look-up.
constexpr size_t kLongestName = 64;

std::string NameAt(int32_t rank, const char* key) {
    const Property* value = Property::Child(Entry(rank), key);
    return Property::ValueOf(value).Text().size() <= kLongestName ? Property::AsString(value) : std::string();
}

std::wstring Text(const std::string& id) {
    const Defines* defines = Defines::Instance();
    return defines != nullptr ? defines->GetText(id) : std::wstring();
}

}  // namespace

const Property* GetRankings() {
    return ticket_constants::List("RANKINGS");
}

const Property* Entry(int32_t rank) {
    const Property* entry = Property::At(GetRankings(), std::min(rank, kTopRank));
    return entry != nullptr ? entry : &Property::DummyNode();
}

int32_t Score(int32_t rank) {
    return Property::AsInt(Property::Child(Entry(rank), "score"));
}

int32_t RankOfScore(int64_t score) {
    for (int32_t rank = kTopRank; rank > 0; --rank) {
        if (score >= Score(rank)) {
            return rank;
        }
    }
    return 0;
}

std::wstring GetRankName(int32_t rank) {
    return Text("RANK_NAME" + std::to_string(rank));
}

int32_t GetRankReward(int32_t rank) {
    return RewardIndex(NameAt(rank, "reward"));
}

std::wstring GetRankText(int32_t rank) {
    return Text(NameAt(rank, "text"));
}

int32_t RewardIndex(const std::string& name) {
    const auto* found = std::find(std::begin(kRewardNames), std::end(kRewardNames), name);
    return found == std::end(kRewardNames) ? kNoReward : static_cast<int32_t>(found - std::begin(kRewardNames));
}

}  // namespace rankings
