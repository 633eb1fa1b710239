#include "game/dialogs/MapDialogHooks.h"

namespace {

MapDialogHooks* installed = nullptr;

}  // namespace

void MapDialogHooks::Install(MapDialogHooks* hooks) { installed = hooks; }

MapDialogHooks* MapDialogHooks::Installed() { return installed; }
