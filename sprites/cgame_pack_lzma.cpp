// LZMA items: the 13-byte LZMA-Alone header (properties, dictionary size, u64 unpacked size of which
// the low 32 bits count) and the compressed stream, unpacked by liblzma as raw LZMA1 with the size
// known. The header is untrusted: the unpacked size is capped, and an item that does not fill its
// output exactly is a failure (null), never a short array.
#include <lzma.h>

#include <algorithm>

#include "runtime/array.h"
#include "runtime/log.h"
#include "sprites/cgame_packs.h"
#include "sprites/pack_exceptions.h"

namespace {

constexpr jint kHeaderSize = 13;
constexpr jint kPropertiesLimit = 9 * 5 * 5;  // lc < 9, lp < 5, pb < 5

jint u32At(ByteArray* b, jint i) {
    jint value = 0;
    for (jint k = 3; k >= 0; --k) value = jt::shl(value, 8) | (b->get(i + k) & 0xFF);
    return value;
}

// Unpacks packed[0, n) into out, which it must fill exactly.
bool unpack(jint properties, ByteArray* packed, jint n, ByteArray* out) {
    lzma_options_lzma options{};
    options.dict_size = std::max<uint32_t>(LZMA_DICT_SIZE_MIN, static_cast<uint32_t>(out->length));
    options.lc = static_cast<uint32_t>(properties % 9);
    options.lp = static_cast<uint32_t>(properties % 45 / 9);
    options.pb = static_cast<uint32_t>(properties / 45);
    options.ext_flags = LZMA_LZMA1EXT_ALLOW_EOPM;
    lzma_set_ext_size(options, static_cast<uint64_t>(out->length));
    const lzma_filter filters[] = {{LZMA_FILTER_LZMA1EXT, &options}, {LZMA_VLI_UNKNOWN, nullptr}};

    lzma_stream stream = LZMA_STREAM_INIT;
    if (lzma_raw_decoder(&stream, filters) != LZMA_OK) {
        lzma_end(&stream);
        return false;
    }
    // Nothing below allocates in our heaps, so the data pointers stay put.
    stream.next_in = static_cast<const uint8_t*>(packed->data);
    stream.avail_in = static_cast<size_t>(n);
    stream.next_out = static_cast<uint8_t*>(out->data);
    stream.avail_out = static_cast<size_t>(out->length);
    const lzma_ret result = lzma_code(&stream, LZMA_FINISH);
    const bool full = stream.avail_out == 0 && (result == LZMA_OK || result == LZMA_STREAM_END);
    lzma_end(&stream);
    return full;
}

}  // namespace

void cGamePacks::lzmaDecode(java_io_InputStream* in, jint size) {
    s_lzmaResult = nullptr;
    if (size < kHeaderSize) return;
    ByteArray* header = Runtime::newByteArray(kHeaderSize);
    ByteArray* packed = Runtime::newByteArray(size - kHeaderSize);
    if (!header || !packed) return;
    jint got = streamReadFully(in, header, 0, kHeaderSize);
    if (packs::callRaised() || got != kHeaderSize) return;
    got = streamReadFully(in, packed, 0, packed->length);
    if (packs::callRaised() || got != packed->length) return;

    const jint properties = header->get(0) & 0xFF;
    const jint unpackedSize = u32At(header, 5);
    if (properties >= kPropertiesLimit || unpackedSize < 0 || unpackedSize > kMaxUnpackedSize) {
        Log::printf(LogLevel::Warn, "pack: LZMA item with properties %d and size %d refused", properties,
                    unpackedSize);
        return;
    }
    ByteArray* out = Runtime::newByteArray(unpackedSize);
    if (!out) return;
    if (unpackedSize > 0 && !unpack(properties, packed, packed->length, out)) {
        Log::printf(LogLevel::Warn, "pack: LZMA item does not unpack to its %d bytes", unpackedSize);
        return;
    }
    s_lzmaResult = out;
}
