#pragma once

#include <string>

// The system clipboard, with narrow (Windows-1252) text.
namespace platform {

// Characters outside Windows-1252 read back as '?'.
void SetClipboardText(const std::string& text);
std::string GetClipboardText();

}  // namespace platform
