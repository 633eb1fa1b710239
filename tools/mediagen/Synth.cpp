#include "mediagen/Synth.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

constexpr int kSerialNumber = 0x57524C31;
constexpr int kBlock = 1024;

double Envelope(double t, double length, double attack, double decay) {
    if (t < 0 || t >= length) {
        return 0;
    }
    const double rise = attack > 0 ? std::min(1.0, t / attack) : 1.0;
    return rise * std::exp(-t / std::max(decay, 1e-4));
}

void AppendPage(const ogg_page& page, Bytes& out) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

}  // namespace

Synth::Synth(double seconds) : samples_(static_cast<size_t>(seconds * kRate), 0.0f) {}

void Synth::Tone(double start, double length, double from, double to, double level, double attack, double decay) {
    double phase = 0;
    const size_t first = static_cast<size_t>(start * kRate);
    for (size_t i = first; i < samples_.size(); ++i) {
        const double t = static_cast<double>(i - first) / kRate;
        if (t >= length) {
            break;
        }
        const double frequency = from + (to - from) * (t / length);
        phase += 2 * M_PI * frequency / kRate;
        samples_[i] += static_cast<float>(level * Envelope(t, length, attack, decay) * std::sin(phase));
    }
}

void Synth::Noise(double start, double length, double level, double attack, double decay, double brightness) {
    double low = 0;
    const size_t first = static_cast<size_t>(start * kRate);
    for (size_t i = first; i < samples_.size(); ++i) {
        const double t = static_cast<double>(i - first) / kRate;
        if (t >= length) {
            break;
        }
        noiseState_ = noiseState_ * 1664525u + 1013904223u;
        const double white = static_cast<double>(noiseState_ >> 8) / static_cast<double>(1u << 23) - 1.0;
        low += (white - low) * std::clamp(brightness, 0.01, 1.0);
        samples_[i] += static_cast<float>(level * Envelope(t, length, attack, decay) * low);
    }
}

void Synth::Normalize(double peak) {
    float loudest = 0;
    for (float s : samples_) {
        loudest = std::max(loudest, std::fabs(s));
    }
    if (loudest > 0) {
        for (float& s : samples_) {
            s = static_cast<float>(s * peak / loudest);
        }
    }
}

Bytes EncodeOggVorbis(const std::vector<float>& samples, int rate, float quality) {
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 1, rate, quality) != 0) {
        vorbis_info_clear(&info);
        throw std::runtime_error("Vorbis encoder refuses the settings");
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, kSerialNumber);

    Bytes out;
    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0) {
        AppendPage(page, out);
    }

    size_t position = 0;
    bool ended = false;
    bool allWritten = false;
    while (!ended && !allWritten) {
        const size_t count = std::min<size_t>(kBlock, samples.size() - position);
        if (count == 0) {
            vorbis_analysis_wrote(&dsp, 0);  // the end of the sound: the encoder drains
            allWritten = true;
        } else {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
            std::copy(samples.begin() + static_cast<std::ptrdiff_t>(position),
                      samples.begin() + static_cast<std::ptrdiff_t>(position + count), buffer[0]);
            vorbis_analysis_wrote(&dsp, static_cast<int>(count));
            position += count;
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    AppendPage(page, out);
                    ended = ogg_page_eos(&page) != 0;
                }
            }
        }
    }

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}
