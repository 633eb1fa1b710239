#pragma once

#include <cstdint>

#include "game/dialogs/KR2Dialog.h"
#include "game/progress/GameSettings.h"

class Slider;
class Switch;

// The settings screen. It is also a GameSettings whose values live in its
// controls: assigning settings to it moves the controls, assigning it to
// settings applies what the player chose. Volume moves are heard at once;
// OK keeps them, Cancel puts the stored ones back.
class SettingsDialog : public KR2Dialog, public GameSettings {
    ENGINE_CLASS(SettingsDialog, KR2Dialog)

public:
    // Fills the controls from the application's settings and binds them;
    // missing controls are logged and left out.
    explicit SettingsDialog(Property* definition);

    void OnShow() override { ShowAndFadeIn(); }
    // Plays a slider sound now and then while the effects knob is dragged.
    void Update(int32_t elapsedMs) override;

    // The window's mode, not the given value.
    bool GetFullScreen() const override;
    void SetFullScreen(bool value) override;
    // The current player's flag, not the given value.
    bool GetUseHints() const override;
    void SetUseHints(bool value) override;
    int32_t GetSoundVolume() const override;
    void SetSoundVolume(int32_t value) override;
    int32_t GetMusicVolume() const override;
    void SetMusicVolume(int32_t value) override;

    static int32_t OnEffectsVolume(void* dialog, GameNode* sender);
    static int32_t OnMusicVolume(void* dialog, GameNode* sender);
    static int32_t OnOk(void* dialog, GameNode* sender);
    static int32_t OnCancel(void* dialog, GameNode* sender);
    static int32_t OnInfo(void* dialog, GameNode* sender);

private:
    static SettingsDialog* FromContext(void* dialog);
    void AttachSwitch(Switch* control, const char* labelName, bool enabled);
    void ApplyStoredVolumes() const;

    Slider* effects_ = nullptr;
    Slider* music_ = nullptr;
    Switch* fullScreen_ = nullptr;
    Switch* hints_ = nullptr;
    // Frame time summed while open, and when the last slider sound played.
    uint32_t now_ = 0;
    uint32_t lastSliderSound_ = 0;
    bool sliderSoundPlayed_ = false;
};
