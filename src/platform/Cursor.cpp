#include "platform/Cursor.h"

namespace platform {

CursorHandle LoadSystemCursor(CursorShape shape) { return static_cast<CursorHandle>(shape); }

void SetCursor(CursorHandle cursor) {
    if (cursor > static_cast<CursorHandle>(CursorShape::IBeam)) cursor = 0;
    ActiveBackend().SetCursorShape(static_cast<CursorShape>(cursor));
}

}  // namespace platform
