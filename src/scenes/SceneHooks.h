#pragma once

#include <functional>

// What the game's scenes ask of start-up, which lies above them. Start-up
// sets it; tests set their own.
struct SceneHooks {
    // The quit question; unset, closing the window closes it.
    std::function<void()> askQuit;
};

SceneHooks& GetSceneHooks();
