#pragma once

#include <cstdint>
#include <string>

#include "engine/ui/Scene.h"

class Sprite;
class ThresholdSprite;

// The first scene of every run: the maker's logo revealed layer by layer
// from the pictures of section "splash", with two sounds, then a hand-over
// to the load scene once the animation is over and "preloading" is loaded.
// It takes no input; closing the window closes it without a question.
class SceneSplash : public Scene {
    ENGINE_CLASS(SceneSplash, Scene)

public:
    explicit SceneSplash(Property* definition) : Scene(definition) {}

    // The logo's layers and their timeline.
    void Build() override;
    // The hand-over check.
    void Update(int32_t elapsedMs) override;

    bool IsAnimationDone() const { return animationDone_; }

private:
    // A sprite of a "splash" picture, centred on (x, y) under `parent`.
    static Sprite* AddSprite(GameNode& parent, const std::string& image, int32_t x, int32_t y);
    // A layer that shows its picture as the mask's red channel lets it, starting unseen.
    static ThresholdSprite* AddLayer(GameNode& parent, const std::string& image, const std::string& mask, int32_t x,
                                     int32_t y);
    static void PlaySplashSound(const std::string& name);

    bool animationDone_ = false;
};
