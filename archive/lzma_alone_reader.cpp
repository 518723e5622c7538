// The LZMA-Alone reader over liblzma's raw LZMA1 decoder, told the unpacked size so that a stream
// with or without an end marker both end there.
#include "archive/lzma_alone_reader.h"

#include <lzma.h>

#include <algorithm>

namespace archive {

namespace {

uint32_t le32(std::string_view b, size_t at) {
    uint32_t v = 0;
    for (size_t k = 0; k < 4; ++k) v |= static_cast<uint32_t>(static_cast<uint8_t>(b[at + k])) << (8 * k);
    return v;
}

}  // namespace

bool unpackLzmaAlone(std::string_view item, uint32_t maxUnpacked, std::string& out, std::string& error) {
    if (item.size() < 13) {
        error = "an LZMA item shorter than its 13-byte header";
        return false;
    }
    const uint32_t properties = static_cast<uint8_t>(item[0]);
    const uint32_t size = le32(item, 5);
    if (properties >= 9 * 5 * 5 || size > maxUnpacked || le32(item, 9) != 0) {
        error = "an LZMA header the game refuses (properties or unpacked size)";
        return false;
    }
    lzma_options_lzma options{};
    options.dict_size = std::max<uint32_t>(LZMA_DICT_SIZE_MIN, size);
    options.lc = properties % 9;
    options.lp = properties % 45 / 9;
    options.pb = properties / 45;
    options.ext_flags = LZMA_LZMA1EXT_ALLOW_EOPM;
    lzma_set_ext_size(options, size);
    const lzma_filter filters[] = {{LZMA_FILTER_LZMA1EXT, &options}, {LZMA_VLI_UNKNOWN, nullptr}};
    lzma_stream stream = LZMA_STREAM_INIT;
    out.assign(size, '\0');
    lzma_ret result = lzma_raw_decoder(&stream, filters);
    if (result == LZMA_OK) {
        stream.next_in = reinterpret_cast<const uint8_t*>(item.data() + 13);
        stream.avail_in = item.size() - 13;
        stream.next_out = reinterpret_cast<uint8_t*>(out.data());
        stream.avail_out = out.size();
        result = lzma_code(&stream, LZMA_FINISH);
    }
    const bool whole = stream.avail_out == 0 && (result == LZMA_OK || result == LZMA_STREAM_END);
    lzma_end(&stream);
    if (!whole) error = "an LZMA item that does not unpack to its stated size";
    return whole;
}

}  // namespace archive
