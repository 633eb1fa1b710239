#pragma once

#include <functional>
#include <string>

#include "engine/foundation/Ref.h"
#include "engine/ui/ControlCallback.h"

class Dialog;
class Scene;

// A yes/no question as a scene asks it: text ids, the two answers' handlers
// (each called with `context`) and the answers' tooltip text ids.
struct YesNoRequest {
    std::string textId;
    std::string headerId;
    ControlCallback::Function onYes = nullptr;
    ControlCallback::Function onNo = nullptr;
    void* context = nullptr;
    std::string yesToolTipId;
    std::string noToolTipId;
};

// What the game's scenes ask of code that lies above them (start-up) or is
// made elsewhere (the question dialog). Start-up sets them; tests set their own.
struct SceneHooks {
    // The quit question; unset, closing the window closes it.
    std::function<void()> askQuit;
    // Builds the question in `scene` and returns it, not yet shown; unset or
    // null, nothing is asked.
    std::function<Ref<Dialog>(Scene& scene, const YesNoRequest& request)> askYesNo;
};

SceneHooks& GetSceneHooks();
