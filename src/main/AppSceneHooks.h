#pragma once

#include "game/dialogs/GameSceneHooks.h"
#include "scenes/SelectionLinks.h"

// The dialogs' and the menu's hooks for the whole program: the menu greets a
// new current player, opens the trophy screen and starts the map or a saved
// game; the game scene answers for its level.
class AppSceneHooks : public GameSceneHooks, public SelectionLinks {
public:
    bool IsGameScene(const Scene* scene) const override;
    bool IsMapScene(const Scene* scene) const override;
    void OnDialogOpened(Scene* scene, Dialog* dialog) override;
    void OnDialogClosed(Dialog* dialog) override;
    void OnLevelStopped() override;
    void OpenTrophyScreen(Scene* scene) override;
    void ArrangeLetters() override;
    void ShowWelcome(Scene* scene, bool animate) override;

    // SelectionLinks
    void RequestMapSections() override;
    void SetResumeSavegame() override;
    void ClearReturnFromGame() override;
    void ShowHint(int32_t hintId, Scene* scene) override;
};
