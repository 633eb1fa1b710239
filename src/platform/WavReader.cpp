#include "platform/WavReader.h"

#include <cstring>

namespace platform {
namespace {

uint16_t ReadU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t ReadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

struct WavFormat {
    uint16_t tag = 0;
    uint16_t channels = 0;
    uint32_t rate = 0;
    uint16_t bits = 0;
};

bool IsSupported(const WavFormat& format) {
    return format.tag == 1 && (format.channels == 1 || format.channels == 2) &&
           (format.bits == 8 || format.bits == 16) && format.rate >= static_cast<uint32_t>(kMinSoundRate) &&
           format.rate <= static_cast<uint32_t>(kMaxSoundRate);
}

void ConvertSamples(const WavFormat& format, const uint8_t* bytes, size_t byteCount, Pcm& pcm) {
    const size_t bytesPerSample = format.bits / 8;
    size_t frames = byteCount / (bytesPerSample * format.channels);
    pcm.cut = frames > kMaxSoundFrames;
    if (pcm.cut) {
        frames = kMaxSoundFrames;
    }
    const size_t count = frames * format.channels;
    pcm.channels = format.channels;
    pcm.rate = static_cast<int>(format.rate);
    pcm.samples.resize(count);
    for (size_t i = 0; i < count; ++i) {
        if (format.bits == 8) {
            // 8-bit WAV samples are unsigned around 128.
            pcm.samples[i] = static_cast<int16_t>((bytes[i] - 128) * 256);
        } else {
            pcm.samples[i] = static_cast<int16_t>(ReadU16(bytes + 2 * i));
        }
    }
}

}  // namespace

bool LooksLikeWav(const uint8_t* data, size_t size) {
    return size >= 12 && std::memcmp(data, "RIFF", 4) == 0 && std::memcmp(data + 8, "WAVE", 4) == 0;
}

bool ReadWav(const uint8_t* data, size_t size, Pcm& pcm) {
    if (data == nullptr || !LooksLikeWav(data, size)) {
        return false;
    }
    WavFormat format;
    bool haveFormat = false;
    size_t offset = 12;
    while (size - offset >= 8) {
        const uint8_t* header = data + offset;
        const size_t available = size - offset - 8;
        const uint32_t claimed = ReadU32(header + 4);
        const size_t chunkSize = claimed < available ? claimed : available;
        const uint8_t* body = header + 8;
        if (std::memcmp(header, "fmt ", 4) == 0) {
            if (chunkSize < 16) {
                return false;
            }
            format.tag = ReadU16(body);
            format.channels = ReadU16(body + 2);
            format.rate = ReadU32(body + 4);
            format.bits = ReadU16(body + 14);
            haveFormat = true;
        } else if (std::memcmp(header, "data", 4) == 0) {
            if (!haveFormat || !IsSupported(format)) {
                return false;
            }
            ConvertSamples(format, body, chunkSize, pcm);
            return true;
        }
        // Chunks are padded to an even length.
        const size_t advance = 8 + chunkSize + (chunkSize & 1);
        if (advance > size - offset) {
            break;
        }
        offset += advance;
    }
    return false;
}

}  // namespace platform
