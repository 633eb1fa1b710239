#include "platform/PeakLimiter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace platform {

PeakLimiter::PeakLimiter(int rate)
    : releasePerFrame_(std::exp(-1.0f / (kReleaseSeconds * static_cast<float>(std::max(rate, 1))))) {}

void PeakLimiter::Process(const int32_t* mix, int16_t* out, size_t frameCount) {
    constexpr float kKnee = kCeiling - kThreshold;
    for (size_t frame = 0; frame < frameCount; ++frame) {
        const int32_t left = mix[2 * frame];
        const int32_t right = mix[2 * frame + 1];
        const float peak = static_cast<float>(std::max(std::abs(left), std::abs(right)));
        envelope_ = std::max(peak, envelope_ * releasePerFrame_);
        if (envelope_ <= kThreshold) {
            // Below the threshold the held envelope no longer matters: the
            // next loud frame sets it afresh. Zero keeps it from decaying
            // into denormal numbers through long silences.
            envelope_ = 0.0f;
            out[2 * frame] = static_cast<int16_t>(left);
            out[2 * frame + 1] = static_cast<int16_t>(right);
            continue;
        }
        // Over the threshold the peak rises ever more slowly towards the
        // ceiling; at the threshold itself the curve starts with slope 1, so
        // the gain leaves 1 without a step. Every sample of the frame is at
        // most the envelope, so none comes out above the limited peak.
        const float over = envelope_ - kThreshold;
        const float limitedPeak = kThreshold + kKnee * over / (over + kKnee);
        const float gain = limitedPeak / envelope_;
        out[2 * frame] = static_cast<int16_t>(std::lround(static_cast<float>(left) * gain));
        out[2 * frame + 1] = static_cast<int16_t>(std::lround(static_cast<float>(right) * gain));
    }
}

}  // namespace platform
