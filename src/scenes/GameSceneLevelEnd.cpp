// The end of a level on the game scene: the banner and rewards one after
// another, the end sign, and the way out (map, next classic level, classic
// scene).
#include <algorithm>
#include <cmath>

#include "engine/foundation/Logger.h"
#include "engine/foundation/SectionManager.h"
#include "engine/media/MusicStream.h"
#include "engine/media/SoundManager.h"
#include "engine/media/SoundSample.h"
#include "engine/scene/AnimationTree.h"
#include "engine/scene/DialogTable.h"
#include "engine/scene/ModifierCallback.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/ModifierVisibility.h"
#include "engine/scene/ModifierWait.h"
#include "engine/scene/SceneResources.h"
#include "engine/scene/Sprite.h"
#include "engine/ui/LabelTicker.h"
#include "engine/ui/SceneManager.h"
#include "engine/ui/SceneTransition.h"
#include "game/constants/GameConstants.h"
#include "game/dialogs/TrophyAwardedDialog.h"
#include "game/progress/KR2Player.h"
#include "game/rules/GameMode.h"
#include "game/words/TicketInfo.h"
#include "game/words/WordBar.h"
#include "game/words/WordQueue.h"
#include "game/world/AutoTrain.h"
#include "game/world/BoostMeter.h"
#include "game/world/Carriage.h"
#include "game/world/Flagpole.h"
#include "game/world/Landscape.h"
#include "game/world/PlayerTrain.h"
#include "game/world/WinLoseBanner.h"
#include "scenes/GameScene.h"
#include "scenes/GameSceneLinks.h"
#include "scenes/SelectionLinks.h"

namespace {

constexpr int32_t kFadeMs = 500;
constexpr int32_t kMusicOutMs = 100;
constexpr int32_t kMusicBackMs = 350;
// The award for this trophy is shown elsewhere, never at a level's end.
constexpr int kTrophyNotAtLevelEnd = 21;

void PlaySound(const char* id, const char* section) {
    const Ref<Object> data = FindResourceData(id, section);
    if (const auto* sample = ObjectCast<SoundSample>(data.Get())) {
        sample->PlaySample(255, 128, false);
    }
}

// Fades the node from its alpha to nothing, then hides it.
void FadeAndHide(Sprite& node) {
    node.AddModifier(Blocking(new ModifierValue(node.GetAlpha(), 0, kFadeMs)));
    node.AddModifier(new ModifierVisibility(ModifierVisibility::kHide));
}

}  // namespace

bool GameScene::IsLevelWon() const {
    const PlayerTrain* player = landscape_->GetPlayerTrain();
    const AutoTrain* opponent = landscape_->GetAutoTrain();
    if (player == nullptr || player->GetRealX() < static_cast<float>(player->RaceLengthPixels(MINIMAP_PIXELS_PER_UNIT))) {
        return false;
    }
    return opponent == nullptr || !opponent->IsVisible() || player->GetFinish() < opponent->GetFinish();
}

void GameScene::FadeMusic(float target, int32_t durationMs) const {
    SoundManager* sound = SoundManager::Get();
    MusicStream* stream = sound != nullptr ? sound->GetCurrentStream() : nullptr;
    if (stream != nullptr) {
        sound->SetFade(stream, stream->GetFadeLevel(), target, durationMs);
    }
}

void GameScene::OnLevelEnd() {
    if (!complete_) {
        return;
    }
    if (!IsAdventure() && levelState_ == kNothingToSave) {
        // The classic game is lost and over; a resumed one leaves no save.
        DeleteSavegame();
    }
    FadeMusic(0.0f, kMusicOutMs);
    const bool won = IsLevelWon();
    PlayGameSound(won ? "SOUND_LEVEL_WON" : IsAdventure() ? "SOUND_LEVEL_LOSE" : "SOUND_GAME_OVER");

    SetButtonsEnabled(false);
    if (mode_ && mode_->GetWordBar() != nullptr) {
        mode_->GetWordBar()->PopLetters();
    }
    if (const TicketInfo* ticket = CurrentTicket()) {
        wordQueue_->RevealMissedWords(*ticket, Words());
    }
    // Above the back effects, below the front ones.
    if (GameNode* following = backEffects_->GetNextSibling(); following != endPanel_.Get()) {
        if (following != nullptr) {
            endPanel_->InsertBefore(following);
        } else {
            backEffects_->GetParent()->AddChild(endPanel_.Get());
        }
    }
    ShowWinLoseBanner(*endPanel_, won);

    for (Sprite* bar : perfBars_) {
        bar->ClearModifiers();
    }
    if (bonusText_->IsVisible()) {
        bonusText_->ClearModifiers();
        FadeAndHide(*bonusText_);
    }
}

void GameScene::AdvanceLevelEnd() {
    if (!mode_) {
        return;
    }
    const KR2Player& player = Player();
    const bool wonAdventure = IsAdventure() && player.lastWon;
    switch (mode_->GetState()) {
        case kBannerShown:
            mode_->SetState(kCoinAward);
            if (Flagpole* pole = landscape_->GetFlagpole(); wonAdventure && pole != nullptr) {
                ShowCoinAward(*pole, player.lastResult);
                return;
            }
            [[fallthrough]];
        case kCoinAward: {
            mode_->SetState(kRewards);
            const PlayerTrain* train = landscape_->GetPlayerTrain();
            if (Carriage* carriage = train != nullptr ? train->GetCarriage() : nullptr; wonAdventure && carriage != nullptr) {
                carriage->UnloadPassengers(static_cast<float>(carriage->ShownPassengers()));
                return;
            }
            if (wonAdventure && GetCoinsPending() > 0) {
                // No carriage brings the passengers' fares in: they count at once.
                links_->ResetCoinsInFlight();
                RefreshCoins(true);
            }
            [[fallthrough]];
        }
        case kRewards:
            if (player.lastWon) {
                for (int trophy = 0; trophy < KR2Player::kTrophyCount; ++trophy) {
                    if (trophy != kTrophyNotAtLevelEnd &&
                        player.trophies[static_cast<size_t>(trophy)] == KR2Player::kTrophyPending) {
                        TrophyAwardedDialog::Show(trophy, [this](Scene*) { AdvanceLevelEnd(); });
                        return;
                    }
                }
            }
            ShowEndGame();
            mode_->SetState(kEndShown);
            break;
        default:
            break;
    }
}

void GameScene::ShowEndGame() {
    endGameSign_->SetVisible(true);
    endGameSign_->SetAlpha(0);
    endGameSign_->ClearModifiers();
    endGameSign_->AddModifier(Blocking(new ModifierValue(0, 255, kFadeMs)));
    endGameSign_->ClearClipRect();
    RepeatBounce(0, endGameSign_);
    // The Enter that fired the last word does not also leave the board.
    GetListenerList()->HoldKeys(kNewKeyHoldMs);
}

void GameScene::SwitchToScene(const char* sceneName) const {
    SceneManager* manager = SceneManager::Instance();
    Scene* target = manager != nullptr ? manager->FindScene(sceneName) : nullptr;
    if (target == nullptr) {
        ENGINE_LOG(0, "GameScene: no scene \"%s\" to go to", sceneName);
        return;
    }
    const DialogTable* table = DialogTable::Instance();
    const Ref<Object> transition(table != nullptr ? table->CreateDialog("TRANSITION_SPECIAL") : nullptr);
    manager->RequestSwitch(target, ObjectCast<SceneTransition>(transition.Get()));
}

void GameScene::LeaveGame() {
    if (!mode_) {
        return;
    }
    PlaySound("SOUND_DIALOG_BUTTON", "default");
    SectionManager* sections = SectionManager::Instance();
    if (IsAdventure()) {
        if (sections != nullptr) {
            sections->ClearLoadQueue();
        }
        if (SelectionLinks* links = SelectionLinks::Installed()) {
            links->RequestMapSections();
        }
        SwitchToScene("SCENE_MAP");
    } else if (Player().lastWon) {
        mode_->SetState(kLeavingForNextLevel);
        StartNextClassicLevel();
    } else {
        LeaveForClassicScene();
    }
}

void GameScene::LeaveForClassicScene() const {
    if (SectionManager* sections = SectionManager::Instance()) {
        sections->ClearLoadQueue();
    }
    if (SceneManager* manager = SceneManager::Instance()) {
        manager->RequestSectionAfterLeaving("classic");
    }
    SwitchToScene("SCENE_CLASSIC");
}

void GameScene::CrossfadeMiniTrainsToStart() {
    for (Sprite* train : miniTrains_) {
        Ref<Sprite> ghost(new Sprite());
        ghost->SetImage(train->GetImage());
        ghost->SetAnchorKind(train->GetAnchorKind());
        ghost->SetPosition(train->GetX(), train->GetY());
        ghost->SetVisible(train->IsVisible());
        if (GameNode* following = train->GetNextSibling()) {
            ghost->InsertBefore(following);
        } else {
            train->GetParent()->AddChild(ghost.Get());
        }
        auto* fade = new ModifierValue(255, 0, kFadeMs);
        fade->SetOptions(Modifier::kRemoveNodeAtEnd);
        ghost->AddModifier(fade);

        train->SetX(0);
        train->SetAlpha(0);
        train->AddModifier(new ModifierValue(0, 255, kFadeMs));
    }
}

void GameScene::StartNextClassicLevel() {
    if (!mode_) {
        return;
    }
    switch (mode_->GetState()) {
        case kLeavingForNextLevel: {
            Modifier* fade = AnimationTree::Add(GetAnimationTree(), new ModifierValue(endGameSign_->GetAlpha(), 0, kFadeMs),
                                                endGameSign_);
            AnimationTree::Add(fade, new ModifierVisibility(ModifierVisibility::kHide), endGameSign_);
            PrepareNextClassicRace();
            levelState_ = kRaceRunning;
            CrossfadeMiniTrainsToStart();
            if (const Ref<Modifier> lastFade = wordQueue_->FadeOutWords()) {
                wordQueue_->AddModifier(Blocking(new ModifierWait(lastFade.Get())));
            }
            wordQueue_->AddModifier(Blocking(new ModifierWait(GAME_START_DELAY_CLASSIC)));
            wordQueue_->AddModifier(new ModifierCallback([this](uint32_t, GameNode*) { StartNextClassicLevel(); }, 0));
            const TicketInfo* ticket = CurrentTicket();
            const bool newType = ticket != nullptr && ticket->GameMode == TicketInfo::kClassicRandom;
            UpdateHud(newType);
            if (newType) {
                LayoutModeButtons();
            }
            break;
        }
        case kNextLevelWaiting:
            FadeMusic(1.0f, kMusicBackMs);
            mode_->SetState(kPlaying);
            mode_->StartLevel(false);
            SetButtonsEnabled(true);
            NoteQueueWordsAtStart();
            break;
        default:
            break;
    }
}

void GameScene::PrepareNextClassicRace() {
    KR2Player& player = Player();
    TicketInfo* ticket = player.currentTicket.Get();
    if (ticket == nullptr) {
        return;
    }
    ticket->Rating = std::min(ticket->Rating + RATING_CLASSIC_INC, 1.0f);
    ticket->PickRandomGameType();
    ticket->Generate();

    CreateModeGame(true);
    AttachModeNodes();
    if (!mode_) {
        return;
    }
    mode_->SetState(kNextLevelWaiting);
    mode_->Stats().score = levelStats_.score;

    boostMeter_->Reset();
    landscape_->ShiftToNextRace();
    if (PlayerTrain* train = landscape_->GetPlayerTrain()) {
        train->Reset();
    }
    if (AutoTrain* train = landscape_->GetAutoTrain()) {
        train->Reset();
    }

    player.coinsBefore = player.coins;
    player.lastWon = false;
    player.lastScore = 0;
    player.lastResult = 0;
    player.lastPlaytime = 0;
    player.rankChanged = false;
    mode_->SetUpWordBar(false);
}
