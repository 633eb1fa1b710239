#pragma once

#include <cstdint>

#include "game/dialogs/GameHints.h"
#include "game/dialogs/HintTriggers.h"
#include "game/dialogs/TrophyAwardedDialog.h"

class GameMode;
class GameScene;
class WordBar;

// The race hints' view of the running level on the game scene, and the real
// bubbles and trophy dialog the level reaches through its hooks.
class GameSceneHints : public RaceHintView {
public:
    explicit GameSceneHints(GameScene& scene) : scene_(scene), hints_(*this, opener_) {}
    GameSceneHints(const GameSceneHints&) = delete;
    GameSceneHints& operator=(const GameSceneHints&) = delete;

    LevelHints& Hints() { return hints_; }
    TrophyAwards& Trophies() { return trophies_; }

    int32_t Now() const override;
    int32_t LastWordBar() const override;
    int32_t LastSubmit() const override;
    bool TrainHasBonus() const override;
    GameNode* LastSupplyCoal() const override;
    GameNode* IdleSupplyCoalOfType(int32_t type) const override;
    bool HoldsNewValidWord() const override;
    bool TypedWordFlag() const override;
    void SetTypedWordFlag() override;
    void ClearTypedWordFlag() override;
    bool WordRackHasTypedCoal() const override;
    bool WordRackHoldsCoals() const override;
    int32_t WordBarMoveState() const override;
    bool HandReturnsToSupply() const override;
    GameNode* CoalAtHand() const override;
    void FinishWordBarChange() override;
    int32_t GameType() const override;
    bool IsAdventure() const override;
    bool AllowsSkip() const override;
    float TrainSpeed() const override;
    int32_t LevelWordsFound() const override;
    bool OpponentVisible() const override;
    GameNode* OpponentBody() const override;
    bool FurnaceLidRaised() const override;
    GameNode* FurnaceLid() const override;
    GameNode* SceneNode(const char* name) const override;

private:
    GameMode* Mode() const;
    WordBar* Bar() const;

    GameScene& scene_;
    BubbleOpener opener_;
    GameHints hints_;
    TrophyAwardDialogs trophies_;
    // The flag belongs to one level: a new game mode starts without it.
    const GameMode* typedWordMode_ = nullptr;
};
