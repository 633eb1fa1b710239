#include "engine/media/WavCacheFile.h"

#include <string_view>

namespace {

void PutU16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

void PutText(std::vector<uint8_t>& out, std::string_view text) {
    out.insert(out.end(), text.begin(), text.end());
}

}  // namespace

std::vector<uint8_t> BuildWavCacheFile(const platform::Pcm& pcm, uint64_t sourceWriteTime) {
    constexpr std::string_view kLabel = "test";
    constexpr uint32_t kBits = 16;
    const uint32_t channels = static_cast<uint32_t>(pcm.channels);
    const uint32_t blockAlign = channels * kBits / 8;
    const uint32_t dataBytes = static_cast<uint32_t>(pcm.samples.size() * sizeof(int16_t));
    const uint32_t labelLength = static_cast<uint32_t>(kLabel.size());
    const uint32_t fileSize = 62 + labelLength + dataBytes;

    std::vector<uint8_t> out;
    out.reserve(fileSize);
    PutText(out, "RIFF");
    PutU32(out, fileSize - 8);
    PutText(out, "WAVE");
    PutText(out, "fmt ");
    PutU32(out, 16);
    PutU16(out, 1);
    PutU16(out, channels);
    PutU32(out, static_cast<uint32_t>(pcm.rate));
    PutU32(out, blockAlign * static_cast<uint32_t>(pcm.rate));
    PutU16(out, blockAlign);
    PutU16(out, kBits);
    PutText(out, "dep ");
    PutU32(out, labelLength + 10);
    PutU16(out, labelLength);
    PutText(out, kLabel);
    PutU32(out, static_cast<uint32_t>(sourceWriteTime));
    PutU32(out, static_cast<uint32_t>(sourceWriteTime >> 32));
    PutText(out, "data");
    PutU32(out, dataBytes);
    for (const int16_t sample : pcm.samples) {
        PutU16(out, static_cast<uint16_t>(sample));
    }
    return out;
}
