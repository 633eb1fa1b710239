#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/foundation/Ref.h"
#include "engine/media/Surface.h"
#include "engine/ui/Dialog.h"

class MemorySurface;

// The base of every game dialog: a header on the game's frame painter,
// centring on the 800 x 600 screen, an optional darkened backdrop over the
// whole screen, fading in and out with an open and a close sound, and word
// to the game scene, which pauses the level while a dialog is open.
class KR2Dialog : public Dialog {
    ENGINE_CLASS(KR2Dialog, Dialog)

public:
    using AfterClose = std::function<void(KR2Dialog*)>;

    // The Dialog keys, then "autocenter", "dodarkenbackground", "opensound",
    // "closesound", "soundsection" and, with a KR2Painter, "headertext".
    explicit KR2Dialog(Property* definition);
    ~KR2Dialog() override;

    void OnShow() override;
    void OnHide() override;
    // Fades out, leaves the scene, then runs the after-close function; once
    // per instance.
    virtual void Close();
    virtual void PaintDarkenedBackground();

    // Grows the dialog to fit a wide header; never shrinks it below its width.
    void SetHeaderText(const std::wstring& text);

    // Input off and alpha 0, rising to 255 over `ms`; input on at the end.
    static void FadeIn(KR2Dialog* dialog, int32_t ms);
    // A button handler that closes the dialog given as the context.
    static int32_t CloseHandler(void* dialog, GameNode* sender);

    void SetAfterClose(AfterClose function) { afterClose_ = std::move(function); }
    bool GetPlaySounds() const { return playSounds_; }
    void SetPlaySounds(bool play) { playSounds_ = play; }
    bool GetNotifyGameScene() const { return notifyGameScene_; }
    void SetNotifyGameScene(bool notify) { notifyGameScene_ = notify; }
    bool IsAutoCenter() const { return autoCenter_; }
    void SetAutoCenter(bool autoCenter) { autoCenter_ = autoCenter; }
    bool DarkensBackground() const { return darkenBackground_; }
    const std::string& GetOpenSound() const { return openSound_; }
    const std::string& GetCloseSound() const { return closeSound_; }
    const std::string& GetSoundSection() const { return soundSection_; }
    Surface* GetFrameImage() const { return frameImage_.Get(); }

protected:
    // The base show, then a fade-in over the dialog fade time.
    void ShowAndFadeIn();
    // The base show but for the darkened backdrop, for a dialog shown hidden
    // that paints it (DarkenBackground) only ahead of being seen.
    void ShowWithoutBackdrop();
    // Paints the frame and the darkened screen around it into the backdrop.
    void DarkenBackground();
    // The same into cleared pictures made ahead: one of the dialog's size
    // for its painted frame, one of the screen's for the backdrop.
    void DarkenBackground(const Ref<MemorySurface>& clearedFrame, const Ref<MemorySurface>& clearedBackdrop);
    // An instance met again before its fade-out ended: no close pending, no
    // actions left, opaque, taking input, centring as defined.
    void ResetForReuse();
    // The definition, for the keys subclasses read themselves.
    Property* GetDefinition() const { return definition_.Get(); }

    // Input on at the end of a fade-in, unless the dialog is closing.
    static void OnFadeInDone(KR2Dialog* dialog);

private:
    // Controls drawn only through the dialog's picture, so it fades as one.
    void DrawThroughBuffer();
    void PlaySound(const std::string& name) const;

    bool autoCenter_ = false;
    bool playSounds_ = true;
    bool darkenBackground_ = false;
    Ref<Property> definition_;
    Ref<Surface> frameImage_;
    bool notifyGameScene_ = true;
    std::string openSound_ = "SOUND_DIALOG_SHOW";
    std::string closeSound_ = "SOUND_DIALOG_HIDE";
    std::string soundSection_ = "default";
    AfterClose afterClose_;
    bool closing_ = false;
};
