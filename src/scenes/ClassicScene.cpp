#include "scenes/ClassicScene.h"

#include <string>
#include <vector>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Players.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/ScoreTable.h"
#include "engine/foundation/SectionManager.h"
#include "engine/foundation/TextConversions.h"
#include "engine/media/InputListenerList.h"
#include "engine/media/Surface.h"
#include "engine/media/SoundSample.h"
#include "engine/scene/AdditiveSprite.h"
#include "engine/scene/AnimationTree.h"
#include "engine/scene/DialogTable.h"
#include "engine/scene/ModifierCallback.h"
#include "engine/scene/ModifierColorCycle.h"
#include "engine/scene/ModifierEaseMove.h"
#include "engine/scene/ModifierFrame.h"
#include "engine/scene/ModifierPulse.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/ModifierWait.h"
#include "engine/scene/ParticleEngine.h"
#include "engine/scene/SceneResources.h"
#include "engine/ui/Label.h"
#include "engine/ui/Panel.h"
#include "engine/ui/SceneManager.h"
#include "engine/ui/SceneTransition.h"
#include "engine/ui/Switch.h"
#include "game/constants/GameConstants.h"
#include "game/dialogs/HintDialog.h"
#include "game/dialogs/NumberFields.h"
#include "game/dialogs/TrophyAwardedDialog.h"
#include "game/progress/HighScores.h"
#include "game/progress/KR2Player.h"
#include "game/progress/KR2Score.h"
#include "game/rules/GameMode.h"
#include "game/words/TicketInfo.h"
#include "game/world/SectionList.h"
#include "scenes/QuitQuestion.h"
#include "scenes/SceneSwitch.h"

namespace {

const ClassRegistration registration("ClassicScene", CreateFromProperty<ClassicScene>);

const char* const kSection = "classic";
constexpr int32_t kHiddenMixedY = 600;
constexpr int32_t kBadgeFadeMs = 500;
constexpr int32_t kCrossFadeMs = 300;
constexpr int32_t kGlowFadeMs = 100;
constexpr int32_t kUnlockStepMs = 100;
constexpr int32_t kUnlockMoveMs = 500;
constexpr int32_t kHighlightFrameMs = 30;
constexpr int32_t kHighlightRideMs = 2000;
constexpr int32_t kHighlightFadeMs = 3000;
constexpr int32_t kColorCycleMs = 1000;
constexpr int32_t kEmissionSize = 20;

constexpr int32_t kTypeColors[ClassicScene::kTypeCount] = {0xB20B0B, 0xB20B0B, 0x106E09, 0x071F87, 0x990A9B,
                                                          0xAF1E6E, 0x0B590A, 0x0072FF, 0xB20B0B};

ClassicScene* SceneOf(void* context) { return ObjectCast<ClassicScene>(static_cast<Object*>(context)); }

KR2Player* CurrentPlayer() {
    const Players* players = Players::Instance();
    return players != nullptr ? ObjectCast<KR2Player>(players->GetCurrent()) : nullptr;
}

Ref<Surface> Picture(const std::string& name, const std::string& section = kSection) {
    const Ref<Object> data = FindResourceData(name, section);
    return Ref<Surface>(ObjectCast<Surface>(data.Get()));
}

void PlaySample(const std::string& name, const std::string& section) {
    const Ref<Object> data = FindResourceData(name, section);
    if (const auto* sample = ObjectCast<SoundSample>(data.Get())) {
        sample->PlaySample(255, 128, false);
    }
}

Modifier* Give(GameNode* node, Modifier* modifier, uint32_t options = 0) {
    const Ref<Modifier> keep(modifier);
    modifier->SetOptions(modifier->GetOptions() | options);
    return node->AddModifier(modifier);
}

Ref<Object> BuildNamed(const std::string& name) {
    const DialogTable* table = DialogTable::Instance();
    return table != nullptr ? Ref<Object>(table->CreateObject(name)) : Ref<Object>();
}

std::string GameTypeName(int32_t type) { return "GAME_TYPE" + std::to_string(type); }

ScoreTable* TableOf(int32_t type) { return GetHighScoreTable(GameMode::GetGameModeName(type)); }

// Moves a child of the scene into `parent`, as its last child.
void MoveInto(GameNode* node, GameNode& parent) {
    if (node == nullptr) {
        return;
    }
    const Ref<GameNode> keep(node);
    node->RemoveFromParent();
    parent.AddChild(node);
}

}  // namespace

ClassicScene::ClassicScene(Property* definition) : Scene(definition) {
    Property* panelDefinition = Property::Child(definition, "highscorepanel");
    highScorePanelDef_ = panelDefinition != nullptr ? panelDefinition : &Property::DummyNode();
    maxY_ = Property::AsInt(Property::Child(highScorePanelDef_.Get(), "maxy"));
    topY_ = Property::AsInt(Property::Child(highScorePanelDef_.Get(), "topy"));
    bottomY_ = Property::AsInt(Property::Child(highScorePanelDef_.Get(), "bottomy"));
}

ClassicScene::~ClassicScene() = default;

void ClassicScene::Build() {
    Scene::Build();
    MakeGameTypeSwitches();
    void* self = static_cast<Object*>(this);
    BindControlByName("BUTTON_BACK", Back, self);
    BindControlByName("BUTTON_START", StartGame, self);
    startButton_ = FindChild("BUTTON_START");
    descriptionLabel_ = ObjectCast<Label>(FindChild("LABEL_DESCRIPTION"));
    highScoreAnim_ = ObjectCast<Sprite>(FindChild("ANIM_HIGHSCORE"));
    for (const char* name : {"BUTTON_START", "BUTTON_BACK", "ANIM_HIGHSCORE", "LABEL_DESCRIPTION"}) {
        if (FindChild(name) == nullptr) {
            ENGINE_LOG(1, "ClassicScene: the scene has no \"%s\"", name);
        }
    }
    MakePanel();
}

void ClassicScene::MakeGameTypeSwitches() {
    void* self = static_cast<Object*>(this);
    for (int32_t type = 0; type < kTypeCount; ++type) {
        Ref<Switch> typeSwitch(new Switch(kSwitchX, 0, Picture("BUTTON_" + std::to_string(type)).Get()));
        AddChild(typeSwitch.Get());
        typeSwitch->SetDisabledSound("SOUND_DISABLED");
        typeSwitch->SetSoundSection("default");
        typeSwitch->SetHitMaskThreshold(kSwitchHitThreshold);
        // The tag the handler reads back: the sprite's integer value.
        typeSwitch->SetColor(type);
        typeSwitch->SetGroupId(kSwitchGroup);
        BindControl(typeSwitch.Get(), OnGameTypeSwitch, self);
        gameTypeSwitches_[static_cast<size_t>(type)] = typeSwitch;
    }
}

void ClassicScene::MakePanel() {
    panel_ = new Sprite();
    panel_->SetPosition(kPanelX, kPanelY);
    panel_->SetAnchorKind(Sprite::kTopLeft);
    AddChild(panel_.Get());
    MoveInto(startButton_, *panel_);
    MoveInto(highScoreAnim_, *panel_);
    MoveInto(descriptionLabel_, *panel_);
    for (int32_t row = 0; row < kRows; ++row) {
        Ref<Panel> rowPanel(new Panel(highScorePanelDef_.Get()));
        panel_->AddChild(rowPanel.Get());
        rowPanel->SetY(rowPanel->GetY() + rowPanel->GetHeight() * row);
        for (int32_t column = 0; column < 3; ++column) {
            highScoreCells_[static_cast<size_t>(row)][static_cast<size_t>(column)] =
                ObjectCast<Label>(rowPanel->FindChild(std::to_string(column)));
        }
    }
}

void ClassicScene::Activate() {
    Scene::Activate();
    if (highScoreAnim_ != nullptr) {
        highScoreAnim_->SetAlpha(0);
    }
    KR2Player* player = CurrentPlayer();
    const bool allBought = AllTracksBought();
    const bool unlockShow = allBought && player != nullptr && !player->mixedAnimationSeen;
    ArrangeSwitches(allBought, unlockShow);
    const int32_t previous = player != nullptr ? player->prevclassic : 0;
    SelectGameType(this, previous >= 0 && previous < kTypeCount ? previous : 0, false);
    ShowNewResult();
    if (player != nullptr && player->showhints && player->hints[static_cast<size_t>(kClassicHint)]) {
        ShowHint(kClassicHint, nullptr, nullptr);
    }
}

void ClassicScene::Deactivate() {
    // Its hint may still be up when START or BACK is clicked past it.
    HintDialog::CloseOpenIn(*this);
    Scene::Deactivate();
    // Every way back here asks for the section again, and the transition
    // waits for it; only the one panel shown and what the scene built stay.
    if (SectionManager* sections = SectionManager::Instance()) {
        sections->ReleaseSection(kSection);
    }
}

void ClassicScene::RequestQuit() { AskQuit(nullptr, nullptr); }

ClassicScene::ColumnLayout ClassicScene::Layout(bool withMixedType) const {
    if (withMixedType) {
        return {maxY_, static_cast<int32_t>(static_cast<float>(bottomY_ - maxY_) * 0.125f)};
    }
    return {topY_, static_cast<int32_t>(static_cast<float>(bottomY_ - topY_) * (1.0f / 7.0f))};
}

void ClassicScene::ArrangeSwitches(bool allBought, bool unlockShow) {
    const ColumnLayout layout = Layout(allBought);
    Switch& mixed = *gameTypeSwitches_[kMixedType];
    mixed.SetVisible(allBought);
    GetListenerList()->RemoveListener(&mixed);
    if (allBought) {
        GetListenerList()->AddListener(&mixed, true);
    }
    for (int32_t type = 0; type < kTypeCount; ++type) {
        Switch& typeSwitch = *gameTypeSwitches_[static_cast<size_t>(type)];
        DecorateSwitch(typeSwitch, type);
        typeSwitch.SetY(layout.top + type * layout.spacing);
    }
    if (unlockShow) {
        PlayUnlockMove(Layout(false));
    }
}

void ClassicScene::DecorateSwitch(Switch& typeSwitch, int32_t type) {
    typeSwitch.RemoveChildren();
    const bool enabled = IsGameTypeAvailable(type);
    typeSwitch.SetEnabled(enabled);
    if (!enabled) {
        typeSwitch.SetToolTip(LookUpText("TOOLTIP_CLASSIC_CANT_PLAY"));
        return;
    }
    typeSwitch.SetToolTip(
        FillTextField(LookUpText("TOOLTIP_CLASSIC_GAME"), LookUpText(GameTypeName(type)), kToolTipMaxLength));
    const KR2Player* player = CurrentPlayer();
    if (player == nullptr || player->classicGameTypeClicked[static_cast<size_t>(type)]) {
        return;
    }
    for (const char* name : {"SPRITE_NEW_GLOW", "SPRITE_NEW"}) {
        const Ref<Object> built = BuildNamed(name);
        auto* badge = ObjectCast<Sprite>(built.Get());
        if (badge == nullptr) {
            ENGINE_LOG(1, "ClassicScene: \"%s\" builds no sprite", name);
            continue;
        }
        badge->SetAlpha(0);
        Give(badge, new ModifierValue(0, 255, kBadgeFadeMs), Modifier::kBlockFollowing);
        if (std::string(name) == "SPRITE_NEW_GLOW") {
            Give(badge, new ModifierPulse(255, 80, {300, 400, 0, 0}, 0));
        }
        typeSwitch.AddChild(badge);
    }
}

void ClassicScene::PlayUnlockMove(const ColumnLayout& from) {
    for (int32_t type = 0; type < kTypeCount; ++type) {
        Switch& typeSwitch = *gameTypeSwitches_[static_cast<size_t>(type)];
        const int32_t target = typeSwitch.GetY();
        const int32_t start = type == kMixedType ? kHiddenMixedY : from.top + type * from.spacing;
        typeSwitch.SetY(start);
        Give(&typeSwitch, new ModifierWait((type + 2) * kUnlockStepMs), Modifier::kBlockFollowing);
        Give(&typeSwitch,
             new ModifierEaseMove(static_cast<float>(kSwitchX), static_cast<float>(start), kSwitchX, target,
                                  kUnlockMoveMs, false, true, Smoothstep),
             Modifier::kBlockFollowing);
    }
    if (SceneManager* manager = SceneManager::Instance()) {
        if (SceneTransition* transition = manager->GetPendingTransition()) {
            transition->SetActivateOnFinish(false);
        }
    }
    SetActive(false);
    Give(gameTypeSwitches_[kMixedType].Get(),
         new ModifierCallback([this](uint32_t, GameNode*) { OnUnlockAnimationDone(*this); }, 0));
}

void ClassicScene::OnUnlockAnimationDone(ClassicScene& scene) {
    scene.SetActive(true);
    if (KR2Player* player = CurrentPlayer()) {
        player->mixedAnimationSeen = true;
    }
}

void ClassicScene::ShowNewResult() {
    ScoreTable* table = TableOf(selectedGameType_);
    if (table == nullptr) {
        return;
    }
    const int32_t position = table->GetLastScore();
    table->SetLastScore(-1);
    if (position < 0 || position >= kRows || highScoreAnim_ == nullptr) {
        return;
    }
    PlaySample("SOUND_HIGHSCORE", kSection);
    Ref<GameNode> rider(new GameNode());
    panel_->AddChild(rider.Get());
    // Placed on every showing: an earlier highlight of another row may
    // still run its endless frames.
    highScoreAnim_->SetY(kHighlightTop + position * (highScoreAnim_->GetHeight() + kHighlightGap));
    if (!highScoreAnim_->HasModifiers()) {
        Give(highScoreAnim_, new ModifierFrame(ModifierFrame::kEndless, kHighlightFrameMs));
    }
    const Ref<Object> built = BuildNamed("HIGHSCORE_ANIM");
    if (auto* sparks = ObjectCast<ParticleEngine>(built.Get())) {
        rider->AddChild(sparks);
        sparks->SetAnimationEntry(GetAnimationTree());
        sparks->SetEmissionArea(0, 0, kEmissionSize, kEmissionSize);
    } else {
        ENGINE_LOG(1, "ClassicScene: \"HIGHSCORE_ANIM\" builds no particle engine");
    }
    const int32_t x = highScoreAnim_->GetX();
    const int32_t y = highScoreAnim_->GetY() + highScoreAnim_->GetHeight() - kEmissionSize;
    Give(rider.Get(),
         new ModifierEaseMove(static_cast<float>(x), static_cast<float>(y), x + 2 * highScoreAnim_->GetWidth(), y,
                              kHighlightRideMs),
         Modifier::kBlockFollowing);
    Give(rider.Get(), new ModifierCallback([](uint32_t, GameNode*) { OnHighScoreShown(); }, 0));
    Give(highScoreAnim_, new ModifierValue(0, 255, kHighlightFadeMs));
    const Ref<Surface> colors = Picture("COLORCYCLE_" + std::to_string(selectedGameType_));
    for (Label* cell : highScoreCells_[static_cast<size_t>(position)]) {
        if (cell != nullptr) {
            Give(cell, new ModifierColorCycle(colors.Get(), kColorCycleMs, 0));
        }
    }
}

void ClassicScene::OnHighScoreShown() {
    const KR2Player* player = CurrentPlayer();
    if (player != nullptr && player->trophies[static_cast<size_t>(kAllTablesTrophy)] == KR2Player::kTrophyPending) {
        TrophyAwardedDialog::Show(kAllTablesTrophy, nullptr);
    }
}

void ClassicScene::SelectGameType(ClassicScene* scene, int32_t type, bool animate) {
    if (scene == nullptr || type < 0 || type >= kTypeCount) {
        return;
    }
    PlaySample("SOUND_BUTTON", "default");
    if (type == scene->selectedGameType_ && animate) {
        scene->PulseStartGlow();
    } else {
        scene->FillRows(type);
        scene->ShowGameTypePanel(type, animate);
    }
    scene->gameTypeSwitches_[static_cast<size_t>(type)]->SetChecked(true);
}

void ClassicScene::PulseStartGlow() {
    if (startButton_ == nullptr) {
        return;
    }
    if (!startGlow_) {
        startGlow_ = new AdditiveSprite(startButton_->GetX(), startButton_->GetY(), Picture("BUTTON_GLOW").Get());
        startGlow_->SetAnchorKind(Sprite::kCenter);
    }
    startGlow_->ClearModifiers();
    if (startGlow_->GetParent() == nullptr) {
        startGlow_->InsertBefore(startButton_);
    }
    if (startGlow_->GetAlpha() != 0) {
        Give(startGlow_.Get(), new ModifierValue(startGlow_->GetAlpha(), 0, kGlowFadeMs), Modifier::kBlockFollowing);
    }
    Give(startGlow_.Get(), new ModifierPulse(0, 128, {100, 100, 0, 0}, 3));
}

void ClassicScene::FillRows(int32_t type) {
    if (highScoreAnim_ != nullptr) {
        highScoreAnim_->SetAlpha(0);
    }
    const ScoreTable* table = TableOf(type);
    const int32_t color = GameTypeColor(type);
    if (descriptionLabel_ != nullptr) {
        descriptionLabel_->SetColor(color);
    }
    static const std::vector<Ref<HighScoreEntry>> kNoEntries;
    const auto& entries = table != nullptr ? table->GetEntries() : kNoEntries;
    for (int32_t row = 0; row < kRows; ++row) {
        const auto* entry =
            row < static_cast<int32_t>(entries.size()) ? ObjectCast<KR2Score>(entries[static_cast<size_t>(row)].Get())
                                                       : nullptr;
        const std::wstring texts[3] = {
            entry != nullptr ? NarrowToWide(ShownHighScoreName(entry->GetPlayerName())) : L"",
            entry != nullptr ? NarrowToWide(std::to_string(entry->GetScore())) : L"",
            entry != nullptr ? NarrowToWide(std::to_string(entry->GetLevel())) : L""};
        for (int32_t column = 0; column < 3; ++column) {
            Label* cell = highScoreCells_[static_cast<size_t>(row)][static_cast<size_t>(column)];
            if (cell == nullptr) {
                continue;
            }
            cell->ClearModifiers();
            cell->SetColor(color);
            cell->SetText(texts[column]);
        }
    }
}

void ClassicScene::ShowGameTypePanel(int32_t type, bool animate) {
    if (type != selectedGameType_) {
        selectedGameType_ = type;
        if (animate) {
            if (panel_->GetAlpha() != 0 && panel_->GetParent() != nullptr) {
                // The old panel stays under the new one while it fades in.
                Ref<Sprite> old(new Sprite(panel_->GetX(), panel_->GetY(), panel_->GetImage()));
                old->SetAlpha(panel_->GetAlpha());
                old->SetAnchorKind(panel_->GetAnchorKind());
                old->InsertBefore(panel_.Get());
                Give(old.Get(), new ModifierWait(kCrossFadeMs), Modifier::kRemoveNodeAtEnd);
            }
            panel_->SetAlpha(0);
            Give(panel_.Get(), new ModifierValue(0, 255, kCrossFadeMs));
        }
        panel_->SetImage(Picture("DIALOG_" + std::to_string(type)).Get());
        if (descriptionLabel_ != nullptr) {
            descriptionLabel_->SetText(LookUpText("DESCRIPTION_GAMETYPE_" + std::to_string(type)));
        }
    }
    if (type == selectedGameType_ && !animate) {
        panel_->SetAlpha(255);
        panel_->ClearModifiers();
    }
}

bool ClassicScene::IsGameTypeAvailable(int32_t type) {
    if (type == kMixedType) {
        return AllTracksBought();
    }
    if (type == 0) {
        return true;
    }
    const KR2Player* player = CurrentPlayer();
    return player != nullptr && type > 0 && type < kMixedType &&
           player->stats.playcount[static_cast<size_t>(type)] > 0;
}

bool ClassicScene::AllTracksBought() {
    // A map that is not read yet has no tracks, which would count as all bought.
    const SectionList* map = SectionList::Instance();
    return map != nullptr && map->TrackCount() > 0 && map->AllTracksBought();
}

int32_t ClassicScene::GameTypeColor(int32_t type) {
    return type >= 0 && type < kTypeCount ? kTypeColors[type] : kTypeColors[0];
}

int32_t ClassicScene::OnGameTypeSwitch(void* context, GameNode* sender) {
    auto* typeSwitch = ObjectCast<Switch>(sender);
    if (typeSwitch != nullptr) {
        SelectGameType(SceneOf(context), typeSwitch->GetColor(), true);
    }
    return 0;
}

int32_t ClassicScene::StartGame(void* context, GameNode*) {
    const ClassicScene* scene = SceneOf(context);
    KR2Player* player = CurrentPlayer();
    if (scene == nullptr || player == nullptr || scene->selectedGameType_ < 0) {
        return 0;
    }
    const int32_t type = scene->selectedGameType_;
    Ref<TicketInfo> ticket(new TicketInfo);
    if (type == kMixedType) {
        ticket->GameMode = TicketInfo::kClassicRandom;
        ticket->PickRandomGameType();
    } else {
        ticket->GameMode = TicketInfo::kClassicFixed;
        ticket->GameType = type;
    }
    ticket->Rating = RATING_CLASSIC_START;
    ticket->Track = 0;
    ticket->Section = 0;
    ticket->City = 0;
    ticket->Generate();
    player->currentTicket = ticket;
    player->classicTicket = ticket;
    player->prevclassic = type;
    player->classicGameTypeClicked[static_cast<size_t>(type)] = true;
    if (SceneManager* manager = SceneManager::Instance()) {
        manager->RequestSectionAfterLeaving("gamescene");
    }
    PlaySample("SOUND_MAPGAMEMAP", "dialogs");
    SwitchToScene("SCENE_GAME", "TRANSITION_SPECIAL");
    return 0;
}

int32_t ClassicScene::Back(void*, GameNode*) {
    if (SceneManager* manager = SceneManager::Instance()) {
        manager->RequestSectionAfterLeaving("selectionscene");
    }
    SwitchToScene("SCENE_SELECTION", "TRANSITION_DEFAULT");
    return 0;
}
