#include "main/AppSceneHooks.h"

#include "engine/ui/SceneManager.h"
#include "game/dialogs/HintDialog.h"
#include "main/Application.h"
#include "scenes/GameScene.h"
#include "scenes/MapScene.h"
#include "scenes/SelectionScene.h"

namespace {

// What concerns a level the game scene answers.
GameScene* Game() {
    const Application* application = Application::Instance();
    return application != nullptr ? ObjectCast<GameScene>(application->GetGameScene()) : nullptr;
}

}  // namespace

bool AppSceneHooks::IsGameScene(const Scene* scene) const {
    const Application* application = Application::Instance();
    return scene != nullptr && application != nullptr && scene == application->GetGameScene();
}

bool AppSceneHooks::IsMapScene(const Scene* scene) const {
    const Application* application = Application::Instance();
    return scene != nullptr && application != nullptr && scene == application->GetMapScene();
}

void AppSceneHooks::OnDialogOpened(Scene* scene, Dialog* dialog) {
    if (GameScene* game = Game()) game->OnDialogOpened(scene, dialog);
}

void AppSceneHooks::OnDialogClosed(Dialog* dialog) {
    if (GameScene* game = Game()) game->OnDialogClosed(dialog);
}

void AppSceneHooks::OnLevelStopped() {
    if (GameScene* game = Game()) game->OnLevelStopped();
    // A level left through the menu is no return to the map.
    ClearReturnFromGame();
}

void AppSceneHooks::ArrangeLetters() {
    if (GameScene* game = Game()) game->ArrangeLetters();
}

void AppSceneHooks::OpenTrophyScreen(Scene*) { SelectionScene::OpenTrophyScreen(nullptr, nullptr); }

void AppSceneHooks::ShowWelcome(Scene* scene, bool animate) {
    SelectionScene::ShowWelcome(ObjectCast<SelectionScene>(scene), animate);
}

void AppSceneHooks::RequestMapSections() {
    if (SceneManager* manager = SceneManager::Instance()) {
        manager->CallAfterLeaving([] { MapScene::RequestMapSections(); });
    } else {
        MapScene::RequestMapSections();
    }
}

void AppSceneHooks::SetResumeSavegame() {
    if (GameScene* game = Game()) game->SetResumeFromSaveGame(true);
}

void AppSceneHooks::ClearReturnFromGame() {
    const Application* application = Application::Instance();
    if (auto* map = application != nullptr ? ObjectCast<MapScene>(application->GetMapScene()) : nullptr) {
        map->SetReturnFromGame(false);
    }
}

void AppSceneHooks::ShowHint(int32_t hintId, Scene*) { OpenHint(hintId, nullptr, nullptr); }
