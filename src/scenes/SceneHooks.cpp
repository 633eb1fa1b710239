#include "scenes/SceneHooks.h"

#include "engine/ui/Dialog.h"

SceneHooks& GetSceneHooks() {
    static SceneHooks hooks;
    return hooks;
}
