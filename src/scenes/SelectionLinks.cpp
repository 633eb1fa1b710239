#include "scenes/SelectionLinks.h"

namespace {

SelectionLinks* installed = nullptr;

}  // namespace

void SelectionLinks::Install(SelectionLinks* links) { installed = links; }

SelectionLinks* SelectionLinks::Installed() { return installed; }
