#include "game/dialogs/CreditsDialog.h"

#include "engine/foundation/ClassFactory.h"

namespace {

const ClassRegistration registration("CreditsDialog", CreateFromProperty<CreditsDialog>);

}  // namespace
