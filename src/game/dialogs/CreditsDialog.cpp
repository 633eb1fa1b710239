#include "game/dialogs/CreditsDialog.h"

#include "engine/foundation/ClassFactory.h"

namespace {

const ClassRegistration registration("CreditsDialog", CreateFromProperty<CreditsDialog>);

}  // namespace

CreditsDialog::CreditsDialog(Property* definition) : KR2Dialog(definition) {
    if (GameNode* ok = FindChild("BUTTON_OK")) {
        BindControl(ok, &KR2Dialog::CloseHandler, static_cast<Object*>(this));
    }
}
