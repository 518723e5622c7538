// The encoder side of the packs' LZMA items (the reader is sprites/cgame_pack_lzma.cpp).
#include "tools/lzma_alone.h"

#include <lzma.h>

#include <algorithm>
#include <cstdint>

#include "tools/little_endian.h"

namespace tools {

bool compressLzmaAlone(std::string_view data, std::string& out, std::string& error) {
    lzma_options_lzma options{};
    if (lzma_lzma_preset(&options, 6)) {
        error = "liblzma has no preset 6";
        return false;
    }
    // No window larger than the data is of any use; the reader sizes its window to the data too.
    options.dict_size = std::min<uint32_t>(options.dict_size,
                                           std::max<uint32_t>(LZMA_DICT_SIZE_MIN, static_cast<uint32_t>(data.size())));
    options.ext_flags = 0;  // no end marker: the header carries the size
    const lzma_filter filters[] = {{LZMA_FILTER_LZMA1EXT, &options}, {LZMA_VLI_UNKNOWN, nullptr}};

    std::string packed(lzma_stream_buffer_bound(data.size()) + 64, '\0');
    lzma_stream stream = LZMA_STREAM_INIT;
    lzma_ret result = lzma_raw_encoder(&stream, filters);
    if (result == LZMA_OK) {
        stream.next_in = reinterpret_cast<const uint8_t*>(data.data());
        stream.avail_in = data.size();
        stream.next_out = reinterpret_cast<uint8_t*>(packed.data());
        stream.avail_out = packed.size();
        result = lzma_code(&stream, LZMA_FINISH);
    }
    const std::size_t packedSize = stream.total_out;
    lzma_end(&stream);
    if (result != LZMA_STREAM_END) {
        error = "LZMA compression failed (liblzma error " + std::to_string(result) + ")";
        return false;
    }

    out.clear();
    out += static_cast<char>(options.lc + 9 * options.lp + 45 * options.pb);
    appendU32LE(out, options.dict_size);
    appendU32LE(out, static_cast<uint32_t>(data.size()));
    appendU32LE(out, static_cast<uint32_t>(static_cast<uint64_t>(data.size()) >> 32));
    out.append(packed.data(), packedSize);
    return true;
}

}  // namespace tools
