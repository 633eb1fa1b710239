#pragma once

#include <cstdint>

#include "engine/foundation/Ref.h"
#include "game/world/LSO.h"

// The pole at the end of the race strip whose flag is raised when a level
// ends; on map tickets the coins of the award circle the flag and fly to
// the coin display.
class Flagpole : public LSO {
    ENGINE_CLASS(Flagpole, LSO)

public:
    static constexpr int32_t kFlagFrames = 14;
    static constexpr int32_t kFlagFrameMs = 60;

    // The pole stands on its bottom-left corner at (x truncated, y).
    Flagpole(float x, int32_t y);
    ~Flagpole() override;

    // The flag of performance `n` ("FLAG<n>"); a negative n shows flag 2.
    void SetFlag(int32_t n);
    Sprite* GetFlag() const { return flag_.Get(); }

private:
    Ref<Sprite> flag_;
};

// Coins by performance index; 0 for a negative index.
int32_t GetCoinsForPerformance(int32_t n);
// Raises the flag of performance `n` and, on a map ticket, pays the
// passengers' coins and sends the performance coins round the flag to the
// coin display; the game scene hears when the award is over.
void ShowCoinAward(Flagpole& pole, int32_t n);
// How long coin `index` of `count` waits after the flag is up.
int32_t CoinAwardDelay(int32_t index, int32_t count);
