// Writes a short Ogg Vorbis test tone with libvorbisenc: ogg_tone OUT [rate] [channels] [millis].
// A 440 Hz sine at half scale, the input of the Ogg decoding tests. Built apart from anything that
// links Tremor, whose symbols share libvorbis's names.
#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <algorithm>

namespace {

bool writePage(std::FILE* f, const ogg_page& page) {
    return std::fwrite(page.header, 1, page.header_len, f) == static_cast<size_t>(page.header_len) &&
           std::fwrite(page.body, 1, page.body_len, f) == static_cast<size_t>(page.body_len);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const long rate = argc > 2 ? std::atol(argv[2]) : 22050;
    const int channels = argc > 3 ? std::atoi(argv[3]) : 1;
    const long millis = argc > 4 ? std::atol(argv[4]) : 500;
    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f) return 1;
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, 0.4f) != 0) return 1;
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);
    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    ogg_page page;
    bool ok = true;
    while (ogg_stream_flush(&stream, &page) != 0) ok = ok && writePage(f, page);
    const long frames = rate * millis / 1000;
    long done = 0;
    bool eos = false;
    while (!eos) {
        const long n = std::min(1024L, frames - done);
        if (n > 0) {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
            for (long i = 0; i < n; ++i) {
                const float s = 0.5f * static_cast<float>(std::sin(2 * M_PI * 440.0 * (done + i) / rate));
                for (int c = 0; c < channels; ++c) buffer[c][i] = s;
            }
            vorbis_analysis_wrote(&dsp, static_cast<int>(n));
            done += n;
        } else {
            vorbis_analysis_wrote(&dsp, 0);
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                // A page per packet: the tests cut streams at page boundaries.
                while (ogg_stream_flush(&stream, &page) != 0) {
                    ok = ok && writePage(f, page);
                    if (ogg_page_eos(&page)) eos = true;
                }
            }
        }
    }
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return (std::fclose(f) == 0 && ok) ? 0 : 1;
}
