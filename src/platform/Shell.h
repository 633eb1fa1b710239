#pragma once

#include <string>

// Handing an address to the desktop's handler.
namespace platform {

// Opens an http:, https: or mailto: address (Windows-1252 text); other
// addresses are refused with a log line. False when nothing was opened.
bool OpenUrl(const std::string& url);

}  // namespace platform
