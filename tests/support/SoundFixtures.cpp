#include "support/SoundFixtures.h"

#include <fstream>

namespace {

void PutU16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

void PutChunk(std::vector<uint8_t>& out, const std::string& id, const std::vector<uint8_t>& body) {
    out.insert(out.end(), id.begin(), id.end());
    PutU32(out, static_cast<uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2 != 0) {
        out.push_back(0);
    }
}

}  // namespace

std::vector<uint8_t> MakeWav(int channels, int rate, int bits, const std::vector<int16_t>& samples,
                             const std::string& extraChunkId, const std::vector<uint8_t>& extraChunk) {
    std::vector<uint8_t> format;
    const uint32_t blockAlign = static_cast<uint32_t>(channels * bits / 8);
    PutU16(format, 1);
    PutU16(format, static_cast<uint32_t>(channels));
    PutU32(format, static_cast<uint32_t>(rate));
    PutU32(format, blockAlign * static_cast<uint32_t>(rate));
    PutU16(format, blockAlign);
    PutU16(format, static_cast<uint32_t>(bits));
    std::vector<uint8_t> data;
    for (const int16_t sample : samples) {
        if (bits == 8) {
            data.push_back(static_cast<uint8_t>((sample >> 8) + 128));
        } else {
            PutU16(data, static_cast<uint16_t>(sample));
        }
    }
    std::vector<uint8_t> body{'W', 'A', 'V', 'E'};
    PutChunk(body, "fmt ", format);
    if (!extraChunkId.empty()) {
        PutChunk(body, extraChunkId, extraChunk);
    }
    PutChunk(body, "data", data);
    std::vector<uint8_t> file{'R', 'I', 'F', 'F'};
    PutU32(file, static_cast<uint32_t>(body.size()));
    file.insert(file.end(), body.begin(), body.end());
    return file;
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
