#pragma once

#include <cstddef>
#include <cstdint>

// Brings the sum of every voice into 16 bits without clipping. Frames whose
// peak, and the envelope held after it, stay below the threshold pass
// unchanged; above it one gain for both sides (so pan and the balance
// between voices stay) bends the peak smoothly towards the ceiling, which it
// never reaches. The gain falls at once, within the frame that needs it, and
// recovers with the release time once the loud passage is over. It keeps no
// look-ahead, so the mix is heard with no delay. Real-time safe: no
// allocation, no lock, a handful of operations a frame.
namespace platform {

class PeakLimiter {
public:
    // Below this level the mix passes bit for bit: three quarters of full scale.
    static constexpr float kThreshold = 24576.0f;
    // The loudest a limited peak gets, a little below full scale.
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
