#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/foundation/PlayerProfile.h"
#include "engine/foundation/Ref.h"
#include "game/progress/PlayerStats.h"
#include "game/words/TicketHooks.h"
#include "game/words/TicketInfo.h"
#include "game/world/MapRefs.h"

class LevelStats;

// One named player profile. The summary (name, rank, track share, trophies)
// goes into the player list file; the rest of the progress, the map's
// included, into the player's own file. The game reads and changes the
// fields directly. It also tells ticket generation how many games the
// player has played.
class KR2Player : public PlayerProfile, public TicketPlayerHook {
    ENGINE_CLASS(KR2Player, PlayerProfile)

public:
    static constexpr int kGameTypeCount = 8;
    static constexpr int kClassicGameTypeCount = 9;
    static constexpr int kHintCount = 45;
    static constexpr int kTrophyCount = 23;
    // Trophy states.
    static constexpr int32_t kTrophyNotWon = 0;
    static constexpr int32_t kTrophyPending = 1;  // won, its award not shown yet
    static constexpr int32_t kTrophyShown = 2;
    // The places of the largest carriage a rank reward gives ("carsize").
    static constexpr int32_t kLargestCarriage = 5;

    // A new profile with every field at its initial value.
    explicit KR2Player(std::string name);
    // Builds a profile from its list-file summary.
    static KR2Player* FromXml(const Property* node);

    // Puts every field back to its initial value; the offered tickets stay.
    void Reset();
    // Forgets the map progress and every ticket; coins, rank, statistics
    // and trophies stay.
    void ResetProgress() override;
    // Switches the hints back on, except those that only make sense once.
    void ResetHintFlags();

    void Write(Property* node) const override;
    void WriteProgress(Property* node) const override;
    void ReadProgress(const Property* node) override;

    // Adventure levels won, over every game type.
    int32_t GetTotalPlayCount() const;
    int GamesPlayed() const override { return GetTotalPlayCount(); }

    // Ranks and rewards. The rank shown is always the one the score earns,
    // and the points are those still missing to the rank after it: never
    // negative, 0 at the top rank.
    int32_t ComputeRankIndex() const;
    int32_t PointsToNextRank() const;
    // The same two figures as they stood before the level just booked, which
    // brought `gained` points.
    int32_t RankBeforeLevel(int32_t gained) const;
    int32_t PointsMissingForRank(int32_t gained) const;
    // Takes the rank the score earns and that rank's reward.
    void UpdateRank();
    bool HasRankReward(int32_t reward) const;
    bool IsGameTypeUnlocked(int32_t gameType) const;
    // The game types 0..7 unlocked, in type order.
    std::vector<int32_t> UnlockedGameTypes() const;

    // Books a finished level of the current ticket; `kind` is how well a won
    // level went (0..2), -1 for a lost one.
    void RecordLevelResult(int32_t kind, bool won, const LevelStats& level);
    // The city at the other end of the current ticket's track; the player's
    // own position when there is no such track.
    CityRef GetDestination() const;
    // The rating of a ticket of a game type at position x (0..1) of the offer.
    float ComputeMissionRating(float x, int32_t gameType) const;
    // cp from the bought tracks of the map.
    void UpdateTrackProgress();

    std::array<float, kGameTypeCount> typechance{};
    bool classicClicked = false;
    bool mixedAnimationSeen = false;
    std::array<bool, kClassicGameTypeCount> classicGameTypeClicked{};
    std::vector<Ref<TicketInfo>> tickets;  // offered on the map
    Ref<TicketInfo> currentTicket;
    Ref<TicketInfo> classicTicket;
    int32_t curcity = 0;
    int32_t cursection = 0;
    int32_t boostidx = 0;
    int32_t oldboostidx = 0;
    int32_t coins = 0;
    int32_t carsize = 0;
    bool fakepass = false;
    float cp = 0.0f;
    bool mapFlag = false;
    int32_t ranking = 0;
    bool rankChanged = false;
    int32_t lastPlaytime = 0;
    bool lastWon = false;
    int32_t lastScore = 0;
    int32_t lastResult = -1;
    int32_t coinsBefore = 0;
    int32_t prevclassic = 0;
    bool showhints = true;
    std::array<bool, kHintCount> hints{};  // true: not shown yet
    std::array<int32_t, kTrophyCount> trophies{};
    PlayerStats stats;

private:
    explicit KR2Player(const Property* node);

    void ApplyReward(int32_t reward);
    void BookWonAdventure(int32_t kind, const LevelStats& level);
};
