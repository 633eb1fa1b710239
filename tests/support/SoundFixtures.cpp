#include "support/SoundFixtures.h"

#include <fstream>

#include "engine/media/RiffWriter.h"

std::vector<uint8_t> MakeWav(int channels, int rate, int bits, const std::vector<int16_t>& samples,
                             const std::string& extraChunkId, const std::vector<uint8_t>& extraChunk) {
    std::vector<uint8_t> data;
    for (const int16_t sample : samples) {
        if (bits == 8) {
            data.push_back(static_cast<uint8_t>((sample >> 8) + 128));
        } else {
            AppendU16(data, static_cast<uint16_t>(sample));
        }
    }
    std::vector<uint8_t> chunks;
    AppendRiffChunk(chunks, "fmt ", PcmFormatChunk(channels, rate, bits));
    if (!extraChunkId.empty()) {
        AppendRiffChunk(chunks, extraChunkId, extraChunk);
    }
    AppendRiffChunk(chunks, "data", data);
    return RiffWaveFile(chunks);
}

std::vector<int16_t> ConstantSamples(size_t frames, int channels, int16_t value) {
    return std::vector<int16_t>(frames * static_cast<size_t>(channels), value);
}

std::vector<int16_t> RampSamples(size_t frames, int16_t first) {
    std::vector<int16_t> samples(frames);
    for (size_t i = 0; i < frames; ++i) {
        samples[i] = static_cast<int16_t>(first + static_cast<int>(i));
    }
    return samples;
}

std::string OggFixturePath(const std::string& name) {
    return std::string(WORDRAIL_BUILD_DIR) + "/testdata/" + name + ".ogg";
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
