#pragma once

#include <cstdint>

// The virtual millisecond clock of scripted runs (WORDRAIL_CLOCK=virtual):
// it starts at 0 and moves only when the program sleeps or waits for the
// vertical blank, so a run behaves the same at any real speed.
namespace platform {

bool VirtualClockEnabled();
uint32_t VirtualClockNow();
void AdvanceVirtualClock(uint32_t ms);

// Moves the clock to the next 1/60 s boundary, as a 60 Hz display's
// vertical blank would; returns the milliseconds it moved.
uint32_t AdvanceVirtualClockToNextFrame();

}  // namespace platform
