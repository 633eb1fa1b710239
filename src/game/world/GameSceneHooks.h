#pragma once

#include <cstdint>
#include <string>

class GameNode;
class Modifier;
class PlayerTrain;
class Sprite;
class Surface;

// What the furnace, the boost meter, the carriage and the flagpole ask of
// the game scene that holds them: its named nodes and layers, the player's
// train and profile flags, its coin counters and the effects it throws. The
// game scene installs its answers; without them nothing is found, the
// quality setting is high, no effect is thrown and no coin is counted.
class GameSceneHooks {
public:
    virtual ~GameSceneHooks() = default;

    // A node of the game scene's definition, looked up by name; null when
    // the scene holds none.
    virtual GameNode* FindSceneNode(const std::string& /*name*/) const { return nullptr; }
    virtual PlayerTrain* GetPlayerTrain() const { return nullptr; }
    // The "highquality" setting.
    virtual bool IsHighQuality() const { return true; }
    // The layer that takes effects (stars, coins); null when none.
    virtual GameNode* GetEffectLayer() const { return nullptr; }
    // Throws `count` score stars at (x, y) of `parent`; null images mean the
    // default star and glow.
    virtual void SpawnScoreStars(GameNode& /*parent*/, int32_t /*x*/, int32_t /*y*/, int32_t /*count*/,
                                 int32_t /*spread*/, int32_t /*slot*/, Surface* /*star*/, Surface* /*glow*/) {}
    // Throws a coin of `value` at (x, y) of the effect layer once `waitFor`
    // (may be null) has finished and `delayMs` has passed; returns the coin,
    // or null when none was made.
    virtual GameNode* SpawnCoin(Modifier* /*waitFor*/, int32_t /*x*/, int32_t /*y*/, int32_t /*value*/,
                                bool /*strong*/, int32_t /*delayMs*/) {
        return nullptr;
    }

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
    // The node coins fly to, and the node flying coins are added to.
    virtual GameNode* GetCoinDisplay() const { return nullptr; }
    virtual GameNode* GetCoinLayer() const { return nullptr; }
    // A coin of the flag's award has reached the coin display.
    virtual void CoinArrived(GameNode& /*coin*/) {}
    // The flag's coin award is over; the level end goes on.
    virtual void CoinAwardFinished() {}
    // The passengers have left the carriage.
    virtual void UnloadingFinished() {}

    // The installed hooks, or the neutral ones above.
    static GameSceneHooks& Current();
    // Null uninstalls; the caller keeps the hooks alive while installed.
    static void Install(GameSceneHooks* hooks);
};
