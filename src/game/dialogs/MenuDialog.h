#pragma once

#include <cstdint>

#include "game/dialogs/KR2Dialog.h"

// The in-game menu: help, settings, the trophy cabinet, stopping the current
// game after a question, and resuming.
class MenuDialog : public KR2Dialog {
    ENGINE_CLASS(MenuDialog, KR2Dialog)

public:
    // Binds "BUTTON_HELP", "BUTTON_SETTINGS", "BUTTON_STOP", "BUTTON_TROPHY"
    // and "BUTTON_RESUME"; a missing one is logged and left out.
    explicit MenuDialog(Property* definition);

    void OnShow() override { ShowAndFadeIn(); }

    static int32_t OnHelp(void* menu, GameNode* sender);
    static int32_t OnSettings(void* menu, GameNode* sender);
    static int32_t OnStop(void* menu, GameNode* sender);
    static int32_t OnStopConfirmed(void* context, GameNode* sender);
    static int32_t OnTrophies(void* menu, GameNode* sender);
    static int32_t OnResume(void* menu, GameNode* sender);
};

// Opens the dialog of that definition in the current scene, on top.
Dialog* OpenDialogInCurrentScene(const std::string& definitionName);
