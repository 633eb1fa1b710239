#pragma once

#include <cstdint>

#include "platform/Backend.h"

// System cursors by handle; the null handle hides the pointer.
namespace platform {

using CursorHandle = uint32_t;

CursorHandle LoadSystemCursor(CursorShape shape);
void SetCursor(CursorHandle cursor);

}  // namespace platform
