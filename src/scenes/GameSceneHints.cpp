#include "scenes/GameSceneHints.h"

#include <cmath>

#include "game/rules/GameMode.h"
#include "game/words/LetterRack.h"
#include "game/words/LetterSprite.h"
#include "game/words/WordBar.h"
#include "game/world/AutoTrain.h"
#include "game/world/Furnace.h"
#include "game/world/PlayerTrain.h"
#include "scenes/GameScene.h"

namespace {

// The coal in the highest slot of the rack that `accept` takes, or null.
template <typename Accept>
LetterSprite* LastCoalWhere(const LetterRack& rack, Accept accept) {
    for (int slot = LetterRack::kSlotCount - 1; slot >= 0; --slot) {
        LetterSprite* coal = rack.GetLetter(slot);
        if (coal != nullptr && accept(*coal)) {
            return coal;
        }
    }
    return nullptr;
}

}  // namespace

GameMode* GameSceneHints::Mode() const { return scene_.GetMode(); }

WordBar* GameSceneHints::Bar() const {
    const GameMode* mode = Mode();
    return mode != nullptr ? mode->GetWordBar() : nullptr;
}

int32_t GameSceneHints::Now() const { return Mode() != nullptr ? Mode()->Stats().playtime : 0; }

int32_t GameSceneHints::LastWordBar() const { return Mode() != nullptr ? Mode()->LastWordBar() : 0; }

int32_t GameSceneHints::LastSubmit() const { return Mode() != nullptr ? Mode()->LastSubmit() : 0; }

bool GameSceneHints::TrainHasBonus() const {
    const PlayerTrain* train = Mode() != nullptr ? Mode()->GetPlayerTrain() : nullptr;
    return train != nullptr && train->GetBonus();
}

GameNode* GameSceneHints::LastSupplyCoal() const {
    const WordBar* bar = Bar();
    return bar != nullptr ? LastCoalWhere(bar->Rack(WordBar::kSupplyRack), [](const LetterSprite&) { return true; })
                          : nullptr;
}

GameNode* GameSceneHints::IdleSupplyCoalOfType(int32_t type) const {
    const WordBar* bar = Bar();
    if (bar == nullptr) {
        return nullptr;
    }
    return LastCoalWhere(bar->Rack(WordBar::kSupplyRack), [type](const LetterSprite& coal) {
        return coal.Letter().GetType() == type && !coal.HasModifiers();
    });
}

bool GameSceneHints::HoldsNewValidWord() const {
    return Mode() != nullptr && Mode()->GetJudgement() == GameMode::kNewWord;
}

bool GameSceneHints::TypedWordFlag() const { return typedWordMode_ != nullptr && typedWordMode_ == Mode(); }

void GameSceneHints::SetTypedWordFlag() { typedWordMode_ = Mode(); }

void GameSceneHints::ClearTypedWordFlag() { typedWordMode_ = nullptr; }

bool GameSceneHints::WordRackHasTypedCoal() const {
    const WordBar* bar = Bar();
    return bar != nullptr && LastCoalWhere(bar->Rack(WordBar::kWordRack), [](const LetterSprite& coal) {
                                 return !coal.IsMovedByMouse();
                             }) != nullptr;
}

bool GameSceneHints::WordRackHoldsCoals() const {
    const WordBar* bar = Bar();
    return bar != nullptr && bar->Rack(WordBar::kWordRack).OccupiedCount() > 0;
}

int32_t GameSceneHints::WordBarMoveState() const {
    const WordBar* bar = Bar();
    return bar != nullptr ? bar->LastAction() : WordBar::kNoAction;
}

bool GameSceneHints::HandReturnsToSupply() const {
    const WordBar* bar = Bar();
    return bar != nullptr && bar->LetterInHand() != nullptr && bar->Target().rack == WordBar::kSupplyRack;
}

GameNode* GameSceneHints::CoalAtHand() const {
    const WordBar* bar = Bar();
    return bar != nullptr && bar->Target().IsValid() ? bar->GetLetter(bar->Target()) : nullptr;
}

void GameSceneHints::FinishWordBarChange() {
    GameMode* mode = Mode();
    if (mode == nullptr || mode->GetWordBar() == nullptr) {
        return;
    }
    mode->GetWordBar()->PlayLetterSound();
    mode->JudgeWord();
}

int32_t GameSceneHints::GameType() const { return scene_.GameType(); }

bool GameSceneHints::IsAdventure() const { return scene_.IsAdventure(); }

bool GameSceneHints::AllowsSkip() const { return Mode() != nullptr && Mode()->IsSingleWord(); }

float GameSceneHints::TrainSpeed() const {
    const PlayerTrain* train = Mode() != nullptr ? Mode()->GetPlayerTrain() : nullptr;
    return train != nullptr ? train->GetSpeed() : 0.0f;
}

int32_t GameSceneHints::LevelWordsFound() const { return Mode() != nullptr ? Mode()->Stats().numWordsFound : 0; }

bool GameSceneHints::OpponentVisible() const {
    const AutoTrain* opponent = Mode() != nullptr ? Mode()->GetOpponentTrain() : nullptr;
    return opponent != nullptr && opponent->IsVisible();
}

GameNode* GameSceneHints::OpponentBody() const {
    const AutoTrain* opponent = Mode() != nullptr ? Mode()->GetOpponentTrain() : nullptr;
    return opponent != nullptr ? opponent->GetBody() : nullptr;
}

bool GameSceneHints::FurnaceLidRaised() const {
    const Furnace* furnace = scene_.GetFurnace();
    if (furnace == nullptr) {
        return false;
    }
    const float top = static_cast<float>(furnace->GetLidRestY() - furnace->GetLidHeight());
    return std::fabs(furnace->GetLidPosition() - top) < 1.0f;
}

GameNode* GameSceneHints::FurnaceLid() const {
    const Furnace* furnace = scene_.GetFurnace();
    return furnace != nullptr ? furnace->GetLid() : nullptr;
}

GameNode* GameSceneHints::SceneNode(const char* name) const { return scene_.FindChild(name); }
