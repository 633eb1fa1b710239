#include "platform/SoundPcm.h"

#include <algorithm>

namespace platform {

Pcm ResamplePcm(const Pcm& source, int rate) {
    if (source.rate == rate || source.Frames() == 0 || source.rate <= 0 || rate <= 0) {
        Pcm copy = source;
        copy.rate = rate;
        return copy;
    }
    const size_t channels = static_cast<size_t>(source.channels);
    const size_t sourceFrames = source.Frames();
    const size_t frames = static_cast<size_t>(static_cast<uint64_t>(sourceFrames) * static_cast<uint64_t>(rate) /
                                              static_cast<uint64_t>(source.rate));
    Pcm result;
    result.channels = source.channels;
    result.rate = rate;
    result.samples.resize(frames * channels);
    const double step = static_cast<double>(source.rate) / rate;
    for (size_t frame = 0; frame < frames; ++frame) {
        const double position = frame * step;
        const size_t first = std::min(static_cast<size_t>(position), sourceFrames - 1);
        const size_t second = first + 1 < sourceFrames ? first + 1 : first;
        const double weight = position - static_cast<double>(first);
        for (size_t c = 0; c < channels; ++c) {
            const double a = source.samples[first * channels + c];
            const double b = source.samples[second * channels + c];
            result.samples[frame * channels + c] = static_cast<int16_t>(a + (b - a) * weight);
        }
    }
    return result;
}

}  // namespace platform
