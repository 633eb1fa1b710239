#pragma once

#include <SDL.h>

#include <cstdint>

// Between SDL key symbols and virtual-key codes. Keys map by symbol, so the
// keyboard layout decides letters as it would for virtual keys; symbols
// outside the table (letters of other alphabets) map by their US position.
namespace platform {

uint32_t VirtualKeyFromSdl(SDL_Keycode key, SDL_Scancode scancode);

// Whether the key sits in the extended block (keypad Enter, arrows, ...).
bool IsExtendedSdlKey(SDL_Keycode key);

// The symbol that gives a virtual key, for playing scripts through SDL;
// SDLK_UNKNOWN when none does.
SDL_Keycode SdlKeyFromVirtualKey(uint32_t virtualKey);

}  // namespace platform
