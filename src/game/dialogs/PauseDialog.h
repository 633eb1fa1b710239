#pragma once

#include <cstdint>

#include "game/dialogs/KR2Dialog.h"

// The pause screen of a running level: a pause sound, the music faded out,
// and any click after the fade-in resumes. It stays at least a second.
class PauseDialog : public KR2Dialog {
    ENGINE_CLASS(PauseDialog, KR2Dialog)

public:
    // Its fades play no sound: it plays its own.
    explicit PauseDialog(Property* definition);

    void OnShow() override;
    bool OnLButtonUp(int32_t x, int32_t y, uint32_t flags) override;

    static void Resume(PauseDialog* dialog);
};
