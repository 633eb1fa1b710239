#pragma once

#include <string>

#include "platform/WindowTypes.h"

// A modal notice with one button. It does not run the window's messages
// while it is open.
namespace platform {

constexpr uint32_t MB_OK = 0x0;
constexpr uint32_t MB_ICONERROR = 0x10;
constexpr uint32_t MB_ICONWARNING = 0x30;
constexpr int IDOK = 1;

// Text and caption are Windows-1252. Where no box can be shown it is written
// to the standard error stream instead. Returns IDOK.
int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
               uint32_t type);

}  // namespace platform
