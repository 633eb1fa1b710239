#include "platform/MessageBox.h"

#include "platform/Backend.h"
#include "platform/CodePage.h"

namespace platform {

int MessageBox(WindowHandle /*owner*/, const std::string& text, const std::string& caption,
               uint32_t type) {
    ActiveBackend().ShowMessageBox(Cp1252ToUtf8(text), Cp1252ToUtf8(caption),
                                   (type & 0xF0) == MB_ICONERROR);
    return IDOK;
}

}  // namespace platform
