// Writes a short Ogg Vorbis tone for the sound tests and fuzz seeds:
//   make_test_ogg <output> <channels> <rate> <frames>
// The left channel is a 440 Hz sine, the right one (if any) 660 Hz.
// Built apart from the tests: the encoder's library exports the same
// symbol names as the decoder the program links.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <vector>

#include "mediagen/OggVorbisEncoder.h"

namespace {

constexpr float kQuality = 0.1f;

std::vector<float> Tone(int channels, long rate, long frames) {
    const double pi = std::acos(-1.0);
    std::vector<float> samples;
    samples.reserve(static_cast<size_t>(frames) * static_cast<size_t>(channels));
    for (long i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / static_cast<double>(rate);
        for (int c = 0; c < channels; ++c) {
            samples.push_back(static_cast<float>(0.5 * std::sin(2 * pi * (440.0 + 220.0 * c) * t)));
        }
    }
    return samples;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s <output> <channels> <rate> <frames>\n", argv[0]);
        return 2;
    }
    const int channels = std::atoi(argv[2]);
    const long rate = std::atol(argv[3]);
    const long frames = std::atol(argv[4]);
    std::vector<uint8_t> bytes;
    try {
        bytes = EncodeOggVorbis(Tone(channels, rate, frames), channels, static_cast<int>(rate), kQuality);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    FILE* file = std::fopen(argv[1], "wb");
    if (file == nullptr) {
        return 1;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written ? 0 : 1;
}
