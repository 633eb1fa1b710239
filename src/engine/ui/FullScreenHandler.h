#pragma once

#include <cstdint>

#include "engine/foundation/ListenerList.h"
#include "engine/foundation/Ref.h"
#include "engine/scene/GameNode.h"

class Button;
class InputDispatcher;
class InputListenerList;
class Property;
class Scene;

// In full screen there is no title bar, so this node shows quit, restore
// and minimise buttons at the top right of the picture. It moves into each
// scene as the scene becomes current and serves its buttons through an
// input dispatcher of its own. As a listener of the window it keeps the
// full-screen setting in step with the mode and silences sound while the
// window is inactive.
class FullScreenHandler : public GameNode, public MessageListener {
    ENGINE_CLASS(FullScreenHandler, GameNode)

public:
    // Buttons from the children "button_quit", "button_restore" (only when
    // the window may change mode) and "button_minimize", right-aligned at
    // the node's origin from right to left in that order.
    explicit FullScreenHandler(Property* definition);
    ~FullScreenHandler() override;

    // Builds "DEFAULT_FSH" from the dialog table's named objects and keeps
    // it as the default handler; null when it builds no handler.
    static FullScreenHandler* CreateDefault();
    static FullScreenHandler* GetDefault();
    // Shutdown: drops the default handler.
    static void ReleaseDefault();

    // Shows the default handler only when it is enabled and the window is
    // full screen, and links it last under the scene's root (default: the
    // current scene, or a transition's target scene).
    static void AttachToScene(Scene* scene = nullptr);
    // What a scene does as it becomes current: enables the default handler,
    // moves it in and lets its buttons take input in full screen only.
    static void EnableInCurrentScene();
    // While a transition runs the handler stays hidden and takes no input;
    // it already stands in the target scene.
    static void HideDuringTransition(Scene* target);
    // At the transition's end it shows again in full screen.
    static void ShowAfterTransition(Scene* target);

    void OnMessage(uint32_t message, uint32_t firstParameter, uint32_t secondParameter) override;

    bool IsEnabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    InputListenerList* GetInputList() const { return inputList_.Get(); }
    InputDispatcher* GetInputDispatcher() const { return dispatcher_.Get(); }
    Button* GetQuitButton() const { return quit_.Get(); }
    Button* GetRestoreButton() const { return restore_.Get(); }
    Button* GetMinimizeButton() const { return minimize_.Get(); }

private:
    Ref<Button> PlaceButton(Property* definition, const char* childName, int32_t& widthSoFar);
    static bool WindowIsFullScreen();
    static bool TransitionRuns();

    Ref<InputListenerList> inputList_;
    Ref<InputDispatcher> dispatcher_;
    Ref<Button> minimize_;
    Ref<Button> restore_;
    Ref<Button> quit_;
    bool enabled_ = false;
};
