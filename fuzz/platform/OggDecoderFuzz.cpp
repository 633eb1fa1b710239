#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/OggDecoder.h"
#include "platform/SoundStreamSource.h"

// Both ways music and sounds are read: the whole file at once, and as a
// stream that is read in pieces, sought back and read again.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    platform::Pcm pcm;
    platform::DecodeOgg(bytes, pcm);
    std::unique_ptr<platform::SoundStreamSource> source = platform::OpenSoundStreamSource(bytes);
    if (source) {
        std::vector<int16_t> piece(512 * static_cast<size_t>(source->Channels()));
        source->Read(piece.data(), 512);
        if (source->Seek(0)) {
            source->Read(piece.data(), 512);
        }
    }
    return 0;
}
