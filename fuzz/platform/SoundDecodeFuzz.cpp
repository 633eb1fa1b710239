#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/SampleDecoding.h"
#include "platform/SoundStreamSource.h"

// Every way a sound file is read: whole and converted to the output rate (a
// sample), and as a stream read in pieces, sought back and read again (music).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    platform::Pcm pcm;
    platform::DecodeSample(bytes, 44100, pcm);
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
