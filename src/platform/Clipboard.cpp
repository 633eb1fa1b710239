#include "platform/Clipboard.h"

#include "platform/Backend.h"
#include "platform/CodePage.h"

namespace platform {

void SetClipboardText(const std::string& text) {
    ActiveBackend().SetClipboardText(Cp1252ToUtf8(text));
}

std::string GetClipboardText() { return Utf8ToCp1252(ActiveBackend().GetClipboardText(), '?'); }

}  // namespace platform
