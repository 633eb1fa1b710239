#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/SoundPcm.h"

namespace platform {

// Reads a RIFF/WAVE file held in memory: uncompressed PCM, 8 or 16 bits,
// mono or stereo, any rate within the accepted range. Chunks other than
// "fmt " and "data" are skipped. A data chunk that claims more bytes than
// the file holds is cut to what is there. False for anything else.
bool ReadWav(const uint8_t* data, size_t size, Pcm& pcm);

// Whether the bytes start like a RIFF/WAVE file.
bool LooksLikeWav(const uint8_t* data, size_t size);

}  // namespace platform
