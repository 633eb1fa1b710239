#pragma once

#include <cstdint>
#include <string>

class GameNode;
class PlayerTrain;
class Sprite;

// What the furnace, the boost meter, the carriage and the flagpole ask of
// the game scene that holds them beyond the effects (EffectsContext): its
// named nodes, the player's train and profile flags, its coin counts and
// the steps of a level's end. The game scene installs its answers; without
// them nothing is found and nothing is counted.
class GameSceneHooks {
public:
    virtual ~GameSceneHooks() = default;

    // A node of the game scene's definition, looked up by name; null when
    // the scene holds none.
    virtual GameNode* FindSceneNode(const std::string& /*name*/) const { return nullptr; }
    virtual PlayerTrain* GetPlayerTrain() const { return nullptr; }

    // The player's "oldboostidx" and the flag that keeps it from following
    // "boostidx" after the upgrade show.
    virtual int32_t OldBoostIndex() const { return 0; }
    virtual void SetOldBoostIndex(int32_t /*index*/) {}
    virtual bool KeepsOldBoostIndex() const { return false; }
    // The glow sprite behind the boost meter; null when none.
    virtual Sprite* GetBoostGlow() const { return nullptr; }

    // The coin counter of the award under way (the carriage's passengers).
    virtual void ResetAwardCoins() {}
    // The level's coin count grows by `coins`.
    virtual void AddLevelCoins(int32_t /*coins*/) {}
    // The flag's coin award is over; the level end goes on.
    virtual void CoinAwardFinished() {}
    // The passengers have left the carriage.
    virtual void UnloadingFinished() {}

    // The installed hooks, or the neutral ones above.
    static GameSceneHooks& Current();
    // Null uninstalls; the caller keeps the hooks alive while installed.
    static void Install(GameSceneHooks* hooks);
};
