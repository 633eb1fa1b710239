#include "engine/ui/FullScreenHandler.h"

#include "engine/foundation/ClassFactory.h"
#include "engine/foundation/Logger.h"
#include "engine/foundation/Property.h"
#include "engine/foundation/RegistrySettings.h"
#include "engine/foundation/Settings.h"
#include "engine/media/FrameTimer.h"
#include "engine/media/GameWindow.h"
#include "engine/media/InputDispatcher.h"
#include "engine/media/InputListenerList.h"
#include "engine/media/SoundAvailable.h"
#include "engine/media/SoundManager.h"
#include "engine/scene/DialogTable.h"
#include "engine/ui/Button.h"
#include "engine/ui/Scene.h"
#include "engine/ui/SceneManager.h"
#include "engine/ui/SceneTransition.h"

namespace {

const ClassRegistration registration("FullScreenHandler", CreateFromProperty<FullScreenHandler>);

Ref<FullScreenHandler>& DefaultHandler() {
    static Ref<FullScreenHandler> handler;
    return handler;
}

int32_t QuitPressed(void*, GameNode*) {
    if (SceneManager* manager = SceneManager::Instance()) {
        manager->RequestQuitOfCurrentScene();
    }
    return 0;
}

int32_t RestorePressed(void*, GameNode*) {
    if (GameWindow* window = GameWindow::Instance()) {
        window->ToggleFullScreen();
    }
    return 0;
}

int32_t MinimizePressed(void*, GameNode*) {
    if (GameWindow* window = GameWindow::Instance()) {
        window->Minimize();
    }
    return 0;
}

}  // namespace

FullScreenHandler::FullScreenHandler(Property* definition)
    : GameNode(definition), inputList_(new InputListenerList), dispatcher_(new InputDispatcher) {
    GameWindow* window = GameWindow::Instance();
    if (window != nullptr) {
        window->GetListeners()->AddListener(this);
    }
    dispatcher_->AddList(inputList_.Get());
    if (FrameTimer* timer = FrameTimer::Instance()) {
        timer->AddListener(dispatcher_.Get());
    }
    if (window != nullptr) {
        window->GetListeners()->AddListener(dispatcher_.Get());
    }
    int32_t widthSoFar = 0;
    quit_ = PlaceButton(definition, "button_quit", widthSoFar);
    if (window != nullptr && window->IsModeSwitchAllowed()) {
        restore_ = PlaceButton(definition, "button_restore", widthSoFar);
    }
    minimize_ = PlaceButton(definition, "button_minimize", widthSoFar);
    if (quit_) quit_->SetCallback(this, QuitPressed);
    if (restore_) restore_->SetCallback(this, RestorePressed);
    if (minimize_) minimize_->SetCallback(this, MinimizePressed);
}

FullScreenHandler::~FullScreenHandler() {
    // No window message or frame may reach the handler's parts once it is gone.
    if (GameWindow* window = GameWindow::Instance()) {
        window->GetListeners()->RemoveListener(this);
        window->GetListeners()->RemoveListener(dispatcher_.Get());
    }
    if (FrameTimer* timer = FrameTimer::Instance()) {
        timer->RemoveListener(dispatcher_.Get());
    }
    dispatcher_->RemoveList(inputList_.Get());
    for (const Ref<Button>& button : {minimize_, restore_, quit_}) {
        if (button) inputList_->RemoveListener(button.Get());
    }
}

Ref<Button> FullScreenHandler::PlaceButton(Property* definition, const char* childName, int32_t& widthSoFar) {
    Property* child = &Property::NodeOf(Property::Child(definition, childName));
    const Ref<Object> built(ClassFactory::Instance().Create(child));
    Ref<Button> button(ObjectCast<Button>(built.Get()));
    if (!button) {
        ENGINE_LOG(1, "FullScreenHandler: \"%s\" builds no button", childName);
        return button;
    }
    inputList_->AddListener(button.Get(), true);
    AddChild(button.Get());
    button->SetRemoved(false);
    widthSoFar += button->GetWidth();
    button->SetX(-widthSoFar);
    return button;
}

FullScreenHandler* FullScreenHandler::CreateDefault() {
    const DialogTable* table = DialogTable::Instance();
    const Ref<Object> built(table != nullptr ? table->CreateObject("DEFAULT_FSH") : nullptr);
    DefaultHandler() = ObjectCast<FullScreenHandler>(built.Get());
    if (!DefaultHandler()) {
        ENGINE_LOG(1, "FullScreenHandler: \"DEFAULT_FSH\" builds no full-screen handler");
    }
    return DefaultHandler().Get();
}

FullScreenHandler* FullScreenHandler::GetDefault() { return DefaultHandler().Get(); }

void FullScreenHandler::ReleaseDefault() {
    if (FullScreenHandler* handler = DefaultHandler().Get()) {
        // A scene's root may still hold it; it must not outlive the services it left.
        handler->RemoveFromParent();
    }
    DefaultHandler().Reset();
}

bool FullScreenHandler::WindowIsFullScreen() {
    const GameWindow* window = GameWindow::Instance();
    return window != nullptr && window->IsFullScreen();
}

bool FullScreenHandler::TransitionRuns() {
    const SceneManager* manager = SceneManager::Instance();
    return manager != nullptr && ObjectCast<SceneTransition>(manager->GetCurrentScene()) != nullptr;
}

void FullScreenHandler::AttachToScene(Scene* scene) {
    FullScreenHandler* handler = DefaultHandler().Get();
    if (handler == nullptr) {
        return;
    }
    handler->SetVisible(handler->enabled_ && WindowIsFullScreen());
    Scene* target = scene;
    if (target == nullptr) {
        if (const SceneManager* manager = SceneManager::Instance()) {
            target = manager->GetCurrentScene();
        }
        if (const auto* transition = ObjectCast<SceneTransition>(target)) {
            target = transition->GetTargetScene();
        }
    }
    if (target == nullptr) {
        return;
    }
    target->GetRootNode()->AddChild(handler);
    handler->SetRemoved(false);
}

void FullScreenHandler::EnableInCurrentScene() {
    FullScreenHandler* handler = DefaultHandler().Get();
    if (handler == nullptr) {
        return;
    }
    handler->enabled_ = true;
    AttachToScene();
    handler->inputList_->SetOpenToAll(WindowIsFullScreen());
}

void FullScreenHandler::HideDuringTransition(Scene* target) {
    FullScreenHandler* handler = DefaultHandler().Get();
    if (handler == nullptr) {
        return;
    }
    handler->enabled_ = false;
    handler->inputList_->SetOpenToAll(false);
    AttachToScene(target);
}

void FullScreenHandler::ShowAfterTransition(Scene* target) {
    FullScreenHandler* handler = DefaultHandler().Get();
    if (handler == nullptr) {
        return;
    }
    handler->enabled_ = WindowIsFullScreen();
    handler->inputList_->SetOpenToAll(WindowIsFullScreen());
    AttachToScene(target);
}

void FullScreenHandler::OnMessage(uint32_t message, uint32_t firstParameter, uint32_t) {
    switch (message) {
        case GameWindow::GW_MODE_SWITCHED:
            if (RegistrySettings* settings = RegistrySettings::Instance()) {
                settings->GetSettings().SetFullScreen(firstParameter != 0);
                settings->Save();
            }
            // A scene entered in a window through a transition left the
            // handler disabled; outside a transition it is enabled again, so
            // its buttons are drawn whenever they take a click. A running
            // transition shows it at its end.
            if (!TransitionRuns()) {
                enabled_ = true;
            }
            AttachToScene();
            // In a window the title bar serves; the buttons take no input.
            inputList_->SetOpenToAll(enabled_ && WindowIsFullScreen());
            break;
        case GameWindow::GW_DEACTIVATED:
            if (IsSoundAvailable() && SoundManager::Get() != nullptr) {
                SoundManager::Get()->SetMuted(true);
            }
            break;
        case GameWindow::GW_ACTIVATED:
            if (IsSoundAvailable() && SoundManager::Get() != nullptr) {
                SoundManager::Get()->SetMuted(false);
            }
            break;
        default:
            break;
    }
}
