#include "scenes/SceneSwitch.h"

#include "engine/foundation/Logger.h"
#include "engine/scene/DialogTable.h"
#include "engine/ui/SceneManager.h"
#include "engine/ui/SceneTransition.h"

void SwitchToScene(const std::string& sceneName, const std::string& transitionName) {
    SceneManager* manager = SceneManager::Instance();
    const DialogTable* table = DialogTable::Instance();
    if (manager == nullptr || table == nullptr) {
        return;
    }
    Scene* target = manager->FindScene(sceneName);
    if (target == nullptr) {
        ENGINE_LOG(1, "No scene \"%s\" to switch to", sceneName.c_str());
        return;
    }
    const Ref<Object> built(table->CreateDialog(transitionName));
    manager->RequestSwitch(target, ObjectCast<SceneTransition>(built.Get()));
}
