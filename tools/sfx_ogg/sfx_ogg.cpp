// sfx_ogg: renders a sound-effect recipe (tools/sfx_synth.h) and encodes it as Ogg Vorbis with
// libvorbisenc, at build time:  sfx_ogg IN.sfx OUT.ogg
// A program of its own because libvorbis and the game's Tremor share symbol names: nothing that
// links Tremor may link this. The output is written whole or not at all.
#include <vorbis/vorbisenc.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/file_bytes.h"
#include "tools/sfx_synth.h"

namespace {

void appendPage(std::string& out, const ogg_page& page) {
    out.append(reinterpret_cast<const char*>(page.header), static_cast<size_t>(page.header_len));
    out.append(reinterpret_cast<const char*>(page.body), static_cast<size_t>(page.body_len));
}

// Mono Vorbis at quality 0.5; a fixed stream serial, so the same recipe gives the same file.
bool encode(const std::vector<int16_t>& pcm, std::string& out) {
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 1, tools::kSfxRate, 0.5f) != 0) {
        vorbis_info_clear(&info);
        return false;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "ENCODER", "brindlex sfx_ogg");
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 0x42524458);
    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page) != 0) appendPage(out, page);
    size_t done = 0;
    bool eos = false;
    while (!eos) {
        const size_t n = std::min<size_t>(1024, pcm.size() - done);
        if (n > 0) {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
            for (size_t i = 0; i < n; ++i) buffer[0][i] = static_cast<float>(pcm[done + i]) / 32768.0f;
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
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    appendPage(out, page);
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
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: sfx_ogg IN.sfx OUT.ogg\n");
        return 2;
    }
    std::string recipe, error;
    std::vector<int16_t> pcm;
    if (!tools::readFileBytes(argv[1], recipe, error) || !tools::renderSfx(recipe, argv[1], pcm, error)) {
        std::fprintf(stderr, "sfx_ogg: %s\n", error.c_str());
        return 1;
    }
    std::string ogg;
    if (!encode(pcm, ogg)) {
        std::fprintf(stderr, "sfx_ogg: %s: libvorbisenc refused mono %d Hz\n", argv[1], tools::kSfxRate);
        return 1;
    }
    const std::filesystem::path out(argv[2]);
    const std::filesystem::path temp = out.string() + ".part";
    std::filesystem::create_directories(out.parent_path());
    std::FILE* f = std::fopen(temp.c_str(), "wb");
    bool ok = f && std::fwrite(ogg.data(), 1, ogg.size(), f) == ogg.size();
    if (f && std::fclose(f) != 0) ok = false;
    std::error_code ec;
    if (ok) std::filesystem::rename(temp, out, ec);
    if (!ok || ec) {
        std::filesystem::remove(temp, ec);
        std::fprintf(stderr, "sfx_ogg: %s: cannot write\n", argv[2]);
        return 1;
    }
    return 0;
}
