#pragma once

#include <cstdint>

#include "engine/foundation/Object.h"
#include "engine/foundation/Ref.h"

class Scene;

// The program's run: start-up, the main loop, and the references to the
// two scenes that game code reaches through it. One instance, made by
// Create and dropped by Destroy.
class Application : public Object {
    ENGINE_CLASS(Application, Object)

public:
    // How long start-up waits for the sections "splash" and "music".
    static constexpr uint32_t kStartSectionsWaitLimitMs = 60000;

    static Application* Create();
    static Application* Instance();
    // Drops the instance with its scene references.
    static void DestroyInstance();

    // Start-up and the main loop: 1 when the game did not start (another
    // copy runs, its lock cannot be taken, its constants, map, resource
    // list, word list or scenes could not be made, or its first sections
    // did not load); otherwise the quit message's code: 1 after a game
    // window that could not be made, 0 for every other end.
    int Run();
    // True once start-up is through: the run's end then saves.
    bool HasStarted() const { return started_; }

    Scene* GetMapScene() const { return mapScene_.Get(); }
    Scene* GetGameScene() const { return gameScene_.Get(); }

private:
    // False when this copy must not run.
    bool StartUp();

    Ref<Scene> mapScene_;
    Ref<Scene> gameScene_;
    bool started_ = false;
};

// After the run: after a run that started, saves the high scores and the
// players and gives up the display; then releases every service in its
// fixed order.
void ShutDown(bool started);

// Create, Run, DestroyInstance and ShutDown, as the program entry runs them; the
// result is the exit code.
int RunApplication();

// Takes and dispatches every waiting window message; when none waits it
// sleeps while the window is inactive and otherwise runs one frame. Ends at
// the quit message and gives its exit code.
int RunMainLoop();
