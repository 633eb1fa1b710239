#pragma once

#include <cstdint>
#include <string>

#include "engine/foundation/Ref.h"
#include "engine/ui/Scene.h"

class Button;
class GameNode;
class KR2Player;
class TrophyScreenButton;

// The main menu. It greets the current player, shows a picture of the
// player's map section at the bottom and the classic button locked, new or
// plain, and leads to the map, the classic games or a saved game, and to
// the help, settings, trophy and player dialogs.
class SelectionScene : public Scene {
    ENGINE_CLASS(SelectionScene, Scene)

public:
    static constexpr size_t kWelcomeMaxLength = 199;
    static constexpr int32_t kBadgeX = 314;
    static constexpr int32_t kBottomFadeMs = 600;
    static constexpr int32_t kBadgeFadeMs = 500;
    // The save-game question's instance name is its question text id.
    static constexpr const char* kSavegameQuestion = "TEXT_START_RECENT_SAVEGAME";

    explicit SelectionScene(Property* definition);
    ~SelectionScene() override;

    void Build() override;
    void Activate() override;
    void Deactivate() override;
    void RequestQuit() override;

    // Greets the current player and updates the bottom picture and the
    // classic button; `animate` cross-fades the bottom picture.
    static void ShowWelcome(SelectionScene* scene, bool animate);
    static void UpdateClassicButton(SelectionScene* scene, bool animate);
    static bool HasRecentSavegame(const KR2Player* player);
    // The current player's missions won reach GAMES_WON_BEFORE_CLASSIC.
    static bool IsClassicUnlocked();

    static int32_t StartAdventure(void* context, GameNode* sender);
    static int32_t AskResumeSavegame(void* context, GameNode* sender);
    static int32_t StartClassicScene(void* context, GameNode* sender);
    static int32_t ResumeSavegame(void* context, GameNode* sender);
    static int32_t OpenHelp(void* context, GameNode* sender);
    static int32_t OpenSettings(void* context, GameNode* sender);
    static int32_t OpenPlayerSelect(void* context, GameNode* sender);
    static int32_t OpenTrophyScreen(void* context, GameNode* sender);

    bool IsFirstActivation() const { return firstActivation_; }
    TrophyScreenButton* GetTrophyScreenButton() const { return trophyScreenButton_.Get(); }
    Button* GetClassicButton() const { return classicButton_; }
    Button* GetAdventureButton() const { return adventureButton_; }

private:
    // Shows a dialog of the dialog table in `scene`; null when it has none.
    static Dialog* Show(const std::string& definitionName, Scene* scene);
    // Queues the section, then switches to the scene through the transition.
    static void SwitchTo(const std::string& sceneName, const std::string& transitionName);
    void MakeTrophyScreenButton();
    void ChangeBottomPicture(bool animate);
    void AddNewBadges();
    // Gone, the menu hears no more pointer moves: a button the pointer was
    // on as it went would stay lit until the pointer crossed it again.
    void ReleaseHoveredButtons();

    bool firstActivation_ = true;
    Ref<TrophyScreenButton> trophyScreenButton_;
    Button* classicButton_ = nullptr;    // held by the scene tree
    Button* adventureButton_ = nullptr;  // held by the scene tree
};
