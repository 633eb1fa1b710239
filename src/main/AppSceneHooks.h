#pragma once

#include "game/dialogs/GameSceneHooks.h"

// The dialogs' hooks for the whole program: the menu greets a new current
// player and opens the trophy screen; the game scene answers for its level.
class AppSceneHooks : public GameSceneHooks {
public:
    bool IsGameScene(const Scene* scene) const override;
    bool IsMapScene(const Scene* scene) const override;
    void OnDialogOpened(Scene* scene, Dialog* dialog) override;
    void OnDialogClosed(Dialog* dialog) override;
    void OnLevelStopped() override;
    void OpenTrophyScreen(Scene* scene) override;
    void ArrangeLetters() override;
    void ShowWelcome(Scene* scene, bool animate) override;
};
