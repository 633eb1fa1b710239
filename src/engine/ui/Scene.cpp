#include "engine/ui/Scene.h"

#include <algorithm>

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Property.h"
#include "engine/media/Canvas.h"
#include "engine/media/GameWindow.h"
#include "engine/media/InputDispatcher.h"
#include "engine/scene/AnimationTree.h"
#include "engine/scene/DeletePass.h"
#include "engine/scene/DialogTable.h"
#include "engine/scene/RenderPass.h"
#include "engine/scene/UpdatePass.h"
#include "engine/ui/ControlSupport.h"
#include "engine/ui/FullScreenHandler.h"
#include "engine/ui/SceneManager.h"
#include "engine/ui/ToolTip.h"
#include "platform/Window.h"
#include "platform/WindowTypes.h"

namespace {

// A plain scene stands in for a game scene whose own class is not there yet.
const ClassRegistration registration("Scene", CreateFromProperty<Scene>);

}  // namespace

Scene::Scene(Property* definition)
    : Dialog(definition), root_(new GameNode), animationTree_(new AnimationTree), dispatcher_(new InputDispatcher) {
    root_->AddChild(GetComponentNode());
    GetComponentNode()->SetRemoved(false);
    renderPass_ = new RenderPass(root_.Get());
    dispatcher_->AddList(GetListenerList());
    updatePass_ = new UpdatePass(root_.Get(), animationTree_.Get());
    deletePass_ = new DeletePass(root_.Get(), animationTree_.Get());
    if (definition != nullptr) {
        SetName(definition->Name());
    }
    sceneDefinition_ = definition;
}

Scene::~Scene() {
    if (GameWindow* window = GameWindow::Instance()) {
        window->GetListeners()->RemoveListener(dispatcher_.Get());
    }
    dispatcher_ = nullptr;
    updatePass_ = nullptr;
    renderPass_ = nullptr;
    deletePass_ = nullptr;
    sceneDefinition_ = nullptr;
    root_ = nullptr;
    animationTree_ = nullptr;
    shownDialogs_.clear();
    dialogs_.clear();
}

void Scene::Build() {
    // Added one by one: a component may take parts built before it.
    BuildElements(sceneDefinition_.Get(), "scenecomponents", [this](GameNode& component) { AddChild(&component); });
    sceneDefinition_ = nullptr;
    const DialogTable* table = DialogTable::Instance();
    Property* entry = table != nullptr ? table->FindDialogDefinition(GetName()) : nullptr;
    if (entry == nullptr || Property::Child(entry, "scenebackground") == nullptr) {
        return;
    }
    if (const Ref<Surface> background = FindDefinitionImage(entry, "scenebackground")) {
        SetBackground(background.Get());
    }
}

void Scene::Activate() {
    if (buildState_ == kNotBuilt) {
        Build();
        buildState_ = kBuilt;
    }
    if (!IsLayoutDirty()) {
        SetLayoutDirty();
        SetDirty(true);
    }
    SetActive(true);
    if (const SceneManager* manager = SceneManager::Instance(); manager != nullptr && manager->GetToolTip() != nullptr) {
        manager->GetToolTip()->SetRoot(root_.Get());
    }
    if (GameWindow* window = GameWindow::Instance()) {
        window->GetListeners()->AddListener(dispatcher_.Get());
    }
    // Whatever reached the dispatcher while the scene was not current is stale.
    dispatcher_->ClearEvents();
}

void Scene::Deactivate() {
    if (GameWindow* window = GameWindow::Instance()) {
        window->GetListeners()->RemoveListener(dispatcher_.Get());
    }
    RunDeletePass();
}

void Scene::RequestQuit() {
    if (GameWindow* window = GameWindow::Instance()) {
        platform::DefWindowProc(window->GetHwnd(), platform::WM_CLOSE, 0, 0);
    }
}

void Scene::Draw(Canvas& canvas) {
    if (Surface* background = GetBackground()) {
        canvas.Blit(*background, 0, 0);
    }
}

Dialog* Scene::GetDialog(const std::string& definitionName, bool flag, const std::string& instanceName) {
    const std::string& name = instanceName.empty() ? definitionName : instanceName;
    if (const auto found = dialogs_.find(name); found != dialogs_.end()) {
        Dialog* dialog = found->second.Get();
        if (IsShown(dialog)) {
            HideDialog(dialog);
        }
        return dialog;
    }
    const DialogTable* table = DialogTable::Instance();
    const Ref<Object> created(table != nullptr ? table->CreateDialog(definitionName) : nullptr);
    Dialog* dialog = ObjectCast<Dialog>(created.Get());
    if (dialog == nullptr) {
        ENGINE_LOG(1, "Scene: \"%s\" builds no dialog", definitionName.c_str());
        return nullptr;
    }
    dialog->SetModal(flag);
    dialog->SetName(name);
    dialogs_[name] = dialog;
    return dialog;
}

void Scene::ShowDialog(Dialog* dialog) {
    if (dialog == nullptr) {
        return;
    }
    root_->AddChild(dialog);
    dialog->SetRemoved(false);
    shownDialogs_.emplace_back(dialog);
    dispatcher_->AddList(dialog->GetListenerList());
    dialog->GetListenerList()->HoldKeys(kNewKeyHoldMs);
    dialog->OnShow();
    // The window's buttons stay above every dialog.
    FullScreenHandler::AttachToScene();
}

void Scene::HideDialog(Dialog* dialog) {
    if (dialog == nullptr) {
        return;
    }
    dialog->OnHide();
    dialog->SetRemoved(true);
    // A hidden dialog kept for later holds no pictures of its own meanwhile.
    dialog->ReleaseBuffers();
    dispatcher_->RemoveList(dialog->GetListenerList());
    const auto shown = std::find_if(shownDialogs_.begin(), shownDialogs_.end(),
                                    [dialog](const Ref<Dialog>& entry) { return entry.Get() == dialog; });
    if (shown != shownDialogs_.end()) {
        shownDialogs_.erase(shown);
    }
}

void Scene::CloseDialog(Dialog* dialog) {
    if (dialog == nullptr) {
        return;
    }
    const auto found = dialogs_.find(dialog->GetName());
    if (found == dialogs_.end() || found->second.Get() != dialog) {
        return;
    }
    const Ref<Dialog> keep(dialog);
    HideDialog(dialog);
    dialogs_.erase(found);
}

bool Scene::IsDialogShown(const std::string& instanceName) const {
    const auto found = dialogs_.find(instanceName);
    return found != dialogs_.end() && IsShown(found->second.Get());
}

bool Scene::IsShown(const Dialog* dialog) const {
    return std::any_of(shownDialogs_.begin(), shownDialogs_.end(),
                       [dialog](const Ref<Dialog>& entry) { return entry.Get() == dialog; });
}

void Scene::RunFrame(int32_t elapsedMs) {
    const auto dt = static_cast<uint32_t>(std::max(elapsedMs, 0));
    dispatcher_->PassTime(dt);
    dispatcher_->DispatchFrame();
    Update(elapsedMs);
    updatePass_->Update(dt);
    renderPass_->Update(dt);
}

void Scene::RunDeletePass() { deletePass_->Update(0); }

void Scene::DrawInto(Canvas& canvas) {
    if (IsVisible()) {
        Draw(canvas);
    }
    RenderPass::DrawNodeTree(canvas, *root_);
}
