#include "engine/media/SoundAvailable.h"

#include <atomic>

namespace {
std::atomic<bool> soundAvailable{false};
}

bool IsSoundAvailable() {
    return soundAvailable.load();
}

void SetSoundAvailable(bool available) {
    soundAvailable.store(available);
}
