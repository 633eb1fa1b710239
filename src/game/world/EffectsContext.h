#pragma once

#include <cstdint>
#include <string>

#include "engine/foundation/Ref.h"

class GameNode;
class Object;
class Sprite;

// What the game's one-shot effects need from the game scene that shows them:
// the layer they fly in, the last word's score, the quality setting, the
// coin counter with its count of coins in flight, the word queue that the
// level-end banner covers and the next step of a level's end. The game scene
// installs its answers; without them there is no effect layer, so effects
// that need one make nothing.
class EffectsContext {
public:
    // The game mode's score of the last accepted word.
    struct WordScore {
        int32_t points = 0;
        int32_t bonus = 0;
        int32_t multiplier = 1;
        int32_t letters = 0;
    };

    virtual ~EffectsContext() = default;

    virtual GameNode* EffectLayer() const { return nullptr; }
    virtual WordScore LastWordScore() const { return {}; }
    // The "highquality" setting.
    virtual bool HighQuality() const { return true; }
    virtual Sprite* CoinCounter() const { return nullptr; }
    virtual Sprite* WordQueue() const { return nullptr; }
    // The level end goes on once the win or lose banner has slid in.
    virtual void ContinueLevelEnd() {}
    // Shows the player's coins on the counter again.
    virtual void RefreshCoinCounter() {}
    // A loaded resource (picture, font) of a section; null when missing.
    virtual Ref<Object> FindResource(const std::string& name, const std::string& section) const;

    // The worth of the coins on their way to the counter.
    int32_t CoinsInFlight() const { return coinsInFlight_; }
    void AddCoinsInFlight(int32_t value) { coinsInFlight_ += value; }
    void ResetCoinsInFlight() { coinsInFlight_ = 0; }
    // A coin reached the counter: its worth leaves the flight count while
    // there is any, then the counter shows the new figure.
    void CoinArrived(int32_t value);

    // The installed context, or the neutral one above.
    static EffectsContext& Current();
    // Null uninstalls; the caller keeps the context alive while installed.
    static void Install(EffectsContext* context);

private:
    int32_t coinsInFlight_ = 0;
};
