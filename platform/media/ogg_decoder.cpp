// Ogg Vorbis to PCM through Tremor's vorbisfile over an in-memory source (no temporary file).
#include <tremor/ivorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/media/decoded_sound.h"

namespace {

struct MemorySource {
    const uint8_t* data;
    size_t size;
    size_t at;
};

size_t readMemory(void* ptr, size_t size, size_t count, void* source) {
    auto* s = static_cast<MemorySource*>(source);
    if (size == 0) return 0;
    const size_t items = std::min(count, (s->size - s->at) / size);
    std::memcpy(ptr, s->data + s->at, items * size);
    s->at += items * size;
    return items;
}

int seekMemory(void* source, ogg_int64_t offset, int whence) {
    auto* s = static_cast<MemorySource*>(source);
    ogg_int64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? static_cast<ogg_int64_t>(s->at)
                                                                    : static_cast<ogg_int64_t>(s->size);
    if (whence != SEEK_SET && whence != SEEK_CUR && whence != SEEK_END) return -1;
    if (offset < -base || offset > static_cast<ogg_int64_t>(s->size) - base) return -1;
    s->at = static_cast<size_t>(base + offset);
    return 0;
}

long tellMemory(void* source) { return static_cast<long>(static_cast<MemorySource*>(source)->at); }

}  // namespace

bool Media::decodeOgg(const uint8_t* data, size_t size, DecodedSound& out) {
    if (!data || size == 0) return false;
    MemorySource source{data, size, 0};
    OggVorbis_File file;
    const ov_callbacks callbacks{readMemory, seekMemory, nullptr, tellMemory};
    if (ov_open_callbacks(&source, &file, nullptr, 0, callbacks) != 0) {
        // A seekable open reads the last page for the length; a cut stream has none, so it is
        // read again front to back, as a stream that cannot seek.
        source.at = 0;
        const ov_callbacks forward{readMemory, nullptr, nullptr, nullptr};
        if (ov_open_callbacks(&source, &file, nullptr, 0, forward) != 0) return false;
    }
    const vorbis_info* info = ov_info(&file, -1);
    DecodedSound sound;
    bool ok = info && (info->channels == 1 || info->channels == 2) && info->rate > 0 && info->rate <= 192000;
    if (ok) {
        sound.format.formatTag = 1;
        sound.format.channels = static_cast<uint16_t>(info->channels);
        sound.format.samplesPerSec = static_cast<uint32_t>(info->rate);
        sound.format.bitsPerSample = 16;
        sound.format.blockAlign = static_cast<uint16_t>(info->channels * 2);
        sound.format.avgBytesPerSec = sound.format.samplesPerSec * sound.format.blockAlign;
        const ogg_int64_t millis = ov_time_total(&file, -1);
        sound.durationMicros = millis > 0 ? millis * 1000 : 0;
        char buffer[4096];
        int section = 0;
        for (;;) {
            // A negative answer is a hole or a broken page: keep what came before it.
            const long n = ov_read(&file, buffer, sizeof buffer, &section);
            if (n <= 0) break;
            if (sound.pcm.size() + static_cast<size_t>(n) > kMaxDecodedBytes) break;
            // A chained stream may change its layout; a later link must match the first.
            const vorbis_info* now = ov_info(&file, -1);
            if (!now || now->channels != info->channels || now->rate != info->rate) break;
            sound.pcm.insert(sound.pcm.end(), buffer, buffer + n);
        }
        sound.pcm.resize(sound.pcm.size() - sound.pcm.size() % sound.format.blockAlign);
        ok = !sound.pcm.empty();
        if (sound.durationMicros == 0)
            sound.durationMicros = static_cast<int64_t>(sound.pcm.size() / sound.format.blockAlign) * 1000000 /
                                   sound.format.samplesPerSec;
    }
    ov_clear(&file);
    if (ok) out = std::move(sound);
    return ok;
}
