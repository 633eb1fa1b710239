#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Sound files made by the tests themselves.

// A RIFF/WAVE file of 8- or 16-bit PCM; `samples` are interleaved and, for
// 8 bits, given in the 16-bit range and narrowed. `extraChunk` (its id and
// body) goes between "fmt " and "data" when its id is not empty.
std::vector<uint8_t> MakeWav(int channels, int rate, int bits, const std::vector<int16_t>& samples,
                             const std::string& extraChunkId = "", const std::vector<uint8_t>& extraChunk = {});

// `frames` frames of one constant value on every channel.
std::vector<int16_t> ConstantSamples(size_t frames, int channels, int16_t value);

// Frames counting up from `first` (one channel).
std::vector<int16_t> RampSamples(size_t frames, int16_t first);

// Ogg Vorbis tones made at build time: "tone_mono_22050" (5512 frames, mono,
// 22,050 Hz) and "tone_stereo_44100" (22,050 frames, stereo, 44,100 Hz).
std::string OggFixturePath(const std::string& name);

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes);
