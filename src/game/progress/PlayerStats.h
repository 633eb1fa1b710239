#pragma once

#include <array>
#include <cstdint>

#include "game/progress/LevelStats.h"

// A player's totals: the level counters summed over the won adventure
// levels, plus what only the totals count. missionsLost lives in memory
// only; it is neither written nor read.
class PlayerStats : public LevelStats {
public:
    static constexpr int kResultCount = 3;
    static constexpr int kGameTypeCount = 8;

    void Read(const Property* property) override;
    void Write(Property* property) const override;
    // Zeroes every counter but the score.
    void Reset() override;

    int32_t moneySpent = 0;
    int32_t missionsLost = 0;
    std::array<int32_t, kResultCount> missionsWon{};   // by the result of the win
    std::array<int32_t, kGameTypeCount> playcount{};   // adventure levels won by game type

protected:
    // The totals add the level's score.
    void MergeScore(int32_t value) override;
};
