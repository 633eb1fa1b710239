#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/SoundPcm.h"

namespace platform {

// An Ogg Vorbis stream decoded piece by piece from bytes it holds, as signed
// 16-bit frames at the stream's own rate. Mono and stereo streams only.
class OggDecoder {
public:
    // Null when the bytes are not a readable mono or stereo Ogg Vorbis stream.
    static std::unique_ptr<OggDecoder> Open(std::vector<uint8_t> bytes);

    OggDecoder(const OggDecoder&) = delete;
    OggDecoder& operator=(const OggDecoder&) = delete;
    ~OggDecoder();

    int Channels() const { return channels_; }
    int Rate() const { return rate_; }

    // Decodes up to `frameCount` frames into `frames`; 0 at the end or on damage.
    size_t Read(int16_t* frames, size_t frameCount);

    // Moves to a frame of the stream; false when the stream cannot seek there.
    bool Seek(uint64_t frame);

private:
    struct Impl;
    explicit OggDecoder(std::unique_ptr<Impl> impl);

    std::unique_ptr<Impl> impl_;
    int channels_ = 0;
    int rate_ = 0;
};

bool LooksLikeOgg(const uint8_t* data, size_t size);

// Decodes the rest of the stream, keeping at most `maxFrames` frames;
// `pcm.cut` tells whether the stream went on beyond them.
void DecodeRemaining(OggDecoder& decoder, size_t maxFrames, Pcm& pcm);

}  // namespace platform
