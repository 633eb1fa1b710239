#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Decoded sound: interleaved signed 16-bit frames of one or two channels.
namespace platform {

// Rates outside this range are treated as damaged files; it also bounds how
// far a resample can blow up a small input.
constexpr int kMinSoundRate = 1000;
constexpr int kMaxSoundRate = 192000;

// No decoded sound is kept longer than this many frames (ten minutes at the
// highest rate), whatever a file claims.
constexpr size_t kMaxSoundFrames = size_t{kMaxSoundRate} * 600;

// A sample converted to the output rate takes at most this many bytes: over
// six minutes of stereo at 44.1 kHz, three times the game's longest music.
// Small files may claim far more (a low rate resampled, or silence packed
// tight), so longer sounds are refused rather than allocated.
constexpr size_t kMaxSampleBytes = size_t{64} << 20;

struct Pcm {
    int channels = 0;
    int rate = 0;
    std::vector<int16_t> samples;
    // The file held more than a decoder was allowed to keep; the rest is dropped.
    bool cut = false;

    size_t Frames() const { return channels > 0 ? samples.size() / static_cast<size_t>(channels) : 0; }
};

// The same sound at another rate, by linear interpolation between frames.
Pcm ResamplePcm(const Pcm& source, int rate);

}  // namespace platform
