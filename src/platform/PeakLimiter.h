#pragma once

#include <cstddef>
#include <cstdint>

// Brings the sum of every voice into 16 bits without clipping. The level it
// follows is the frame's peak or, after a louder passage, that passage's
// peak fading with the release time. While that level is below the
// threshold the mix passes unchanged; above it one gain for both sides (so
// pan and the balance between voices stay) bends the peak smoothly towards
// the ceiling, which it never reaches. The gain falls within the frame that
// needs it, so there is no look-ahead and no delay. Real-time safe: no
// allocation, no lock, a handful of operations a frame.
namespace platform {

class PeakLimiter {
public:
    // Below this level the mix passes bit for bit: three quarters of full scale.
    static constexpr float kThreshold = 24576.0f;
    // Limited peaks approach this, a little below full scale, and never reach it.
    static constexpr float kCeiling = 32000.0f;
    static constexpr float kReleaseSeconds = 0.15f;

    explicit PeakLimiter(int rate);

    // Turns `frameCount` interleaved stereo frames of the summed voices into output.
    void Process(const int32_t* mix, int16_t* out, size_t frameCount);

private:
    float releasePerFrame_;
    float envelope_ = 0.0f;
};

}  // namespace platform
