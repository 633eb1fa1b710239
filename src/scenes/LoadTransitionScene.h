#pragma once

#include <cstdint>
#include <string>

#include "engine/foundation/Ref.h"
#include "engine/ui/SceneTransition.h"

class Modifier;

// From the load scene to the menu: the loading pieces fade, the big logo
// ("LOGO_GAME") shrinks and moves up while the menu's picture slides in
// from below, then the menu's adventure and classic buttons pop up, each
// after its delay, and the menu takes over.
class LoadTransitionScene : public SceneTransition {
    ENGINE_CLASS(LoadTransitionScene, SceneTransition)

public:
    static constexpr float kLogoEndScale = 0.565f;

    // Scene's keys, then "time" (1000), "adventureDelay" and "classicDelay"
    // (0), each when present.
    explicit LoadTransitionScene(Property* definition);

    void Activate() override;

    // How far the menu's picture starts below its place.
    int32_t GetSlideDistance() const { return slide_; }
    Sprite* GetLogo() const { return logo_.Get(); }
    Sprite* GetAdventureCopy() const { return adventure_.Get(); }
    Sprite* GetClassicCopy() const { return classic_.Get(); }

private:
    // Moves a child of the load scene under the source picture, keeping its
    // place on the screen; null (with a log line) when the scene lacks it.
    Sprite* TakeOver(const std::string& name);
    // A copy of the menu's button, unseen and of scale 0, over the menu's picture.
    Ref<Sprite> CopyButton(const std::string& name);
    // The button copy's wait and bounce; returns the bounce.
    Modifier* PopUp(Modifier* after, Sprite* copy, int32_t delayMs);

    Ref<Sprite> logo_;
    Ref<Sprite> adventure_;
    Ref<Sprite> classic_;
    int32_t time_ = 1000;
    int32_t adventureDelay_ = 0;
    int32_t classicDelay_ = 0;
    int32_t slide_ = 0;
};
