#pragma once

#include <cstdint>
#include <string>

class Property;

// The rank ladder of the constant list "RANKINGS": per rank the total score
// it needs ("score"), the reward it brings ("reward") and the text that
// announces the reward ("text", a text id). Rank names are the texts
// "RANK_NAME0" to "RANK_NAME14".
namespace rankings {

constexpr int32_t kRankCount = 15;
constexpr int32_t kTopRank = kRankCount - 1;
constexpr int32_t kRewardCount = 14;

enum Reward : int32_t {
    kNoReward = -1,
    kPeopleCarriage2 = 0,
    kTrainBoost1,
    kPeopleCarriage3,
    kGameModeReplace,
    kTrainBoost2,
    kPeopleCarriage4,
    kTrainBoost3,
    kGameModeAnagrams,
    kPeopleCarriage5,
    kGameModeClassic7,
    kGameModeSlots,
    kGameModeSave,
    kGameModeSecret,
    kGameModeJoker,
};

// The list; never null.
const Property* GetRankings();
// The entry of a rank, capped at the top rank; an empty node when missing.
const Property* Entry(int32_t rank);
// The score a rank needs.
int32_t Score(int32_t rank);
// The highest rank whose score `score` reaches; 0 when it reaches none.
int32_t RankOfScore(int64_t score);
std::wstring GetRankName(int32_t rank);
// The reward index of the rank's entry, kNoReward when it names none.
int32_t GetRankReward(int32_t rank);
std::wstring GetRankText(int32_t rank);
// The index of a reward name, kNoReward when it is none.
int32_t RewardIndex(const std::string& name);

}  // namespace rankings
