#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/foundation/PlayerProfile.h"
#include "game/progress/PlayerStats.h"

// One named player profile. The summary (name, rank, track share, trophies)
// goes into the player list file; the rest of the progress into the
// player's own file. The game reads and changes the fields directly.
class KR2Player : public PlayerProfile {
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

    // A new profile with every field at its initial value.
    explicit KR2Player(std::string name);
    // Builds a profile from its list-file summary.
    static KR2Player* FromXml(const Property* node);

    // Puts every field back to its initial value.
    void Reset();

    void Write(Property* node) const override;
    void WriteProgress(Property* node) const override;
    void ReadProgress(const Property* node) override;

    // Adventure levels won, over every game type.
    int32_t GetTotalPlayCount() const;

    std::array<float, kGameTypeCount> typechance{};
    bool classicClicked = false;
    bool mixedAnimationSeen = false;
    std::array<bool, kClassicGameTypeCount> classicGameTypeClicked{};
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
};
