#pragma once

#include "platform/AudioDevice.h"

namespace platform {

// The headless side of the sound output: open, silent, and never asking for
// frames, so tests decide when the mix runs.
class NullAudioDevice : public AudioDevice {};

}  // namespace platform
