#include "scenes/SelectionScene.h"

#include <numeric>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/DataGathering.h"
#include "engine/foundation/Defines.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Players.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/SectionManager.h"
#include "engine/foundation/TextConversions.h"
#include "engine/media/MusicStream.h"
#include "engine/media/SoundAvailable.h"
#include "engine/media/SoundManager.h"
#include "engine/scene/DialogTable.h"
#include "engine/scene/ModifierPulse.h"
#include "engine/scene/ModifierValue.h"
#include "engine/scene/SceneResources.h"
#include "engine/ui/Button.h"
#include "engine/ui/FullScreenHandler.h"
#include "engine/ui/Label.h"
#include "engine/ui/SceneManager.h"
#include "engine/ui/SceneTransition.h"
#include "engine/ui/ToolTip.h"
#include "game/constants/GameConstants.h"
#include "game/dialogs/GameSceneHooks.h"
#include "game/dialogs/HintDialog.h"
#include "game/dialogs/NumberFields.h"
#include "game/dialogs/YesNoDialog.h"
#include "game/progress/KR2Player.h"
#include "scenes/QuitQuestion.h"
#include "scenes/SceneSwitch.h"
#include "scenes/SelectionLinks.h"
#include "scenes/TrophyScreenButton.h"

namespace {

const ClassRegistration registration("SelectionScene", CreateFromProperty<SelectionScene>);

const char* const kSection = "selectionscene";
constexpr uint32_t kMusicOpenMode = 306;

SelectionScene* SceneOf(void* context) { return ObjectCast<SelectionScene>(static_cast<Object*>(context)); }

KR2Player* CurrentPlayer() {
    const Players* players = Players::Instance();
    return players != nullptr ? ObjectCast<KR2Player>(players->GetCurrent()) : nullptr;
}

bool HasPlayers() {
    const Players* players = Players::Instance();
    return players != nullptr && !players->GetPlayers().empty();
}

Ref<Surface> Picture(const std::string& name) {
    const Ref<Object> data = FindResourceData(name, kSection);
    return Ref<Surface>(ObjectCast<Surface>(data.Get()));
}

std::wstring Text(const std::string& id) {
    const Defines* defines = Defines::Instance();
    return defines != nullptr ? defines->GetText(id) : std::wstring();
}

// A modifier handed to a node, which keeps it.
Modifier* Give(GameNode* node, Modifier* modifier, uint32_t options = 0) {
    const Ref<Modifier> keep(modifier);
    modifier->SetOptions(modifier->GetOptions() | options);
    return node->AddModifier(modifier);
}

// The tooltip service lives with the scene manager; the first menu makes it.
void EnsureToolTip() {
    SceneManager* manager = SceneManager::Instance();
    const DialogTable* table = DialogTable::Instance();
    if (manager == nullptr || table == nullptr || manager->GetToolTip() != nullptr) {
        return;
    }
    const Ref<Object> built(table->CreateObject("DEFAULT_TOOLTIP"));
    if (auto* toolTip = ObjectCast<ToolTip>(built.Get())) {
        manager->SetToolTip(toolTip);
    }
}

}  // namespace

SelectionScene::SelectionScene(Property* definition) : Scene(definition) {}

SelectionScene::~SelectionScene() = default;

void SelectionScene::Build() {
    EnsureToolTip();
    Scene::Build();
    MakeTrophyScreenButton();
    void* self = static_cast<Object*>(this);
    BindControlByName("BUTTON_CHANGENAME", OpenPlayerSelect, self);
    BindControlByName("BUTTON_HELP", OpenHelp, self);
    BindControlByName("BUTTON_SETTINGS", OpenSettings, self);
    BindControlByName("BUTTON_QUIT", AskQuit, self);
    BindControlByName("BUTTON_ADVENTURE", StartAdventure, self);
    adventureButton_ = ObjectCast<Button>(FindChild("BUTTON_ADVENTURE"));
    BindControlByName("BUTTON_CLASSIC", AskResumeSavegame, self);
    classicButton_ = ObjectCast<Button>(FindChild("BUTTON_CLASSIC"));
    for (const char* name : {"BUTTON_ADVENTURE", "BUTTON_CLASSIC", "LABEL_PLAYERNAME", "BOTTOM"}) {
        if (FindChild(name) == nullptr) {
            ENGINE_LOG(1, "SelectionScene: the menu has no \"%s\"", name);
        }
    }
    ShowWelcome(this, false);
    const Players* players = Players::Instance();
    DataGathering::AddPlayingSession(0, players != nullptr ? static_cast<int32_t>(players->GetPlayers().size()) : 0);
}

void SelectionScene::MakeTrophyScreenButton() {
    auto* trophy = ObjectCast<Sprite>(FindChild("BUTTON_TROPHY"));
    auto* star = ObjectCast<Sprite>(FindChild("BUTTON_TROPHY_STAR"));
    if (trophy == nullptr || star == nullptr) {
        ENGINE_LOG(1, "SelectionScene: the menu lacks \"BUTTON_TROPHY\" or \"BUTTON_TROPHY_STAR\"; no trophy button");
        return;
    }
    trophyScreenButton_ = new TrophyScreenButton(star, trophy, Picture("BUTTON_TROPHY_MASK").Get());
    BindControl(trophyScreenButton_.Get(), OpenTrophyScreen, static_cast<Object*>(this));
}

void SelectionScene::Activate() {
    Scene::Activate();
    FullScreenHandler::EnableInCurrentScene();
    SceneManager* manager = SceneManager::Instance();
    if (firstActivation_) {
        // The menu follows the loading scene, whose music goes on.
        if (Scene* load = manager != nullptr ? manager->FindScene("SCENE_LOAD") : nullptr) {
            load->SetRemoved(true);
        }
    } else {
        SoundManager* sound = SoundManager::Get();
        const Ref<Object> data = FindResourceData("MUSIC_SELECTION", "music");
        auto* stream = ObjectCast<MusicStream>(data.Get());
        if (sound != nullptr && stream != nullptr && IsSoundAvailable()) {
            sound->CrossfadeTo(stream, 1000, 1.0f, 100, 600, kMusicOpenMode);
        }
        if (SectionManager* sections = SectionManager::Instance()) {
            sections->RemoveSection("preloading", true);
        }
    }
    if (!HasPlayers()) {
        Show("DIALOG_NEWPLAYER", this);
    } else {
        UpdateClassicButton(this, false);
    }
    if (SelectionLinks* links = SelectionLinks::Installed()) {
        links->ClearReturnFromGame();
    }
}

void SelectionScene::Deactivate() {
    firstActivation_ = false;
    if (const auto open = GetDialogMap().find(kSavegameQuestion); open != GetDialogMap().end()) {
        CloseDialog(open->second.Get());
    }
    HintDialog::CloseOpenIn(*this);
    ReleaseHoveredButtons();
    Scene::Deactivate();
    // The way back to the menu asks for the section again and waits for it;
    // meanwhile the bottom pictures of the other map sections go.
    if (SectionManager* sections = SectionManager::Instance()) {
        sections->ReleaseSection(kSection);
    }
}

void SelectionScene::ReleaseHoveredButtons() {
    for (GameNode* node = GetComponentNode()->GetFirstChild(); node != nullptr; node = node->GetNextSibling()) {
        if (auto* button = ObjectCast<Button>(node)) {
            button->SetState(Button::kNormal);
        }
    }
    if (trophyScreenButton_) {
        trophyScreenButton_->SetState(Button::kNormal);
    }
}

void SelectionScene::RequestQuit() { AskQuit(nullptr, nullptr); }

void SelectionScene::ShowWelcome(SelectionScene* scene, bool animate) {
    if (scene == nullptr) {
        return;
    }
    std::wstring name;
    if (KR2Player* player = HasPlayers() ? CurrentPlayer() : nullptr) {
        name = NarrowToWide(player->GetName());
        player->mapFlag = false;
    }
    if (auto* label = ObjectCast<Label>(scene->FindChild("LABEL_PLAYERNAME"))) {
        // Nobody to greet before the first player is made.
        label->SetText(name.empty() ? std::wstring()
                                    : FillTextField(Text("TEXT_WELCOMEPLAYER"), name, kWelcomeMaxLength));
    }
    UpdateClassicButton(scene, animate);
}

bool SelectionScene::IsClassicUnlocked() {
    const KR2Player* player = HasPlayers() ? CurrentPlayer() : nullptr;
    if (player == nullptr) {
        return false;
    }
    const auto& won = player->stats.missionsWon;
    return std::accumulate(won.begin(), won.end(), int64_t{0}) >= GAMES_WON_BEFORE_CLASSIC;
}

void SelectionScene::UpdateClassicButton(SelectionScene* scene, bool animate) {
    if (scene == nullptr) {
        return;
    }
    scene->ChangeBottomPicture(animate);
    Button* classic = scene->classicButton_;
    if (classic == nullptr) {
        return;
    }
    // Earlier badges go.
    classic->RemoveChildren();
    if (!IsClassicUnlocked()) {
        // It stays clickable: a click tells the player how to unlock it.
        classic->SetImage(Picture("BUTTON_CLASSIC_DISABLED").Get());
        return;
    }
    classic->SetImage(Picture("BUTTON_CLASSIC").Get());
    if (!CurrentPlayer()->classicClicked) {
        scene->AddNewBadges();
    }
}

void SelectionScene::ChangeBottomPicture(bool animate) {
    auto* bottom = ObjectCast<Sprite>(FindChild("BOTTOM"));
    if (bottom == nullptr) {
        return;
    }
    const KR2Player* player = HasPlayers() ? CurrentPlayer() : nullptr;
    const int32_t index = player != nullptr ? player->cursection + 1 : 1;
    const Ref<Surface> picture = Picture("BOTTOM" + std::to_string(index));
    if (picture.Get() == bottom->GetImage()) {
        return;
    }
    if (animate && bottom->GetParent() != nullptr) {
        // The old picture fades out above the new one.
        Ref<Sprite> old(new Sprite(*bottom));
        old->ClearModifiers();
        old->SetName("");
        if (GameNode* next = bottom->GetNextSibling()) {
            old->InsertBefore(next);
        } else {
            bottom->GetParent()->AddChild(old.Get());
        }
        Give(old.Get(), new ModifierValue(255, 0, kBottomFadeMs), Modifier::kRemoveNodeAtEnd);
    }
    bottom->ClearModifiers();
    bottom->SetImage(picture.Get());
}

void SelectionScene::AddNewBadges() {
    const DialogTable* table = DialogTable::Instance();
    if (table == nullptr) {
        return;
    }
    for (const char* name : {"SPRITE_NEW_GLOW", "SPRITE_NEW"}) {
        const Ref<Object> built(table->CreateObject(name));
        auto* badge = ObjectCast<Sprite>(built.Get());
        if (badge == nullptr) {
            ENGINE_LOG(1, "SelectionScene: \"%s\" builds no sprite", name);
            continue;
        }
        badge->SetX(kBadgeX);
        badge->SetAlpha(0);
        Give(badge, new ModifierValue(0, 255, kBadgeFadeMs), Modifier::kBlockFollowing);
        if (std::string(name) == "SPRITE_NEW_GLOW") {
            Give(badge, new ModifierPulse(255, 80, {300, 400, 0, 0}, 0));
        }
        classicButton_->AddChild(badge);
    }
}

bool SelectionScene::HasRecentSavegame(const KR2Player* player) {
    const Players* players = Players::Instance();
    return player != nullptr && players != nullptr && players->HasSaveGame(*player, "kr2");
}

Dialog* SelectionScene::Show(const std::string& definitionName, Scene* scene) {
    if (scene == nullptr) {
        return nullptr;
    }
    Dialog* dialog = scene->GetDialog(definitionName, true, "");
    if (dialog == nullptr) {
        ENGINE_LOG(1, "SelectionScene: no dialog \"%s\" to show", definitionName.c_str());
        return nullptr;
    }
    scene->ShowDialog(dialog);
    return dialog;
}

void SelectionScene::SwitchTo(const std::string& sceneName, const std::string& transitionName) {
    SwitchToScene(sceneName, transitionName);
}

int32_t SelectionScene::StartAdventure(void*, GameNode*) {
    if (SectionManager* sections = SectionManager::Instance()) {
        sections->ClearLoadQueue();
    }
    if (SelectionLinks* links = SelectionLinks::Installed()) {
        links->RequestMapSections();
    } else {
        ENGINE_LOG(1, "SelectionScene: no one queues the map's sections");
    }
    SwitchTo("SCENE_MAP", "TRANSITION_DEFAULT");
    return 0;
}

int32_t SelectionScene::AskResumeSavegame(void* context, GameNode*) {
    SelectionScene* scene = SceneOf(context);
    if (!IsClassicUnlocked()) {
        if (SelectionLinks* links = SelectionLinks::Installed()) {
            links->ShowHint(SelectionLinks::kClassicLockedHint, CurrentDialogScene());
        } else {
            ENGINE_LOG(1, "SelectionScene: the classic games are locked and no hint can say so");
        }
        return 0;
    }
    KR2Player* player = CurrentPlayer();
    player->classicClicked = true;
    if (!HasRecentSavegame(player) || scene == nullptr) {
        return StartClassicScene(context, nullptr);
    }
    void* self = static_cast<Object*>(scene);
    YesNoDialog* question = YesNoDialog::Ask(kSavegameQuestion, "TEXT_SAVEGAME_HEADER", self, ResumeSavegame, self,
                                             StartClassicScene, scene);
    if (question == nullptr) {
        return 0;
    }
    if (Button* yes = question->GetYesButton()) {
        yes->SetToolTip(Text("TOOLTIP_SAVEGAME_YES"));
    }
    if (Button* no = question->GetNoButton()) {
        no->SetToolTip(Text("TOOLTIP_SAVEGAME_NO"));
    }
    scene->ShowDialog(question);
    return 0;
}

int32_t SelectionScene::StartClassicScene(void*, GameNode*) {
    if (SectionManager* sections = SectionManager::Instance()) {
        sections->ClearLoadQueue();
    }
    if (SceneManager* manager = SceneManager::Instance()) {
        manager->RequestSectionAfterLeaving("classic");
    }
    SwitchTo("SCENE_CLASSIC", "TRANSITION_DEFAULT");
    return 0;
}

int32_t SelectionScene::ResumeSavegame(void*, GameNode*) {
    if (SelectionLinks* links = SelectionLinks::Installed()) {
        links->SetResumeSavegame();
    } else {
        ENGINE_LOG(1, "SelectionScene: no game scene to resume the save game");
    }
    if (SectionManager* sections = SectionManager::Instance()) {
        sections->ClearLoadQueue();
    }
    if (SceneManager* manager = SceneManager::Instance()) {
        manager->RequestSectionAfterLeaving("gamescene");
    }
    SwitchTo("SCENE_GAME", "TRANSITION_SPECIAL");
    return 0;
}

int32_t SelectionScene::OpenHelp(void* context, GameNode*) {
    Show("DIALOG_HELP", SceneOf(context));
    return 0;
}

int32_t SelectionScene::OpenSettings(void* context, GameNode*) {
    Show("DIALOG_SETTINGS", SceneOf(context));
    return 0;
}

int32_t SelectionScene::OpenPlayerSelect(void* context, GameNode*) {
    Show("DIALOG_PLAYERSELECT", SceneOf(context));
    return 0;
}

int32_t SelectionScene::OpenTrophyScreen(void*, GameNode*) {
    Show("DIALOG_TROPHY_SCREEN", CurrentDialogScene());
    return 0;
}
