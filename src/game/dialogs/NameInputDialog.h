#pragma once

#include <cstdint>

#include "engine/foundation/Ref.h"
#include "game/dialogs/KR2Dialog.h"

class Button;
class InputLabel;
class PlayerSelectDialog;

// Asks for a new player's name. With no player yet it is the first thing a
// player sees and has no cancel: a name must be given.
class NameInputDialog : public KR2Dialog {
    ENGINE_CLASS(NameInputDialog, KR2Dialog)

public:
    // The KR2Dialog keys; binds "BUTTON_OK", "BUTTON_CANCEL" and
    // "INPUT_NAME". A missing one is logged and left out.
    explicit NameInputDialog(Property* definition);

    // Fades in and gives the name input the focus.
    void OnShow() override;
    // A click anywhere on the dialog puts the focus back into the input.
    bool OnLButtonDown(int32_t x, int32_t y, uint32_t flags, bool doubleClick) override;
    bool OnLButtonUp(int32_t x, int32_t y, uint32_t flags) override;

    // The selection to refresh when this dialog is cancelled.
    void SetPlayerSelect(PlayerSelectDialog* dialog) { playerSelect_ = dialog; }

    static int32_t OnKey(void* dialog, GameNode* sender);
    static int32_t OnOk(void* dialog, GameNode* sender);
    static int32_t OnCancel(void* dialog, GameNode* sender);

    InputLabel* GetNameInput() const { return input_; }
    Button* GetOkButton() const { return ok_; }
    Button* GetCancelButton() const { return cancel_; }

private:
    void Accept();
    void FocusInput();
    void EnableOk();

    InputLabel* input_ = nullptr;
    Button* ok_ = nullptr;
    Button* cancel_ = nullptr;
    Ref<PlayerSelectDialog> playerSelect_;
};
