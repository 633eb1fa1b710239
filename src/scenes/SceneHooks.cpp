#include "scenes/SceneHooks.h"

SceneHooks& GetSceneHooks() {
    static SceneHooks hooks;
    return hooks;
}
