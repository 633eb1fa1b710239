// Writes a short Ogg Vorbis tone for the sound tests and fuzz seeds:
//   make_test_ogg <output> <channels> <rate> <frames>
// The left channel is a 440 Hz sine, the right one (if any) 660 Hz.
// Built apart from the tests: the encoder's library exports the same
// symbol names as the decoder the program links.
#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

bool WritePage(FILE* file, const ogg_page& page) {
    return std::fwrite(page.header, 1, static_cast<size_t>(page.header_len), file) ==
               static_cast<size_t>(page.header_len) &&
           std::fwrite(page.body, 1, static_cast<size_t>(page.body_len), file) == static_cast<size_t>(page.body_len);
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
    FILE* file = std::fopen(argv[1], "wb");
    if (file == nullptr) {
        return 1;
    }

    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, 0.1f) != 0) {
        return 1;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);  // a fixed serial keeps the output reproducible

    ogg_packet header, commentHeader, codeHeader;
    vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &commentHeader);
    ogg_stream_packetin(&stream, &codeHeader);
    ogg_page page;
    bool ok = true;
    while (ogg_stream_flush(&stream, &page) != 0) {
        ok = ok && WritePage(file, page);
    }

    const double pi = std::acos(-1.0);
    long written = 0;
    bool finished = false;
    while (!finished) {
        const long piece = frames - written < 1024 ? frames - written : 1024;
        if (piece > 0) {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(piece));
            for (long i = 0; i < piece; ++i) {
                const double t = static_cast<double>(written + i) / static_cast<double>(rate);
                for (int c = 0; c < channels; ++c) {
                    buffer[c][i] = static_cast<float>(0.5 * std::sin(2 * pi * (440.0 + 220.0 * c) * t));
                }
            }
            written += piece;
            vorbis_analysis_wrote(&dsp, static_cast<int>(piece));
        } else {
            vorbis_analysis_wrote(&dsp, 0);
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    ok = ok && WritePage(file, page);
                    finished = ogg_page_eos(&page) != 0;
                }
            }
        }
    }

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return std::fclose(file) == 0 && ok ? 0 : 1;
}
