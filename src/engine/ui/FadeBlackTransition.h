#pragma once

#include <cstdint>

#include "engine/foundation/Ref.h"
#include "engine/ui/SceneTransition.h"

// The scene left fades into a solid colour (the "color" key); once covered,
// and when "wait" is on only after every queued resource section has
// loaded, the scene entered fades in from it.
class FadeBlackTransition : public SceneTransition {
    ENGINE_CLASS(FadeBlackTransition, SceneTransition)

public:
    enum Phase : int32_t { kFadingOut = 0, kCovered = 1, kFadingIn = 2 };

    // SceneTransition's keys, "time" (ms, default 1000) and "wait" (default true).
    explicit FadeBlackTransition(Property* definition);

    void Activate() override;
    // While covered: starts the fade-in once loading allows it.
    void Update(int32_t elapsedMs) override;

    int32_t GetPhase() const { return phase_; }
    Sprite* GetColorSprite() const { return colorSprite_.Get(); }

private:
    static bool LoadingDone();
    // The colour sprite's alpha from `from` to `to`, then `then`.
    void Fade(int32_t from, int32_t to, Modifier* then);

    Ref<Sprite> colorSprite_;
    bool wait_ = true;
    int32_t time_ = 1000;
    int32_t phase_ = kFadingOut;
};
