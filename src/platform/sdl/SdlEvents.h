#pragma once

#include <SDL.h>

#include "platform/Backend.h"

// SDL events to raw events and back (scripts play through SDL's own queue,
// so that a scripted run takes the same path as a user's input).
namespace platform {

// What the translation remembers between events: the buttons held and the
// modifier keys, both kept from the events themselves so that events pushed
// by a script are read the same way as real ones.
struct SdlInputState {
    uint32_t windowId = 0;
    uint32_t buttonsHeld = 0;   // MK_* flags
    uint32_t modifiers = 0;     // kMod* bits
    Point pointer{-1, -1};      // client position; (-1, -1) once it left
};

// False for events that concern no raw event (other windows, other kinds).
bool RawEventFromSdl(const SDL_Event& event, SdlInputState& state, RawEvent& raw);

// The SDL event a user's action would give; false when there is none.
bool SdlEventFromRaw(const RawEvent& raw, uint32_t windowId, SDL_Event& event);

uint32_t ModifiersFromSdl(uint16_t mod);

}  // namespace platform
