#include <cstddef>
#include <cstdint>

#include "platform/SoundPcm.h"
#include "platform/WavReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    platform::Pcm pcm;
    if (platform::ReadWav(data, size, pcm) && pcm.Frames() < 100000) {
        platform::ResamplePcm(pcm, 44100);
    }
    return 0;
}
