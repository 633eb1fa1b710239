#include "game/world/GameSceneHooks.h"

namespace {

GameSceneHooks* installed = nullptr;

}  // namespace

GameSceneHooks& GameSceneHooks::Current() {
    static GameSceneHooks neutral;
    return installed != nullptr ? *installed : neutral;
}

void GameSceneHooks::Install(GameSceneHooks* hooks) { installed = hooks; }
