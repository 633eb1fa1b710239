#include "engine/media/WavCacheFile.h"

#include <string_view>

#include "engine/media/RiffWriter.h"

std::vector<uint8_t> BuildWavCacheFile(const platform::Pcm& pcm, uint64_t sourceWriteTime) {
    constexpr std::string_view kLabel = "test";
    std::vector<uint8_t> dependency;
    AppendU16(dependency, static_cast<uint32_t>(kLabel.size()));
    dependency.insert(dependency.end(), kLabel.begin(), kLabel.end());
    AppendU32(dependency, static_cast<uint32_t>(sourceWriteTime));
    AppendU32(dependency, static_cast<uint32_t>(sourceWriteTime >> 32));

    std::vector<uint8_t> data;
    data.reserve(pcm.samples.size() * sizeof(int16_t));
    for (const int16_t sample : pcm.samples) {
        AppendU16(data, static_cast<uint16_t>(sample));
    }

    std::vector<uint8_t> chunks;
    AppendRiffChunk(chunks, "fmt ", PcmFormatChunk(pcm.channels, pcm.rate, 16));
    AppendRiffChunk(chunks, "dep ", dependency);
    AppendRiffChunk(chunks, "data", data);
    return RiffWaveFile(chunks);
}
