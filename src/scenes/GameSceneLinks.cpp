#include "scenes/GameSceneLinks.h"

#include "engine/foundation/RegistrySettings.h"
#include "engine/scene/Sprite.h"
#include "engine/ui/Label.h"
#include "engine/ui/LabelTicker.h"
#include "game/dialogs/GameSceneHooks.h"
#include "game/progress/GameSettings.h"
#include "game/progress/HighScores.h"
#include "game/progress/KR2Player.h"
#include "game/rules/GameMode.h"
#include "game/words/TicketInfo.h"
#include "game/words/LetterSprite.h"
#include "game/words/WordBar.h"
#include "game/words/WordQueue.h"
#include "game/words/WordSprite.h"
#include "game/world/BoostMeter.h"
#include "game/world/CoinEffect.h"
#include "game/world/Flagpole.h"
#include "game/world/Furnace.h"
#include "game/world/Landscape.h"
#include "game/world/OneShotEffects.h"
#include "game/world/PlayerTrain.h"
#include "game/world/SubmissionEffects.h"
#include "game/world/TrainSmoke.h"
#include "scenes/GameScene.h"
#include "scenes/GameSceneHints.h"

namespace {

constexpr int32_t kScreenWidth = 800;
constexpr int32_t kScreenHeight = 600;

// The links whose answers the level and the word bar hear now.
const GameSceneLinks* installedLinks = nullptr;

}  // namespace

GameSceneLinks::GameSceneLinks(GameScene& scene) : scene_(scene), hints_(std::make_unique<GameSceneHints>(scene)) {}

GameSceneLinks::~GameSceneLinks() = default;

void GameSceneLinks::Install() {
    installedLinks = this;
    GameMode::SetHooks({this, &hints_->Hints(), &hints_->Trophies()});
    WordBar::SetHooks({this, nullptr});
    RaceContext::Install(this);
    EffectsContext::Install(this);
    HudSceneHooks::Install(this);
    // Tickets made while the scene lives (the next classic level) draw on
    // its word list and queue; a player answer installed by others stays.
    TicketHooks tickets = TicketInfo::Hooks();
    tickets.scene = this;
    if (tickets.player == nullptr) {
        tickets.player = this;
    }
    TicketInfo::SetHooks(tickets);
}

void GameSceneLinks::Uninstall() {
    if (&RaceContext::Current() == this) {
        RaceContext::Install(nullptr);
    }
    if (&EffectsContext::Current() == this) {
        EffectsContext::Install(nullptr);
    }
    if (&HudSceneHooks::Current() == this) {
        HudSceneHooks::Install(nullptr);
    }
    TicketHooks tickets = TicketInfo::Hooks();
    if (tickets.scene == this) {
        tickets.scene = nullptr;
    }
    if (tickets.player == this) {
        tickets.player = nullptr;
    }
    TicketInfo::SetHooks(tickets);
    if (installedLinks == this) {
        WordBar::SetHooks({});
        GameMode::SetHooks({});
        installedLinks = nullptr;
    }
}

void GameSceneLinks::SetFurnace(const FurnacePosition* furnace) {
    if (installedLinks == this) {
        WordBar::SetHooks({this, furnace});
    }
}

// ---- LevelScene ----

KR2Player& GameSceneLinks::Player() { return scene_.Player(); }

::WordQueue& GameSceneLinks::Queue() { return *scene_.GetWordQueue(); }

const WordList* GameSceneLinks::Words() const { return scene_.Words(); }

LevelStats& GameSceneLinks::SceneStats() { return scene_.GetLevelStats(); }

ScoreTable* GameSceneLinks::HighScoreTable(const std::string& name) { return GetHighScoreTable(name); }

void GameSceneLinks::PlaySound(const std::string& id) { RaceContext::PlaySound(id, kFullVolume, kCentrePan); }

void GameSceneLinks::SetScoreTarget(int32_t score) { scene_.GetScoreTicker()->SetValue(score); }

void GameSceneLinks::SetMiniTrainPosition(int32_t index, float progress) {
    scene_.SetMiniTrainPosition(index, progress);
}

void GameSceneLinks::AwardArrivalCoins() {
    // First at the end of a classic race: the flag goes up without coins.
    const Landscape* landscape = scene_.GetLandscape();
    if (Flagpole* pole = landscape != nullptr ? landscape->GetFlagpole() : nullptr) {
        ShowCoinAward(*pole, -1);
    }
}

void GameSceneLinks::ShowBonusText() { scene_.ShowBonusText(true); }

void GameSceneLinks::FeedFurnace(WordSprite& /*word*/) {
    const GameMode* mode = scene_.GetMode();
    const WordBar* bar = mode != nullptr ? mode->GetWordBar() : nullptr;
    Furnace* furnace = scene_.GetFurnace();
    if (bar == nullptr || furnace == nullptr) {
        return;
    }
    std::vector<LetterSprite*> coals;
    for (const Ref<LetterSprite>& coal : bar->ThrownCoals()) {
        coals.push_back(coal.Get());
    }
    furnace->FeedWord(coals);
}

void GameSceneLinks::OnLevelEnd() { scene_.OnLevelEnd(); }

void GameSceneLinks::SetContinue(bool next) {
    scene_.SetLevelState(next ? GameScene::kClassicWon : GameScene::kNothingToSave);
}

// ---- WordBarScene ----

int GameSceneLinks::GameType() const { return scene_.GameType(); }

Rect GameSceneLinks::CoalArea() const { return {0, 0, kScreenWidth, kScreenHeight}; }

GameNode* GameSceneLinks::EffectLayer() const { return scene_.GetFrontEffectLayer(); }

::WordQueue* GameSceneLinks::Queue() const { return scene_.GetWordQueue(); }

void GameSceneLinks::SetWrongCharTime(int32_t ms) {
    if (GameMode* mode = scene_.GetMode()) {
        mode->SetWrongLetterTime(ms);
    }
}

void GameSceneLinks::ShowTimer(Modifier* flight, int32_t flightMs) { scene_.ShowTimer(flight, flightMs); }

void GameSceneLinks::SpawnBonusSpark(GameNode* parent, int32_t x, int32_t y, int32_t delayMs) {
    if (parent != nullptr) {
        ::SpawnBonusSpark(*parent, x, y, delayMs);
    }
}

void GameSceneLinks::SpawnCoalSparks(GameNode* parent, int32_t x, int32_t y) {
    if (parent != nullptr) {
        ::SpawnCoalSparks(*parent, x, y);
    }
}

void GameSceneLinks::SpawnCoin(Modifier* waitFor, int32_t x, int32_t y, int32_t value, bool strong) {
    SpawnCoins(waitFor, x, y, value, strong, 0);
}

void GameSceneLinks::ShowFloatingScore(GameNode* node) { ::ShowFloatingScore(0, node); }

void GameSceneLinks::ThrowCoalScoreStars(GameNode* node) { ::ThrowCoalScoreStars(0, node); }

void GameSceneLinks::PlaySound(const std::string& id, const std::string& section) {
    WordBarScene::PlaySound(id, section);
}

// ---- RaceContext ----

int32_t GameSceneLinks::GameState() const {
    const GameMode* mode = scene_.GetMode();
    return mode != nullptr ? mode->GetState() : 0;
}

bool GameSceneLinks::IsPaused() const {
    const GameMode* mode = scene_.GetMode();
    return mode != nullptr && mode->IsPaused();
}

const TicketInfo* GameSceneLinks::CurrentTicket() const { return scene_.CurrentTicket(); }

int32_t GameSceneLinks::BoostIndex() const { return scene_.Player().boostidx; }

int32_t GameSceneLinks::CarriageSize() const { return scene_.Player().carsize; }

int32_t GameSceneLinks::CurrentSection() const { return scene_.Player().cursection; }

int32_t GameSceneLinks::BoostCapacity() const { return BoostMeter::GetCapacity(); }

void GameSceneLinks::SpawnTrainSmoke(Sprite& body, const std::wstring& text, int32_t delay, int32_t x, int32_t y) {
    ::SpawnTrainSmoke(body, text, delay, x, y);
}

void GameSceneLinks::PlaySound(const std::string& name, int32_t volume, int32_t pan) const {
    RaceContext::PlaySound(name, volume, pan);
}

// ---- EffectsContext ----

EffectsContext::WordScore GameSceneLinks::LastWordScore() const {
    const GameMode* mode = scene_.GetMode();
    if (mode == nullptr) {
        return {};
    }
    const ScoreRule& rule = mode->GetScoreRule();
    const WordSprite* word = mode->JudgedWord();
    return {rule.Score, rule.Bonus, rule.Multiplier,
            word != nullptr ? static_cast<int32_t>(word->Slots().size()) : 0};
}

bool GameSceneLinks::HighQuality() const {
    const RegistrySettings* registry = RegistrySettings::Instance();
    const auto* settings = registry != nullptr ? dynamic_cast<const GameSettings*>(&registry->GetSettings()) : nullptr;
    return settings == nullptr || settings->GetHighQuality();
}

Sprite* GameSceneLinks::CoinCounter() const { return scene_.GetCoinLabel(); }

Sprite* GameSceneLinks::WordQueue() const { return scene_.GetWordQueue(); }

void GameSceneLinks::RefreshCoinCounter() { scene_.RefreshCoins(true); }

void GameSceneLinks::ContinueLevelEnd() { scene_.AdvanceLevelEnd(); }

// ---- HudSceneHooks ----

GameNode* GameSceneLinks::FindSceneNode(const std::string& name) const { return scene_.FindChild(name); }

PlayerTrain* GameSceneLinks::GetPlayerTrain() const {
    const Landscape* landscape = scene_.GetLandscape();
    return landscape != nullptr ? landscape->GetPlayerTrain() : nullptr;
}

int32_t GameSceneLinks::OldBoostIndex() const { return scene_.Player().oldboostidx; }

void GameSceneLinks::SetOldBoostIndex(int32_t index) { scene_.Player().oldboostidx = index; }

Sprite* GameSceneLinks::GetBoostGlow() const { return scene_.GetBoostGlow(); }

void GameSceneLinks::ResetAwardCoins() { ResetCoinsInFlight(); }

void GameSceneLinks::AddLevelCoins(int32_t coins) { AddCoinsInFlight(coins); }

void GameSceneLinks::CoinAwardFinished() { scene_.AdvanceLevelEnd(); }

void GameSceneLinks::UnloadingFinished() { scene_.AdvanceLevelEnd(); }

// ---- TicketSceneHook and TicketPlayerHook ----

const WordList* GameSceneLinks::WaitForWordList() { return scene_.WaitForWordList(); }

bool GameSceneLinks::IsInWordQueue(const std::string& text) const {
    const ::WordQueue* queue = scene_.GetWordQueue();
    constexpr int32_t kAnyStatus = WordSprite::kFound | WordSprite::kToFind | WordSprite::kMissed;
    return queue != nullptr && queue->FindWord(text, kAnyStatus) != nullptr;
}

int GameSceneLinks::GamesPlayed() const { return scene_.Player().GetTotalPlayCount(); }
