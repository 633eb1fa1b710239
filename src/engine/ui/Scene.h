#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/foundation/Ref.h"
#include "engine/ui/Dialog.h"

class AnimationTree;
class DeletePass;
class GameNode;
class InputDispatcher;
class PropertyVector;
class RenderPass;
class UpdatePass;

// One screen of the game: a full-screen dialog that owns everything a frame
// needs (root node, passes, animation tree, input dispatcher) and the dialogs
// it has opened, by instance name. The scene manager runs its frame.
class Scene : public Dialog {
    ENGINE_CLASS(Scene, Dialog)

public:
    enum BuildState : int32_t { kNotBuilt = 0, kCurrent = 1, kBuilt = 2 };

    explicit Scene(Property* definition);
    ~Scene() override;

    // Only the background picture, at the origin; no frame.
    void Draw(Canvas& canvas) override;
    void OnShow() override { Activate(); }
    void OnHide() override { Deactivate(); }

    // Builds on the first call; opens the scene's input to the window and
    // drops what was queued while it was not current.
    virtual void Activate();
    // Closes the input and lets the delete pass run once.
    virtual void Deactivate();
    // Creates the "scenecomponents" and takes "scenebackground" from the
    // scene's entry in the dialog table. Runs once in a scene's life.
    virtual void Build();
    // What closing the window asks of the current scene: here the default
    // close, which destroys the window and so ends the loop.
    virtual void RequestQuit();

    // The dialog of that instance (default: the definition name), built from
    // the definition on first use; a shown one is hidden first. Not shown.
    Dialog* GetDialog(const std::string& definitionName, bool flag = true, const std::string& instanceName = "");
    // Links the dialog last under the root (over everything shown before)
    // and opens its input.
    void ShowDialog(Dialog* dialog);
    // Hides it; the map keeps it for the next GetDialog.
    void HideDialog(Dialog* dialog);
    // Hides it and forgets it.
    void CloseDialog(Dialog* dialog);
    bool IsDialogShown(const std::string& instanceName) const;

    int32_t GetBuildState() const { return buildState_; }
    void SetBuildState(int32_t state) { buildState_ = state; }
    GameNode* GetRootNode() const { return root_.Get(); }
    AnimationTree* GetAnimationTree() const { return animationTree_.Get(); }
    InputDispatcher* GetInputDispatcher() const { return dispatcher_.Get(); }
    const std::unordered_map<std::string, Ref<Dialog>>& GetDialogMap() const { return dialogs_; }
    const std::vector<Ref<Dialog>>& GetShownDialogs() const { return shownDialogs_; }

    // The frame the scene manager runs: input, the scene's update, the
    // update pass, the render pass, then the delete pass.
    void RunFrame(int32_t elapsedMs);
    void RunDeletePass();
    // Draws the scene's own picture (when visible) and its node tree.
    void DrawInto(Canvas& canvas);

private:
    bool IsShown(const Dialog* dialog) const;

    Ref<UpdatePass> updatePass_;
    Ref<RenderPass> renderPass_;
    Ref<DeletePass> deletePass_;
    Ref<GameNode> root_;
    Ref<AnimationTree> animationTree_;
    Ref<InputDispatcher> dispatcher_;
    int32_t buildState_ = kNotBuilt;
    std::unordered_map<std::string, Ref<Dialog>> dialogs_;
    std::vector<Ref<Dialog>> shownDialogs_;
    // Held until Build has made the "scenecomponents".
    Ref<Property> sceneDefinition_;
};
