#pragma once

#include <cstdint>
#include <vector>

#include "platform/SoundPcm.h"

namespace platform {

enum class SampleDecodeResult { Decoded, Undecodable, TooLarge };

// Decodes an Ogg Vorbis or WAV file held in memory and converts it to `rate`,
// the form in which the mixer keeps samples. A sound that would take more
// than `maxBytes` at that rate is refused before it is converted, and an Ogg
// stream stops decoding as soon as it is known to be that long.
SampleDecodeResult DecodeSample(std::vector<uint8_t> bytes, int rate, Pcm& pcm,
                                size_t maxBytes = kMaxSampleBytes);

// Decodes an Ogg Vorbis file at its own rate, refusing it as DecodeSample
// does when it would take more than `maxBytes` once converted to `rate`.
SampleDecodeResult DecodeOggSample(std::vector<uint8_t> bytes, int rate, Pcm& pcm,
                                   size_t maxBytes = kMaxSampleBytes);

}  // namespace platform
