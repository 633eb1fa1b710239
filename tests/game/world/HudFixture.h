#pragma once

#include <map>
#include <string>
#include <vector>

#include "RaceFixture.h"
#include "engine/foundation/Ref.h"
#include "engine/scene/Sprite.h"
#include "game/world/EffectsContext.h"
#include "game/world/GameSceneHooks.h"

class PlayerTrain;

// The constants, definitions and pictures the furnace, the boost meter, the
// carriage and the flagpole read: furnace times of 600 ms (wheel), 250 ms
// (door), 1500 ms (glow), 300 ms (icons) and 400 ms (blink); coals thrown
// 60 ms apart taking 600 ms; passengers 14 px apart leaving 10 px behind the
// carriage and paying 2 coins each; 15, 22 and 30 coins by performance;
// coins thrown for 100 ms and pulled at 3000 px/s^2 against 600 px/s^2.
// The dialog table adds the carriage (windows 10 px wide at x 2, a door of
// 3 frames, the passengers at (4, -22)), its wheel of 4 frames and a coin.
class HudConstants : public RaceConstants {
public:
    HudConstants();
    ~HudConstants();
    HudConstants(const HudConstants&) = delete;
    HudConstants& operator=(const HudConstants&) = delete;

private:
    TempFolder folder_;
};

// A game scene with fixed answers that records what is asked of it, for the
// HUD machinery and for the effects it throws; installed while it lives.
// Named nodes are whatever the test puts into `nodes`; the effect layer and
// a 40 x 20 coin counter at (700, 10) stand at the screen's origin.
class RecordingScene : public GameSceneHooks, public EffectsContext {
public:
    RecordingScene();
    ~RecordingScene() override;
    RecordingScene(const RecordingScene&) = delete;
    RecordingScene& operator=(const RecordingScene&) = delete;

    GameNode* FindSceneNode(const std::string& name) const override;
    PlayerTrain* GetPlayerTrain() const override { return train; }
    int32_t OldBoostIndex() const override { return oldBoostIndex; }
    void SetOldBoostIndex(int32_t index) override { oldBoostIndex = index; }
    bool KeepsOldBoostIndex() const override { return keepsOldBoostIndex; }
    Sprite* GetBoostGlow() const override { return glow.Get(); }
    void ResetAwardCoins() override { ++awardResets; }
    void AddLevelCoins(int32_t coins) override { levelCoins += coins; }
    void CoinAwardFinished() override { ++awardsFinished; }
    void UnloadingFinished() override { ++unloadingsFinished; }

    GameNode* EffectLayer() const override { return effects.Get(); }
    bool HighQuality() const override { return highQuality; }
    Sprite* CoinCounter() const override { return coinDisplay.Get(); }
    void RefreshCoinCounter() override { ++counterRefreshes; }

    // Steps the node and its subtree (own update and modifiers) for `ms`
    // in 10 ms frames, leaving removed nodes out.
    static void Run(GameNode& root, int32_t ms);
    static int Children(const GameNode& node);

    std::map<std::string, Ref<GameNode>> nodes;
    PlayerTrain* train = nullptr;
    bool highQuality = true;
    Ref<GameNode> effects;
    Ref<Sprite> glow;
    Ref<Sprite> coinDisplay;
    int32_t oldBoostIndex = 0;
    bool keepsOldBoostIndex = false;
    int awardResets = 0;
    int32_t levelCoins = 0;
    int counterRefreshes = 0;
    int awardsFinished = 0;
    int unloadingsFinished = 0;
};
