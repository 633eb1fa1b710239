#pragma once

#include <cstdint>

#include "engine/foundation/Ref.h"
#include "engine/ui/Scene.h"

class Sprite;

// A scene the manager makes current between two scenes: it shows pictures
// of the scene left (source) and the scene entered (target), animates
// between them, activates the target and finally hands it to the manager.
class SceneTransition : public Scene {
    ENGINE_CLASS(SceneTransition, Scene)

public:
    // Scene's keys; two sprites at (0, 0) (source below, target above) are
    // linked under the root node. Their pictures, the size of the window,
    // exist only while the transition is active: a transition made for a
    // switch holds no screen until it runs.
    explicit SceneTransition(Property* definition);
    ~SceneTransition() override;

    virtual void SetScenes(Scene* source, Scene* target);
    // The source stops acting before the transition takes the screen.
    void Activate() override;
    // An ended transition stays the manager's previous scene until the next
    // switch: its screen pictures (and colour screen) are let go of here and
    // made anew when it is activated again.
    void Deactivate() override;
    // Activates the target (building it the first time) but keeps it from
    // acting while the transition still shows.
    virtual void PrepareTarget();
    // Makes the target the manager's next scene and, when flagged, lets it act.
    virtual void Finish();
    // The end of every transition's animation; the context is the transition.
    static void OnAnimationEnd(SceneTransition& transition) { transition.Finish(); }

    // The picture of each scene into its sprite: the back surface (for the
    // source), then the scene's own picture when it is visible and its node
    // tree.
    void DrawSourceScene();
    void DrawTargetScene();

    Scene* GetSourceScene() const { return source_; }
    Scene* GetTargetScene() const { return target_; }
    Sprite* GetSourceSprite() const { return sourceSprite_.Get(); }
    Sprite* GetTargetSprite() const { return targetSprite_.Get(); }
    void SetActivateOnFinish(bool activate) { activateOnFinish_ = activate; }
    // The window's size, which the screen pictures take.
    static int32_t ScreenWidth();
    static int32_t ScreenHeight();

protected:
    // A callback modifier that ends the transition.
    Ref<Modifier> MakeEndCallback();
    // A sprite at (0, 0) that, while the transition is active, shows an
    // opaque picture of the window's size filled with the definition's
    // colour: the screen a fade passes through. At most one per transition.
    Ref<Sprite> MakeColorScreen();

private:
    static void DrawScene(Scene* scene, Sprite& sprite);

    // Not counted: the manager holds both scenes for the transition's life.
    Scene* source_ = nullptr;
    Scene* target_ = nullptr;
    bool activateOnFinish_ = true;
    Ref<Sprite> sourceSprite_;
    Ref<Sprite> targetSprite_;
    Ref<Sprite> colorScreen_;
};
