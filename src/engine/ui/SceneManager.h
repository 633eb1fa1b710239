#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/foundation/Ref.h"
#include "engine/foundation/Service.h"
#include "engine/media/GameWindow.h"
#include "engine/scene/RenderPass.h"
#include "engine/ui/KeyStates.h"

class Scene;
class SceneTransition;
class ToolTip;

// The per-frame service that holds every scene by name, switches between
// them (at once, or through a transition scene) and runs the current
// scene's frame. It is the first listener of the frame timer.
class SceneManager : public Service,
                     public CurrentSceneSource,
                     public CloseRequestTarget,
                     public KeyStates {
    ENGINE_CLASS(SceneManager, Service)

public:
    // Makes the one instance (with a reference, kept until ReleaseInstance)
    // and registers it as the current-scene source and close target.
    static SceneManager* Create();
    static SceneManager* Instance();
    static void ReleaseInstance();

    SceneManager() = default;
    ~SceneManager() override;

    // Names the scene and holds it under the name, replacing an earlier one.
    void AddScene(const std::string& name, Scene* scene);
    Scene* FindScene(const std::string& name) const;
    const std::unordered_map<std::string, Ref<Scene>>& GetScenes() const { return scenes_; }

    // A switch to `scene` in the next update; with a transition it is animated.
    void RequestSwitch(Scene* scene, SceneTransition* transition = nullptr);
    void SetNextScene(Scene* scene) { next_ = scene; }
    // A section the scene being switched to needs, asked of the section
    // manager once the scene left has been deactivated, so that what only
    // that scene held goes before the new one loads; the transition that
    // waits for loading waits for it. Asked at once when there is no scene
    // to leave or the switch has no transition.
    void RequestSectionAfterLeaving(const std::string& name);
    // The same for any asking of the loader (sections and prefetches).
    void CallAfterLeaving(std::function<void()> request);

    Scene* GetPreviousScene() const { return previous_.Get(); }
    Scene* GetCurrentScene() const { return current_.Get(); }
    Scene* GetNextScene() const { return next_.Get(); }
    SceneTransition* GetPendingTransition() const { return transition_.Get(); }

    // Installs the tooltip service: it gets the root of the scene about to
    // show and listens, last, to every scene's and dialog's input.
    void SetToolTip(ToolTip* toolTip);
    ToolTip* GetToolTip() const { return toolTip_.Get(); }

    // Drops removal-flagged scenes that are not current, applies a pending
    // switch, deactivates the scene left one update earlier and runs the
    // current scene's frame, with the tooltip after the render pass.
    void Update(uint32_t elapsedMs) override;

    Sprite* GetCurrentSceneSprite() override;
    // The scene a close of the window is for: the current scene or, while a
    // transition runs, the scene it leads to.
    Scene* GetCloseTargetScene() const;
    bool RequestQuitOfCurrentScene() override;
    // As the current scene's input dispatcher saw the keys.
    bool IsKeyDown(uint32_t virtualKey) const override;

private:
    void DropRemovedScenes();
    void ApplySwitch();
    void RunRequestsHeldForTheSwitch();

    std::unordered_map<std::string, Ref<Scene>> scenes_;
    Ref<Scene> previous_;
    Ref<Scene> current_;
    Ref<Scene> next_;
    Ref<SceneTransition> transition_;
    Ref<ToolTip> toolTip_;
    std::vector<std::function<void()>> afterLeaving_;
};
