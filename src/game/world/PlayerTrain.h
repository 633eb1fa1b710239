#pragma once

#include <cstdint>

#include "game/world/Train.h"

// The player's train: every accepted word becomes track units, the units a
// target in pixels, and each frame the train drives toward it and stops on
// it. Boost, letter multipliers and turbo turns add to a word's worth.
class PlayerTrain : public Train {
    ENGINE_CLASS(PlayerTrain, Train)

public:
    // With a saved node, the train keys and "realx", "speed", "turbo",
    // "boost" and "bonus"; then the current player's train model.
    explicit PlayerTrain(Property* saved = nullptr);

    void AddWord(const RaceWord& word) override;
    void Reset() override;
    void Save(PropertyNode& node) const override;
    void Update(int32_t elapsedMs) override;

    // Track units a word earns now.
    int32_t GetWordDistance(const RaceWord& word) const;
    // Boost meter sections whose coals the boost time covers.
    int32_t GetFullBoostSections() const;
    // The extra share of a word's units that the boost gives, in percent.
    int32_t GetBoostPercentage() const;

    float GetSpeed() const { return speed_; }
    float GetMaximumSpeed() const { return maximumSpeed_; }
    int32_t GetTurboTurns() const { return turboTurns_; }
    int32_t GetBoostTime() const { return boostTime_; }
    bool GetBonus() const { return bonus_; }
    void SetBonus(bool bonus) { bonus_ = bonus; }
    bool WasTurboUsed() const { return turboUsed_; }
    int32_t GetTurboCoalsUsed() const { return turboCoalsUsed_; }

private:
    // On map tickets with a carriage size, hitches the carriage the model
    // places ("cx", "cy").
    void HitchCarriage(Property* model);
    void CheckTurboCoal(const RaceWord& word);
    // One drive step toward the earned distance.
    void Move(int32_t elapsedMs);

    float speed_ = 0.0f;
    float maximumSpeed_ = 0.0f;
    float acceleration_ = 0.0f;
    float braking_ = 0.0f;
    int32_t turboTurns_ = 0;
    int32_t boostTime_ = 0;
    bool bonus_ = false;
    bool turboUsed_ = false;
    int32_t turboCoalsUsed_ = 0;
};
