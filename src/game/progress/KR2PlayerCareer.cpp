// The profile's career: ranks and their rewards, the booking of finished
// levels, ticket ratings and the share of the map that is bought.
#include <algorithm>
#include <cstdint>
#include <limits>

#include "engine/foundation/Logger.h"
#include "engine/foundation/Property.h"
#include "engine/media/RotateScaleWalk.h"
#include "game/progress/KR2Player.h"
#include "game/progress/OfferedTickets.h"
#include "game/progress/Rankings.h"
#include "game/words/TicketConstants.h"
#include "game/world/SectionList.h"

namespace {

// Tracks bought from the start; the share counts those bought beyond them.
constexpr int32_t kTracksBoughtAtStart = 13;
constexpr double kRatingPerPassenger = 6.0;
constexpr int32_t kMaxPassengers = 5;
constexpr float kCarriageShare = 0.16666667f;
constexpr float kCarriageMargin = 0.0001f;

// The reward that unlocks each game type 1..7.
constexpr int32_t kGameTypeRewards[] = {rankings::kGameModeClassic7, rankings::kGameModeReplace,
                                        rankings::kGameModeAnagrams, rankings::kGameModeSlots,
                                        rankings::kGameModeSave,     rankings::kGameModeSecret,
                                        rankings::kGameModeJoker};

TrackInfo* FindTrack(int32_t section, int32_t track) {
    SectionList* map = SectionList::Instance();
    return map != nullptr ? map->FindTrack({track, section}) : nullptr;
}

// The points a score still lacks to the rank after the one it earns, all
// read from files or earned: worked out in 64 bits, kept in range.
int32_t PointsToRankAfter(int64_t score) {
    const int32_t rank = rankings::RankOfScore(score);
    if (rank >= rankings::kTopRank) {
        return 0;
    }
    const int64_t points = int64_t{rankings::Score(rank + 1)} - score;
    return static_cast<int32_t>(std::clamp<int64_t>(points, 0, std::numeric_limits<int32_t>::max()));
}

}  // namespace

int32_t KR2Player::ComputeRankIndex() const {
    return rankings::RankOfScore(stats.score);
}

int32_t KR2Player::PointsToNextRank() const {
    return PointsToRankAfter(stats.score);
}

int32_t KR2Player::RankBeforeLevel(int32_t gained) const {
    return rankings::RankOfScore(int64_t{stats.score} - gained);
}

int32_t KR2Player::PointsMissingForRank(int32_t gained) const {
    return PointsToRankAfter(int64_t{stats.score} - gained);
}

void KR2Player::UpdateRank() {
    const int32_t rank = ComputeRankIndex();
    rankChanged = rank != ranking;
    if (rankChanged) {
        ranking = rank;
        // Only the rank reached rewards; ranks passed on the way do not.
        ApplyReward(rankings::GetRankReward(rank));
    }
}

void KR2Player::ApplyReward(int32_t reward) {
    const auto boost = [this](int32_t level) {
        oldboostidx = boostidx;
        boostidx = level;
    };
    switch (reward) {
        case rankings::kPeopleCarriage2:
            carsize = 2;
            fakepass = true;
            break;
        case rankings::kTrainBoost1: boost(1); break;
        case rankings::kPeopleCarriage3: carsize = 3; break;
        case rankings::kTrainBoost2: boost(2); break;
        case rankings::kPeopleCarriage4: carsize = 4; break;
        case rankings::kTrainBoost3: boost(3); break;
        case rankings::kPeopleCarriage5: carsize = kLargestCarriage; break;
        default: break;  // game types unlock through IsGameTypeUnlocked
    }
}

bool KR2Player::HasRankReward(int32_t reward) const {
    for (int32_t rank = 0; rank <= ranking; ++rank) {
        if (rankings::GetRankReward(rank) == reward) {
            return true;
        }
    }
    return false;
}

bool KR2Player::IsGameTypeUnlocked(int32_t gameType) const {
    if (gameType == 0) {
        return true;
    }
    if (gameType < 1 || gameType >= kGameTypeCount) {
        return false;
    }
    return HasRankReward(kGameTypeRewards[gameType - 1]);
}

std::vector<int32_t> KR2Player::UnlockedGameTypes() const {
    std::vector<int32_t> unlocked;
    for (int32_t type = 0; type < kGameTypeCount; ++type) {
        if (IsGameTypeUnlocked(type)) {
            unlocked.push_back(type);
        }
    }
    return unlocked;
}

void KR2Player::RecordLevelResult(int32_t kind, bool won, const LevelStats& level) {
    if (currentTicket.Get() == nullptr) {
        ENGINE_LOG(1, "a level result without a current ticket is not booked");
        return;
    }
    lastWon = won;
    lastResult = kind;
    lastScore = level.score;
    lastPlaytime = level.playtime;
    currentTicket->Finished = true;
    if (currentTicket->GameMode != TicketInfo::kMapTicket) {
        return;
    }
    if (won) {
        BookWonAdventure(kind, level);
    } else {
        ++stats.missionsLost;
    }
    tickets.clear();
}

void KR2Player::BookWonAdventure(int32_t kind, const LevelStats& level) {
    const TicketInfo& ticket = *currentTicket;
    const CityRef destination = GetDestination();
    curcity = destination.city;
    cursection = destination.section;
    if (TrackInfo* track = FindTrack(ticket.Section, ticket.Track)) {
        ++track->games;
    }
    coinsBefore = coins;
    const int32_t passengers = std::min(TruncateToInt32(ticket.Rating * kRatingPerPassenger), kMaxPassengers);
    const int32_t performance =
        kind >= 0 ? ticket_constants::IntAt(ticket_constants::List("COINS_PER_PERFORMANCE"), kind) : 0;
    coins = SaturatingAdd(coins, performance + passengers * ticket_constants::Int("COINS_PER_PASSENGER"));
    stats.Add(level);
    if (ticket.GameType >= 0 && ticket.GameType < kGameTypeCount) {
        ++stats.playcount[static_cast<size_t>(ticket.GameType)];
    }
    if (kind >= 0 && kind < PlayerStats::kResultCount) {
        ++stats.missionsWon[static_cast<size_t>(kind)];
    }
    UpdateRank();
    AdjustTypeChances(ticket.GameType, typechance, UnlockedGameTypes());
}

CityRef KR2Player::GetDestination() const {
    const CityRef here{curcity, cursection};
    const TrackInfo* track =
        currentTicket.Get() != nullptr ? FindTrack(currentTicket->Section, currentTicket->Track) : nullptr;
    if (track == nullptr) {
        ENGINE_LOG(1, "the current ticket names no track of the map; the train stays");
        return here;
    }
    return track->ends[0] == here ? track->ends[1] : track->ends[0];
}

float KR2Player::ComputeMissionRating(float x, int32_t gameType) const {
    const float carriage = static_cast<float>(carsize + 1) * kCarriageShare - kCarriageMargin;
    const float share = (1.0f - (1.0f - x) * ticket_constants::Float("RATING_MAX_CP_DEVIATION")) * cp;
    float rating = carriage < share ? carriage : share;
    if (gameType < 0 || gameType >= kGameTypeCount) {
        return rating;
    }
    const Property* multipliers = ticket_constants::List("MULTIPLY_MISSION_CP_BY");
    const int32_t played = stats.playcount[static_cast<size_t>(gameType)];
    if (Property::At(multipliers, played) != nullptr) {
        rating *= ticket_constants::FloatAt(multipliers, played);
    }
    return rating;
}

void KR2Player::UpdateTrackProgress() {
    const SectionList* map = SectionList::Instance();
    if (map == nullptr) {
        return;
    }
    int32_t bought = 0;
    for (int32_t s = 0; s < SectionList::kSectionCount; ++s) {
        for (const Ref<TrackInfo>& track : map->Section(s).tracks) {
            bought += track->bought ? 1 : 0;
        }
    }
    const int32_t total = map->TrackCount();
    if (total <= kTracksBoughtAtStart) {
        ENGINE_LOG(1, "the map has %d tracks, no more than those bought at the start: no share bought", total);
        cp = 0.0f;
        return;
    }
    cp = static_cast<float>(bought - kTracksBoughtAtStart) / static_cast<float>(total - kTracksBoughtAtStart);
}
