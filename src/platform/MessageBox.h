#pragma once

#include <cstddef>
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
// A box shown on the desktop is fitted to this many columns, so that it is
// no wider than the game's window.
constexpr size_t kMessageBoxColumns = 64;

// The UTF-8 text with every line longer than `columns` bytes broken: after
// its last space that fits, or, in a word longer than a line (a file's
// path), after its last '/' that fits, or else at the limit.
std::string FitMessageText(const std::string& text, size_t columns);

int MessageBox(WindowHandle owner, const std::string& text, const std::string& caption,
               uint32_t type);

}  // namespace platform
