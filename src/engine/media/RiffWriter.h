#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// Little-endian pieces of a RIFF/WAVE file, for writing one in memory.

inline void AppendU16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

inline void AppendU32(std::vector<uint8_t>& out, uint32_t value) {
    AppendU16(out, value & 0xFFFF);
    AppendU16(out, value >> 16);
}

// The id, the body's size and the body, padded to an even length.
inline void AppendRiffChunk(std::vector<uint8_t>& out, std::string_view id, const std::vector<uint8_t>& body) {
    out.insert(out.end(), id.begin(), id.end());
    AppendU32(out, static_cast<uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2 != 0) {
        out.push_back(0);
    }
}

// The body of an uncompressed PCM "fmt " chunk.
inline std::vector<uint8_t> PcmFormatChunk(int channels, int rate, int bits) {
    const uint32_t blockAlign = static_cast<uint32_t>(channels * bits / 8);
    std::vector<uint8_t> format;
    AppendU16(format, 1);
    AppendU16(format, static_cast<uint32_t>(channels));
    AppendU32(format, static_cast<uint32_t>(rate));
    AppendU32(format, blockAlign * static_cast<uint32_t>(rate));
    AppendU16(format, blockAlign);
    AppendU16(format, static_cast<uint32_t>(bits));
    return format;
}

// The whole file around chunks written with AppendRiffChunk.
inline std::vector<uint8_t> RiffWaveFile(const std::vector<uint8_t>& chunks) {
    std::vector<uint8_t> file{'R', 'I', 'F', 'F'};
    AppendU32(file, static_cast<uint32_t>(chunks.size() + 4));
    file.insert(file.end(), {'W', 'A', 'V', 'E'});
    file.insert(file.end(), chunks.begin(), chunks.end());
    return file;
}
