#pragma once

#include <cstdint>

#include "engine/foundation/Ref.h"
#include "engine/ui/SceneTransition.h"
#include "scenes/LoadingWait.h"

class Label;

// Fades the scene left out to the definition's colour and the scene entered
// back in. When the entered scene's sections are still loading, a pulsing
// "loading" text with growing dots shows from 500 ms after the fade-out and
// stays at least until 2000 ms.
class FadeBlackLabelTransition : public SceneTransition {
    ENGINE_CLASS(FadeBlackLabelTransition, SceneTransition)

public:
    enum Stage : int32_t { kFadingOut = 0, kFadedOut = 1, kLabelShown = 2, kFinishing = 3 };
    static constexpr int32_t kLabelDelayMs = 500;
    static constexpr int32_t kLabelMinimumMs = 2000;

    // Scene's keys and "time" (ms each way, default 1000).
    explicit FadeBlackLabelTransition(Property* definition);

    void Activate() override;
    void Update(int32_t elapsedMs) override;
    void BeginFadeIn();

    int32_t GetStage() const { return stage_; }
    Sprite* GetColorScreen() const { return colorScreen_.Get(); }
    Label* GetLabel() const { return label_.Get(); }

private:
    // The colour screen's alpha from `from` to `to` over the fade time, then `then`.
    void FadeScreen(int32_t from, int32_t to, Modifier* then);

    Ref<Sprite> colorScreen_;
    Ref<Label> label_;
    LoadingTextCadence cadence_;
    int32_t elapsed_ = 0;
    int32_t fadeTime_ = 1000;
    int32_t stage_ = kFadingOut;
};
