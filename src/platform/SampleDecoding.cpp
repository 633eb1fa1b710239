#include "platform/SampleDecoding.h"

#include <memory>

#include "platform/OggDecoder.h"
#include "platform/WavReader.h"

namespace platform {
namespace {

// Frames at `sourceRate` that still fit the bound once converted to `rate`.
size_t MaxSourceFrames(int channels, int sourceRate, int rate, size_t maxBytes) {
    const uint64_t outputFrames = maxBytes / (static_cast<uint64_t>(channels) * sizeof(int16_t));
    return static_cast<size_t>(outputFrames * static_cast<uint64_t>(sourceRate) / static_cast<uint64_t>(rate));
}

bool FitsAtRate(const Pcm& pcm, int rate, size_t maxBytes) {
    const uint64_t outputFrames =
        static_cast<uint64_t>(pcm.Frames()) * static_cast<uint64_t>(rate) / static_cast<uint64_t>(pcm.rate);
    return !pcm.cut && outputFrames * static_cast<uint64_t>(pcm.channels) * sizeof(int16_t) <= maxBytes;
}

}  // namespace

SampleDecodeResult DecodeOggSample(std::vector<uint8_t> bytes, int rate, Pcm& pcm, size_t maxBytes) {
    const std::unique_ptr<OggDecoder> decoder = OggDecoder::Open(std::move(bytes));
    if (!decoder || rate < kMinSoundRate || rate > kMaxSoundRate) {
        return SampleDecodeResult::Undecodable;
    }
    Pcm decoded;
    DecodeRemaining(*decoder, MaxSourceFrames(decoder->Channels(), decoder->Rate(), rate, maxBytes), decoded);
    if (!FitsAtRate(decoded, rate, maxBytes)) {
        return SampleDecodeResult::TooLarge;
    }
    pcm = std::move(decoded);
    return SampleDecodeResult::Decoded;
}

SampleDecodeResult DecodeSample(std::vector<uint8_t> bytes, int rate, Pcm& pcm, size_t maxBytes) {
    if (rate < kMinSoundRate || rate > kMaxSoundRate) {
        return SampleDecodeResult::Undecodable;
    }
    Pcm decoded;
    if (LooksLikeOgg(bytes.data(), bytes.size())) {
        const SampleDecodeResult result = DecodeOggSample(std::move(bytes), rate, decoded, maxBytes);
        if (result != SampleDecodeResult::Decoded) {
            return result;
        }
    } else if (!ReadWav(bytes.data(), bytes.size(), decoded)) {
        return SampleDecodeResult::Undecodable;
    } else if (!FitsAtRate(decoded, rate, maxBytes)) {
        return SampleDecodeResult::TooLarge;
    }
    pcm = ResamplePcm(decoded, rate);
    return SampleDecodeResult::Decoded;
}

}  // namespace platform
