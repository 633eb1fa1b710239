#pragma once

#include <cstdint>
#include <vector>

#include "engine/foundation/Ref.h"
#include "engine/ui/SceneTransition.h"
#include "scenes/LoadingWait.h"

class KR2Dialog;
class Label;

// Cuts the picture of the scene left into square tiles that turn and shrink
// to nothing one diagonal after another from the top left, uncovering the
// scene entered. The tiles wait until the queued sections are loaded; when
// that takes over 500 ms a loading dialog shows, and stays until 2000 ms.
class SquareTwistTransitionScene : public SceneTransition {
    ENGINE_CLASS(SquareTwistTransitionScene, SceneTransition)

public:
    enum Phase : int32_t { kWaiting = 0, kTwisting = 1 };
    static constexpr int32_t kDialogDelayMs = 500;
    static constexpr int32_t kDialogMinimumMs = 2000;

    // Scene's keys, then "spacingx", "spacingy" (50, at least 1), "time"
    // (1000), "delay" (20) and "circle" (turns, 0.25), each when present.
    explicit SquareTwistTransitionScene(Property* definition);
    ~SquareTwistTransitionScene() override;

    // Captures the scene left into the tiles.
    void Activate() override;
    // The tiles' pictures go with the screen pictures.
    void Deactivate() override;
    void Update(int32_t elapsedMs) override;

    int32_t GetPhase() const { return phase_; }
    int32_t GetColumns() const { return columns_; }
    int32_t GetRows() const { return rows_; }
    const std::vector<Ref<Sprite>>& GetTiles() const { return tiles_; }
    KR2Dialog* GetLoadingDialog() const { return loadingDialog_.Get(); }
    Label* GetLoadingLabel() const { return loadingLabel_.Get(); }

private:
    void OpenLoadingDialog();
    void StartTwist();

    std::vector<Ref<Sprite>> tiles_;
    int32_t columns_ = 0;
    int32_t rows_ = 0;
    int32_t phase_ = kWaiting;
    bool dialogOpened_ = false;
    Ref<KR2Dialog> loadingDialog_;
    Ref<Label> loadingLabel_;
    LoadingTextCadence cadence_;
    int32_t elapsed_ = 0;
    int32_t spacingX_ = 50;
    int32_t spacingY_ = 50;
    int32_t time_ = 1000;
    int32_t delay_ = 20;
    float circle_ = 0.25f;
};
