#include "game/dialogs/MenuDialog.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Players.h"
#include "engine/foundation/SectionManager.h"
#include "engine/scene/DialogTable.h"
#include "engine/ui/Scene.h"
#include "engine/ui/SceneManager.h"
#include "engine/ui/SceneTransition.h"
#include "game/dialogs/GameSceneHooks.h"
#include "game/dialogs/YesNoDialog.h"
#include "game/progress/KR2Player.h"

namespace {

const ClassRegistration registration("MenuDialog", CreateFromProperty<MenuDialog>);

bool IsGameScene(const Scene* scene) {
    const GameSceneHooks* hooks = GameSceneHooks::Installed();
    return hooks != nullptr && hooks->IsGameScene(scene);
}

// The stop question fitting where the player is: on the map, in an
// adventure level or in a classic game.
const char* StopQuestion(const Scene* scene) {
    const GameSceneHooks* hooks = GameSceneHooks::Installed();
    if (hooks != nullptr && hooks->IsMapScene(scene)) {
        return "TEXT_MENU_STOP_MAPSCENE";
    }
    const Players* players = Players::Instance();
    const auto* player = ObjectCast<KR2Player>(players != nullptr ? players->GetCurrent() : nullptr);
    if (player != nullptr && player->currentTicket && player->currentTicket->GameMode == 0) {
        return "TEXT_MENU_STOP_ADVENTURE";
    }
    return "TEXT_MENU_STOP_CLASSIC";
}

}  // namespace

MenuDialog::MenuDialog(Property* definition) : KR2Dialog(definition) {
    const struct {
        const char* name;
        ControlCallback::Function handler;
    } buttons[] = {{"BUTTON_HELP", &MenuDialog::OnHelp},
                   {"BUTTON_SETTINGS", &MenuDialog::OnSettings},
                   {"BUTTON_STOP", &MenuDialog::OnStop},
                   {"BUTTON_TROPHY", &MenuDialog::OnTrophies},
                   {"BUTTON_RESUME", &MenuDialog::OnResume}};
    for (const auto& button : buttons) {
        GameNode* control = FindChild(button.name);
        if (control == nullptr) {
            ENGINE_LOG(1, "MenuDialog: no \"%s\"", button.name);
            continue;
        }
        BindControl(control, button.handler, static_cast<Object*>(this));
    }
}

Dialog* OpenDialogInCurrentScene(const std::string& definitionName) {
    Scene* scene = CurrentDialogScene();
    if (scene == nullptr) {
        return nullptr;
    }
    Dialog* dialog = scene->GetDialog(definitionName, true);
    scene->ShowDialog(dialog);
    return dialog;
}

int32_t MenuDialog::OnHelp(void*, GameNode*) {
    OpenDialogInCurrentScene("DIALOG_HELP");
    return 0;
}

int32_t MenuDialog::OnSettings(void*, GameNode*) {
    OpenDialogInCurrentScene("DIALOG_SETTINGS");
    return 0;
}

int32_t MenuDialog::OnTrophies(void*, GameNode*) {
    if (GameSceneHooks* hooks = GameSceneHooks::Installed()) {
        hooks->OpenTrophyScreen(CurrentDialogScene());
    }
    return 0;
}

int32_t MenuDialog::OnStop(void*, GameNode*) {
    Scene* scene = CurrentDialogScene();
    if (scene == nullptr) {
        return 0;
    }
    YesNoDialog* question = YesNoDialog::Ask(StopQuestion(scene), "TEXT_MENU_STOP_HEADER", nullptr,
                                             &MenuDialog::OnStopConfirmed, nullptr, nullptr, scene);
    if (question != nullptr) {
        scene->ShowDialog(question);
    }
    return 0;
}

int32_t MenuDialog::OnStopConfirmed(void*, GameNode*) {
    SceneManager* manager = SceneManager::Instance();
    Scene* selection = manager != nullptr ? manager->FindScene("SCENE_SELECTION") : nullptr;
    if (selection == nullptr) {
        ENGINE_LOG(1, "MenuDialog: no scene \"SCENE_SELECTION\" to stop to");
        return 0;
    }
    manager->RequestSectionAfterLeaving("selectionscene");
    const char* transitionName = "TRANSITION_DEFAULT";
    if (IsGameScene(CurrentDialogScene())) {
        if (GameSceneHooks* hooks = GameSceneHooks::Installed()) {
            hooks->OnLevelStopped();
        }
        transitionName = "TRANSITION_SPECIAL";
    }
    const DialogTable* table = DialogTable::Instance();
    const Ref<Object> transition(table != nullptr ? table->CreateDialog(transitionName) : nullptr);
    manager->RequestSwitch(selection, ObjectCast<SceneTransition>(transition.Get()));
    return 0;
}

int32_t MenuDialog::OnResume(void* menu, GameNode*) {
    if (auto* self = ObjectCast<MenuDialog>(static_cast<Object*>(menu))) {
        self->Close();
    }
    GameSceneHooks* hooks = GameSceneHooks::Installed();
    if (hooks != nullptr && hooks->IsGameScene(CurrentDialogScene())) {
        hooks->ArrangeLetters();
    }
    return 0;
}
