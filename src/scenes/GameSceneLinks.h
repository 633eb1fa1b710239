#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "game/rules/LevelHooks.h"
#include "game/words/TicketHooks.h"
#include "game/words/WordBarScene.h"
#include "game/world/EffectsContext.h"
#include "game/world/HudSceneHooks.h"
#include "game/world/RaceContext.h"

class GameScene;
class GameSceneHints;

// The game scene's answers to what the level, the word bar, the race strip,
// the effects and the HUD parts ask of it. Installed for the scene's life.
class GameSceneLinks : public LevelScene,
                       public WordBarScene,
                       public RaceContext,
                       public EffectsContext,
                       public HudSceneHooks,
                       public TicketSceneHook,
                       public TicketPlayerHook {
public:
    explicit GameSceneLinks(GameScene& scene);
    ~GameSceneLinks();
    GameSceneLinks(const GameSceneLinks&) = delete;
    GameSceneLinks& operator=(const GameSceneLinks&) = delete;

    void Install();
    void Uninstall();
    // Where the word bar's coals fly when a word is accepted.
    void SetFurnace(const FurnacePosition* furnace);

    // LevelScene
    KR2Player& Player() override;
    ::WordQueue& Queue() override;
    const WordList* Words() const override;
    LevelStats& SceneStats() override;
    ScoreTable* HighScoreTable(const std::string& name) override;
    void PlaySound(const std::string& id) override;
    void SetScoreTarget(int32_t score) override;
    void SetMiniTrainPosition(int32_t index, float progress) override;
    void SetGauges(float /*speed*/, float /*boost*/) override {}
    void AwardArrivalCoins() override;
    void ShowBonusText() override;
    void FeedFurnace(WordSprite& word) override;
    void SetContinue(bool next) override;
    void OnLevelEnd() override;
    void NoteInput() override {}

    // WordBarScene
    int GameType() const override;
    Rect CoalArea() const override;
    GameNode* EffectLayer() const override;
    ::WordQueue* Queue() const override;
    void SetWrongCharTime(int32_t ms) override;
    void ShowTimer(Modifier* flight, int32_t flightMs) override;
    void SpawnBonusSpark(GameNode* parent, int32_t x, int32_t y, int32_t delayMs) override;
    void SpawnCoalSparks(GameNode* parent, int32_t x, int32_t y) override;
    void SpawnCoin(Modifier* waitFor, int32_t x, int32_t y, int32_t value, bool strong) override;
    void ShowFloatingScore(GameNode* node) override;
    void ThrowCoalScoreStars(GameNode* node) override;
    void PlaySound(const std::string& id, const std::string& section) override;

    // RaceContext
    int32_t GameState() const override;
    bool IsPaused() const override;
    const TicketInfo* CurrentTicket() const override;
    int32_t BoostIndex() const override;
    int32_t CarriageSize() const override;
    int32_t CurrentSection() const override;
    int32_t BoostCapacity() const override;
    void SpawnTrainSmoke(Sprite& body, const std::wstring& text, int32_t delay, int32_t x, int32_t y) override;
    void PlaySound(const std::string& name, int32_t volume, int32_t pan) const override;

    // EffectsContext
    WordScore LastWordScore() const override;
    bool HighQuality() const override;
    Sprite* CoinCounter() const override;
    Sprite* WordQueue() const override;
    void RefreshCoinCounter() override;
    void ContinueLevelEnd() override;

    // HudSceneHooks
    GameNode* FindSceneNode(const std::string& name) const override;
    PlayerTrain* GetPlayerTrain() const override;
    int32_t OldBoostIndex() const override;
    void SetOldBoostIndex(int32_t index) override;
    Sprite* GetBoostGlow() const override;
    // The award's coins join the coins in flight, so the counter holds them
    // back until each one arrives.
    void ResetAwardCoins() override;
    void AddLevelCoins(int32_t coins) override;
    void CoinAwardFinished() override;
    void UnloadingFinished() override;

    // TicketSceneHook
    const WordList* WaitForWordList() override;
    bool IsInWordQueue(const std::string& text) const override;

    // TicketPlayerHook
    int GamesPlayed() const override;

private:
    GameScene& scene_;
    // The hints and trophy dialog the level reaches.
    std::unique_ptr<GameSceneHints> hints_;
};
