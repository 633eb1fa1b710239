#pragma once

#include "game/dialogs/KR2Dialog.h"

// A game dialog made entirely by its definition; its own type lets callers
// tell it apart. A "BUTTON_OK" in the definition closes it, so it is never a
// dead end.
class CreditsDialog : public KR2Dialog {
    ENGINE_CLASS(CreditsDialog, KR2Dialog)

public:
    explicit CreditsDialog(Property* definition);
};
