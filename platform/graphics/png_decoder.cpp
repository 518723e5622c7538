// PNG header scan and libpng decoding into 16-bit image rows. libpng reports errors by longjmp back
// to decodeRows' frame, so that frame holds no object with a destructor and keeps everything that
// must outlive a jump (the row buffer, the read position) in a Decode record owned by its caller.
#include "platform/graphics/png_decoder.h"

#include <png.h>

#include <cstdlib>
#include <cstring>

#include "platform/graphics/surface.h"
#include "runtime/log.h"

namespace {

constexpr uint32_t kChunkIHDR = 0x49484452;
constexpr uint32_t kChunkPLTE = 0x504C5445;
constexpr uint32_t kChunkTRNS = 0x74524E53;
constexpr uint32_t kChunkIEND = 0x49454E44;
constexpr size_t kSignatureBytes = 8;

uint32_t readBigEndian32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | uint32_t{p[3]};
}

// How the decoded rows become pixels.
enum class RowFormat : uint8_t {
    Rgb565,    // 3 bytes a pixel, truncated to RGB565
    Argb4444,  // 3 or 4 bytes a pixel, the high nibble of each byte (opaque without alpha)
    KeyAlpha,  // 4 bytes a pixel: alpha 0 becomes the key pixel, any other alpha is opaque RGB565
};

// Everything decodeRows sets up that its caller releases, whether libpng jumped or not.
struct Decode {
    const uint8_t* data = nullptr;
    size_t length = 0;
    size_t offset = 0;  // read position of the callback
    png_structp png = nullptr;
    png_infop info = nullptr;
    uint8_t* buffer = nullptr;  // height rows of rowBytes, decoded RGB(A)
    png_bytep* rows = nullptr;
    size_t rowBytes = 0;
    int channels = 0;
    RowFormat format = RowFormat::Rgb565;
};

void readFromMemory(png_structp png, png_bytep out, size_t count) {
    auto* d = static_cast<Decode*>(png_get_io_ptr(png));
    if (count > d->length - d->offset) png_error(png, "read past the end of the data");
    std::memcpy(out, d->data + d->offset, count);
    d->offset += count;
}

png_voidp allocate(png_structp, png_alloc_size_t size) { return std::malloc(size); }
void release(png_structp, png_voidp block) { std::free(block); }

void onError(png_structp png, png_const_charp message) {
    Log::debug("png: %s", message);
    png_longjmp(png, 1);
}
void onWarning(png_structp, png_const_charp message) { Log::debug("png: %s", message); }

// The transforms that make every picture 8-bit RGB or RGBA, chosen by the target pixel type and the
// presence of transparency; false when the picture is not width x height.
bool chooseTransforms(Decode& d, int pixelType, int32_t width, int32_t height) {
    png_uint_32 w = 0, h = 0;
    int bitDepth = 0, colorType = 0;
    png_get_IHDR(d.png, d.info, &w, &h, &bitDepth, &colorType, nullptr, nullptr, nullptr);
    if (w != static_cast<png_uint_32>(width) || h != static_cast<png_uint_32>(height)) return false;
    if (bitDepth == 16) png_set_strip_16(d.png);
    if ((colorType & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(d.png);
    const bool transparencyChunk = png_get_valid(d.png, d.info, PNG_INFO_tRNS) != 0;
    const bool alpha = transparencyChunk || (colorType & PNG_COLOR_MASK_ALPHA) != 0;
    d.channels = alpha ? 4 : 3;
    if (transparencyChunk || (pixelType == 0 && alpha))
        d.format = RowFormat::KeyAlpha;
    else
        d.format = pixelType == 2 ? RowFormat::Argb4444 : RowFormat::Rgb565;
    return true;
}

// The libpng part of decodePng. Returns false after a libpng error or a picture other than
// expected; d holds what has to be freed either way.
bool decodeRows(Decode& d, int pixelType, int32_t width, int32_t height) {
    if (setjmp(png_jmpbuf(d.png))) return false;
    png_set_read_fn(d.png, &d, &readFromMemory);
    png_set_user_limits(d.png, kPngMaxSide, kPngMaxSide);
    // Only IHDR, PLTE, tRNS and the image data matter; skipping the rest keeps libpng from buffering
    // a chunk as long as its (untrusted) length says before finding the data is shorter.
    png_set_keep_unknown_chunks(d.png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_set_expand(d.png);
    png_read_info(d.png, d.info);
    if (!chooseTransforms(d, pixelType, width, height)) return false;
    png_set_interlace_handling(d.png);
    png_read_update_info(d.png, d.info);
    d.rowBytes = png_get_rowbytes(d.png, d.info);
    if (png_get_bit_depth(d.png, d.info) != 8 || png_get_channels(d.png, d.info) != d.channels ||
        d.rowBytes != static_cast<size_t>(width) * static_cast<size_t>(d.channels))
        return false;
    const auto rowCount = static_cast<size_t>(height);
    d.buffer = static_cast<uint8_t*>(std::malloc(d.rowBytes * rowCount));
    d.rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * rowCount));
    if (d.buffer == nullptr || d.rows == nullptr) return false;
    for (size_t y = 0; y < rowCount; ++y) d.rows[y] = d.buffer + y * d.rowBytes;
    png_read_image(d.png, d.rows);
    return true;
}

void convertRow(const Decode& d, const uint8_t* in, uint16_t* out, int32_t width) {
    switch (d.format) {
        case RowFormat::Rgb565:
            for (int32_t x = 0; x < width; ++x, in += 3) out[x] = rgb565(in[0], in[1], in[2]);
            break;
        case RowFormat::KeyAlpha:
            for (int32_t x = 0; x < width; ++x, in += 4)
                out[x] = in[3] == 0 ? kPngKeyPixel : rgb565(in[0], in[1], in[2]);
            break;
        case RowFormat::Argb4444:
            for (int32_t x = 0; x < width; ++x, in += d.channels) {
                const unsigned a = d.channels == 4 ? in[3] >> 4 : 0xF;
                out[x] = static_cast<uint16_t>((a << 12) | ((in[0] >> 4) << 8) | (in[1] & 0xF0) | (in[2] >> 4));
            }
            break;
    }
}

}  // namespace

bool readPngHeader(const uint8_t* data, size_t length, PngHeaderInfo& info) {
    info = PngHeaderInfo{};
    if (data == nullptr || length < kSignatureBytes) return false;
    bool haveHeader = false;
    size_t pos = kSignatureBytes;
    while (length - pos >= 8) {
        const uint32_t chunkLength = readBigEndian32(data + pos);
        const uint32_t type = readBigEndian32(data + pos + 4);
        pos += 8;
        const size_t left = length - pos;
        if (type == kChunkIHDR && !haveHeader) {
            // libpng decodes by the first IHDR, so the scan keeps that one too.
            if (chunkLength < 10 || left < 10) break;
            info.width = static_cast<int32_t>(readBigEndian32(data + pos));
            info.height = static_cast<int32_t>(readBigEndian32(data + pos + 4));
            info.bitDepth = data[pos + 8];
            info.colorType = data[pos + 9];
            haveHeader = true;
        } else if (type == kChunkPLTE) {
            info.paletteEntries = static_cast<int32_t>(chunkLength / 3);
        } else if (type == kChunkTRNS) {
            info.hasTransparency = 1;
        } else if (type == kChunkIEND) {
            break;
        }
        if (left < size_t{4} + chunkLength) break;  // the chunk and its CRC run past the data
        pos += size_t{4} + chunkLength;
    }
    if (!haveHeader || info.width <= 0 || info.height <= 0 || info.width > kPngMaxSide ||
        info.height > kPngMaxSide) {
        info.width = info.height = 0;
        return false;
    }
    return true;
}

bool decodePng(const uint8_t* data, size_t length, int pixelType, uint16_t* pixels, int32_t width, int32_t height,
               int32_t stride) {
    if (data == nullptr || pixels == nullptr || (pixelType != 0 && pixelType != 2)) return false;
    if (width <= 0 || height <= 0 || width > kPngMaxSide || height > kPngMaxSide || stride < width) return false;
    Decode d;
    d.data = data;
    d.length = length;
    d.png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, &onError, &onWarning, nullptr, &allocate,
                                     &release);
    if (d.png == nullptr) return false;
    d.info = png_create_info_struct(d.png);
    const bool decoded = d.info != nullptr && decodeRows(d, pixelType, width, height);
    if (decoded) {
        for (int32_t y = 0; y < height; ++y)
            convertRow(d, d.rows[y], pixels + static_cast<ptrdiff_t>(y) * stride, width);
    }
    std::free(d.rows);
    std::free(d.buffer);
    png_destroy_read_struct(&d.png, &d.info, nullptr);
    return decoded;
}
