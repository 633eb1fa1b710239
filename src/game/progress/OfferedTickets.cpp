#include "game/progress/OfferedTickets.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "engine/foundation/Logger.h"
#include "engine/foundation/RandomGenerator.h"
#include "game/progress/KR2Player.h"
#include "game/world/SectionList.h"

namespace {

constexpr float kFixedRating = 0.201f;
constexpr float kWeightScale = 1000.0f;
constexpr int kMaxDrawRounds = 1000;

void Shuffle(std::vector<TrackRef>& candidates, RandomGenerator& random) {
    for (size_t i = candidates.size(); i > 1; --i) {
        std::swap(candidates[i - 1], candidates[random.NextBelow(static_cast<uint32_t>(i))]);
    }
}

bool IsOffered(const KR2Player& player, TrackRef track) {
    return std::any_of(player.tickets.begin(), player.tickets.end(), [track](const Ref<TicketInfo>& ticket) {
        return ticket->Track == track.track && ticket->Section == track.section;
    });
}

// Draws a type by weight floor(chance x 1000); uniform when all weigh 0.
int32_t DrawType(const std::array<float, 8>& chances, const std::vector<int32_t>& unlocked, RandomGenerator& random) {
    int64_t sum = 0;
    std::vector<int64_t> weights;
    for (const int32_t type : unlocked) {
        weights.push_back(static_cast<int64_t>(std::floor(chances[static_cast<size_t>(type)] * kWeightScale)));
        sum += weights.back();
    }
    const uint32_t value = random.Next();
    if (sum <= 0) {
        return unlocked[value % unlocked.size()];
    }
    int64_t rest = static_cast<int64_t>(value % static_cast<uint64_t>(sum));
    for (size_t i = 0; i < unlocked.size(); ++i) {
        rest -= weights[i];
        if (rest <= 0) {
            return unlocked[i];
        }
    }
    return unlocked.back();
}

}  // namespace

void AdjustTypeChances(int32_t gameType, std::array<float, 8>& chances, const std::vector<int32_t>& unlocked) {
    if (unlocked.size() < 2 || gameType < 0 || gameType >= static_cast<int32_t>(chances.size())) {
        return;
    }
    chances[static_cast<size_t>(gameType)] -= 1.0f;
    float smallest = chances[static_cast<size_t>(unlocked.front())];
    for (const int32_t type : unlocked) {
        smallest = std::min(smallest, chances[static_cast<size_t>(type)]);
    }
    for (const int32_t type : unlocked) {
        chances[static_cast<size_t>(type)] -= smallest;
    }
}

void CreateOfferedTickets(KR2Player& player, std::vector<TrackRef> candidates, RandomGenerator& random) {
    const SectionList* map = SectionList::Instance();
    if (map == nullptr) {
        ENGINE_LOG(1, "no map: no tickets offered");
        return;
    }
    int32_t notBought = 0;
    std::erase_if(candidates, [&](TrackRef candidate) {
        if (IsOffered(player, candidate)) {
            return true;
        }
        const TrackInfo* track = map->FindTrack(candidate);
        if (track == nullptr) {
            ENGINE_LOG(1, "no track %d in map section %d to offer", candidate.track, candidate.section);
            return true;
        }
        if (!track->bought) {
            ++notBought;
            return true;
        }
        return false;
    });
    if (candidates.empty()) {
        return;
    }
    Shuffle(candidates, random);

    const std::vector<int32_t> unlocked = player.UnlockedGameTypes();
    std::array<float, 8> chances = player.typechance;
    std::vector<int32_t> chosen;
    if (player.tickets.empty()) {
        // A type never played comes first.
        const auto fresh = std::find_if(unlocked.begin(), unlocked.end(), [&player](int32_t type) {
            return player.stats.playcount[static_cast<size_t>(type)] == 0;
        });
        if (fresh != unlocked.end()) {
            chosen.push_back(*fresh);
            AdjustTypeChances(*fresh, chances, unlocked);
        }
    }
    for (const Ref<TicketInfo>& ticket : player.tickets) {
        AdjustTypeChances(ticket->GameType, chances, unlocked);
    }
    for (int round = 0; chosen.size() < candidates.size() && round < kMaxDrawRounds; ++round) {
        const int32_t type = DrawType(chances, unlocked, random);
        chosen.push_back(type);
        AdjustTypeChances(type, chances, unlocked);
    }
    Shuffle(candidates, random);

    const auto held = static_cast<int32_t>(player.tickets.size());
    const int32_t total = held + static_cast<int32_t>(chosen.size()) + notBought;
    const size_t count = std::min(chosen.size(), candidates.size());
    for (size_t k = 0; k < count; ++k) {
        Ref<TicketInfo> ticket = new TicketInfo;
        ticket->GameType = chosen[k];
        if (player.fakepass) {
            ticket->Rating = kFixedRating;
        } else {
            const double x = total > 1 ? (held + static_cast<double>(k)) / (total - 1.0) : 0.5;
            ticket->Rating = player.ComputeMissionRating(static_cast<float>(x), chosen[k]);
        }
        ticket->Track = candidates[k].track;
        ticket->Section = candidates[k].section;
        const CityRef first = map->FindTrack(candidates[k])->ends[0];
        ticket->City = first == CityRef{player.curcity, player.cursection} ? 0 : 1;
        ticket->Generate();
        player.tickets.push_back(ticket);
    }
}

void CreateOfferedTickets(KR2Player& player, std::vector<TrackRef> candidates) {
    RandomGenerator* random = RandomGenerator::Global();
    if (random == nullptr) {
        ENGINE_LOG(1, "no random generator: no tickets offered");
        return;
    }
    CreateOfferedTickets(player, std::move(candidates), *random);
}
