#pragma once

#include "engine/foundation/Property.h"

// A list of the map file. One written as another kind (a node, a value)
// reads as empty rather than as the children it happens to hold.
inline const Property* MapList(const Property* list) {
    return list != nullptr && list->GetKind() == Property::kVector ? list : nullptr;
}
