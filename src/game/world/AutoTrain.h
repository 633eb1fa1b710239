#pragma once

#include <cstdint>

#include "game/world/Train.h"

// The opponent: it runs on the clock, covering the whole race in
// DEFAULT_GAME_TIME milliseconds of racing unless a stop coal halts it.
class AutoTrain : public Train {
    ENGINE_CLASS(AutoTrain, Train)

public:
    static constexpr int32_t kFirstPuffMs = 100;

    // With a saved node, the train keys and "prog" and "out".
    explicit AutoTrain(Property* saved = nullptr);

    void Reset() override;
    void Save(PropertyNode& node) const override;
    void Update(int32_t elapsedMs) override;

    // One step of the clock: progress, or the halt running out.
    void Advance(int32_t elapsedMs);

    int32_t GetOut() const { return out_; }
    // Halts the opponent for that many milliseconds of racing.
    void SetOut(int32_t milliseconds) { out_ = milliseconds; }
    int32_t GetProgress() const { return progress_; }
    int32_t GetSmokeTimer() const { return smokeTimer_; }

private:
    // The chuff volume from the distance to the player's train on screen; 0
    // when off screen.
    int32_t ChuffVolume() const;
    void Puff(int32_t elapsedMs);

    int32_t out_ = 0;
    int32_t progress_ = 0;
    int32_t smokeTimer_ = kFirstPuffMs;
};
