#pragma once

#include "game/dialogs/KR2Dialog.h"

// A game dialog made entirely by its definition; its own type lets callers
// tell it apart.
class CreditsDialog : public KR2Dialog {
    ENGINE_CLASS(CreditsDialog, KR2Dialog)

public:
    explicit CreditsDialog(Property* definition) : KR2Dialog(definition) {}
};
