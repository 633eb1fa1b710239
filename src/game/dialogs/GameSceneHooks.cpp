#include "game/dialogs/GameSceneHooks.h"

#include "engine/ui/SceneManager.h"
#include "engine/ui/SceneTransition.h"

namespace {

GameSceneHooks* installed = nullptr;

}  // namespace

void GameSceneHooks::Install(GameSceneHooks* hooks) { installed = hooks; }

GameSceneHooks* GameSceneHooks::Installed() { return installed; }

Scene* CurrentDialogScene() {
    const SceneManager* manager = SceneManager::Instance();
    if (manager == nullptr) {
        return nullptr;
    }
    Scene* current = manager->GetCurrentScene();
    if (const auto* transition = ObjectCast<SceneTransition>(current); transition != nullptr) {
        return transition->GetTargetScene();
    }
    return current;
}
