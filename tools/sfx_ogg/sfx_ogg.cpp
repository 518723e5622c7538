// sfx_ogg: renders a sound-effect recipe (tools/sfx_synth.h) and encodes it as mono Ogg Vorbis at
// quality 0.5 (tools/sfx_ogg/vorbis_writer.h), at build time:  sfx_ogg IN.sfx OUT.ogg
// A program of its own because libvorbis and the game's Tremor share symbol names: nothing that
// links Tremor may link this. The output is written whole or not at all.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/file_bytes.h"
#include "tools/sfx_ogg/vorbis_writer.h"
#include "tools/sfx_synth.h"

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
    std::vector<float> samples(pcm.size());
    for (size_t i = 0; i < pcm.size(); ++i) samples[i] = static_cast<float>(pcm[i]) / 32768.0f;
    std::string ogg;
    if (!tools::encodeVorbis(samples.data(), samples.size(), tools::VorbisSettings{}, ogg)) {
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
