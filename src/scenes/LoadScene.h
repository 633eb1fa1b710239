#pragma once

#include <cstdint>

#include "engine/foundation/Ref.h"
#include "engine/ui/Scene.h"

class Sprite;

// The second scene of every run: menu music, partner logos, a progress bar
// that slides in while the sections queued at start-up load, on a first run
// in a window the full-screen question, and once everything is in a pulsing
// click text. A click, even one before loading is done, leads on to the
// selection scene.
class LoadScene : public Scene {
    ENGINE_CLASS(LoadScene, Scene)

public:
    static constexpr const char* kPartnersFile = "media/properties/partners.xml";
    static constexpr const char* kQuestionName = "TEXT_DIALOG_FULLSCREEN";

    // Scene's keys and "loading_start_x" (0 when absent).
    explicit LoadScene(Property* definition);
    ~LoadScene() override;

    void Build() override;
    void Update(int32_t elapsedMs) override;
    // Asks the quit question.
    void RequestQuit() override;
    // A click anywhere; always false.
    bool OnLButtonUp(int32_t x, int32_t y, uint32_t flags) override;

    static int32_t OnClickText(void* scene, GameNode* sender);
    static int32_t OnFullScreenYes(void* scene, GameNode* sender);
    static int32_t OnFullScreenNo(void* scene, GameNode* sender);

    bool IsDone() const { return done_; }
    bool IsClickPending() const { return clickPending_; }
    Dialog* GetQuestion() const { return question_.Get(); }
    Sprite* GetProgressBar() const { return progressBar_; }
    int32_t GetBarX() const { return barX_; }

    // The bar's x for load progress `progress` when the scene first saw
    // `startProgress`: from start x to bar x. Without room to progress (a
    // start of 1 or more) the bar stands at bar x.
    static int32_t BarPosition(double progress, double startProgress, int32_t startX, int32_t barX);

private:
    void StartMusic() const;
    void AddPartners();
    void AskFullScreenWhenDue();
    void OnLoaded();
    void AnswerFullScreen(bool fullScreen);

    bool done_ = false;
    bool clickPending_ = false;
    double startProgress_ = -1.0;
    int32_t startX_ = 0;
    int32_t barX_ = 0;
    // Children of the scene, found by name.
    Sprite* progressBar_ = nullptr;
    Sprite* loadingText_ = nullptr;
    Sprite* clickText_ = nullptr;
    Ref<Dialog> question_;
};
