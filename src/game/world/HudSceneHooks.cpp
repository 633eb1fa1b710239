#include "game/world/HudSceneHooks.h"

namespace {

HudSceneHooks* installed = nullptr;

}  // namespace

HudSceneHooks& HudSceneHooks::Current() {
    static HudSceneHooks neutral;
    return installed != nullptr ? *installed : neutral;
}

void HudSceneHooks::Install(HudSceneHooks* hooks) { installed = hooks; }
