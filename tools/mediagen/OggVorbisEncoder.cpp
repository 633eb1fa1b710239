#include "mediagen/OggVorbisEncoder.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <stdexcept>

namespace {

constexpr int kSerialNumber = 0x57524C31;
constexpr size_t kBlockFrames = 1024;

void AppendPage(const ogg_page& page, std::vector<uint8_t>& out) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

}  // namespace

std::vector<uint8_t> EncodeOggVorbis(const std::vector<float>& interleaved, int channels, int rate, float quality) {
    vorbis_info info;
    vorbis_info_init(&info);
    if (channels < 1 || vorbis_encode_init_vbr(&info, channels, rate, quality) != 0) {
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

    std::vector<uint8_t> out;
    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0) {
        AppendPage(page, out);
    }

    const size_t channelCount = static_cast<size_t>(channels);
    const size_t frames = interleaved.size() / channelCount;
    size_t position = 0;
    bool ended = false;
    bool allWritten = false;
    while (!ended && !allWritten) {
        const size_t count = std::min(kBlockFrames, frames - position);
        if (count == 0) {
            vorbis_analysis_wrote(&dsp, 0);  // the end of the sound: the encoder drains
            allWritten = true;
        } else {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
            for (size_t frame = 0; frame < count; ++frame) {
                for (size_t channel = 0; channel < channelCount; ++channel) {
                    buffer[channel][frame] = interleaved[(position + frame) * channelCount + channel];
                }
            }
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
