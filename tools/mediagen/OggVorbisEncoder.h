#pragma once

#include <cstdint>
#include <vector>

// Ogg Vorbis at the given quality (-0.1 .. 1.0) from interleaved samples in
// -1..1, with a fixed stream serial number so equal samples give equal bytes.
// Throws std::runtime_error when the encoder refuses the settings.
std::vector<uint8_t> EncodeOggVorbis(const std::vector<float>& interleaved, int channels, int rate, float quality);
