#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace platform {

// Music read piece by piece at its own rate: an Ogg Vorbis or WAV file held
// in memory, so that playing it never touches the disk.
class SoundStreamSource {
public:
    virtual ~SoundStreamSource() = default;

    virtual int Channels() const = 0;
    virtual int Rate() const = 0;
    // Up to `frameCount` frames into `frames`; 0 at the end.
    virtual size_t Read(int16_t* frames, size_t frameCount) = 0;
    virtual bool Seek(uint64_t frame) = 0;
};

// Null when the bytes are neither a readable Ogg Vorbis nor a WAV file.
std::unique_ptr<SoundStreamSource> OpenSoundStreamSource(std::vector<uint8_t> bytes);

}  // namespace platform
