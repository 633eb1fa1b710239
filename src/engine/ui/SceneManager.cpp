#include "engine/ui/SceneManager.h"

#include <utility>

#include "engine/foundation/SectionManager.h"
#include "engine/media/InputDispatcher.h"
#include "engine/ui/Scene.h"
#include "engine/ui/SceneTransition.h"
#include "engine/ui/ToolTip.h"

namespace {

Ref<SceneManager>& Holder() {
    static Ref<SceneManager> holder;
    return holder;
}

}  // namespace

SceneManager* SceneManager::Create() {
    Holder() = new SceneManager;
    RenderPass::SetCurrentSceneSource(Holder().Get());
    GameWindow::SetCloseRequestTarget(Holder().Get());
    KeyStates::SetSource(Holder().Get());
    return Holder().Get();
}

SceneManager* SceneManager::Instance() { return Holder().Get(); }

void SceneManager::ReleaseInstance() {
    if (!Holder()) {
        return;
    }
    RenderPass::SetCurrentSceneSource(nullptr);
    GameWindow::SetCloseRequestTarget(nullptr);
    KeyStates::SetSource(nullptr);
    Holder().Reset();
}

SceneManager::~SceneManager() {
    previous_ = nullptr;
    current_ = nullptr;
    next_ = nullptr;
    transition_ = nullptr;
    toolTip_ = nullptr;
    scenes_.clear();
}

void SceneManager::AddScene(const std::string& name, Scene* scene) {
    if (scene != nullptr) {
        scene->SetName(name);
        scenes_[name] = scene;
    }
}

Scene* SceneManager::FindScene(const std::string& name) const {
    const auto found = scenes_.find(name);
    return found != scenes_.end() ? found->second.Get() : nullptr;
}

void SceneManager::RequestSwitch(Scene* scene, SceneTransition* transition) {
    next_ = scene;
    if (transition != nullptr) {
        transition_ = transition;
    }
}

void SceneManager::RequestSectionAfterLeaving(const std::string& name) {
    CallAfterLeaving([name] {
        if (SectionManager* sections = SectionManager::Instance()) sections->RequestSection(name);
    });
}

void SceneManager::CallAfterLeaving(std::function<void()> request) {
    afterLeaving_.push_back(std::move(request));
    if (!current_) {
        RunRequestsHeldForTheSwitch();
    }
}

void SceneManager::RunRequestsHeldForTheSwitch() {
    for (const std::function<void()>& request : std::exchange(afterLeaving_, {})) request();
}

void SceneManager::Update(uint32_t elapsedMs) {
    DropRemovedScenes();
    if (!current_) {
        if (!next_) {
            return;
        }
        ApplySwitch();  // the first scene's frame runs at once
    } else if (current_->GetBuildState() == Scene::kCurrent) {
        if (next_) {
            ApplySwitch();  // the new scene's first frame runs in the next update
            return;
        }
        if (previous_ && previous_->GetBuildState() == Scene::kCurrent) {
            previous_->Deactivate();
            previous_->SetBuildState(Scene::kBuilt);
        }
        RunRequestsHeldForTheSwitch();
    }
    const Ref<Scene> scene = current_;
    scene->RunFrame(static_cast<int32_t>(elapsedMs));
    if (const Ref<ToolTip> toolTip = toolTip_) {
        toolTip->Update(elapsedMs);
    }
    scene->RunDeletePass();
}

void SceneManager::SetToolTip(ToolTip* toolTip) {
    if (toolTip == toolTip_.Get()) {
        return;
    }
    const Ref<ToolTip> keep(toolTip);
    if (Scene* showing = next_ ? next_.Get() : current_.Get(); showing != nullptr && toolTip != nullptr) {
        toolTip->SetRoot(showing->GetRootNode());
    }
    const auto relist = [this, toolTip](InputListenerList* list) {
        if (toolTip_) list->RemoveListener(toolTip_.Get());
        if (toolTip != nullptr) {
            list->RemoveListener(toolTip);
            list->AddListener(toolTip, false);
        }
    };
    for (const auto& [name, scene] : scenes_) {
        relist(scene->GetListenerList());
        for (const auto& [dialogName, dialog] : scene->GetDialogMap()) {
            relist(dialog->GetListenerList());
        }
    }
    toolTip_ = toolTip;
}

void SceneManager::DropRemovedScenes() {
    for (auto entry = scenes_.begin(); entry != scenes_.end();) {
        if (entry->second->IsRemoved() && entry->second->GetBuildState() != Scene::kCurrent) {
            entry = scenes_.erase(entry);
        } else {
            ++entry;
        }
    }
}

void SceneManager::ApplySwitch() {
    const Ref<SceneTransition> transition = transition_;
    const bool transitionIsCurrent = transition && current_.Get() == transition.Get();
    const bool useTransition = transition && !transitionIsCurrent;
    Ref<Scene> newCurrent;
    if (useTransition) {
        transition->SetScenes(current_.Get(), next_.Get());
        newCurrent = transition.Get();
    } else {
        newCurrent = next_;
        if (transitionIsCurrent) {
            transition_ = nullptr;
        }
    }
    // Without a transition to wait in, the scene entered needs its sections now.
    if (!useTransition || !current_) {
        RunRequestsHeldForTheSwitch();
    }
    previous_ = current_;
    current_ = newCurrent;
    next_ = nullptr;
    // A finished transition has activated its target itself.
    if (!transitionIsCurrent) {
        current_->Activate();
    }
    current_->SetBuildState(Scene::kCurrent);
}

Sprite* SceneManager::GetCurrentSceneSprite() { return current_.Get(); }

Scene* SceneManager::GetCloseTargetScene() const {
    if (const auto* transition = ObjectCast<SceneTransition>(current_.Get())) {
        return transition->GetTargetScene();
    }
    return current_.Get();
}

bool SceneManager::RequestQuitOfCurrentScene() {
    const Ref<Scene> scene = GetCloseTargetScene();
    if (!scene) {
        return false;
    }
    scene->RequestQuit();
    return true;
}

bool SceneManager::IsKeyDown(uint32_t virtualKey) const {
    return current_ && current_->GetInputDispatcher()->IsKeyDown(virtualKey);
}
