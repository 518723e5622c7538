// Sprites whose picture is one indexed PNG: the PNG is kept whole and each palette is a PLTE + tRNS
// pair written into a copy of it (checksums from zlib) before decoding. The PNG comes from sprite
// data: its signature, header and the places of both chunks are checked before anything is kept.
#include <algorithm>
#include <cstring>

#include <zlib.h>

#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/asprite.h"
#include "sprites/sprite_byte_reader.h"

const uint8_t ASprite::kPngSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};
const uint8_t ASprite::kPngIHDR[4] = {'I', 'H', 'D', 'R'};
const uint8_t ASprite::kPngPLTE[4] = {'P', 'L', 'T', 'E'};
const uint8_t ASprite::kPngTRNS[4] = {'t', 'R', 'N', 'S'};
const uint8_t ASprite::kPngIndexedTail[5] = {8, 3, 0, 0, 0};

namespace {

// The fixed layout the format relies on: the header chunk, then PLTE, then tRNS.
constexpr jint kHeaderLengthAt = 8, kHeaderTailAt = 24;
constexpr jint kPaletteLengthAt = 33, kPaletteDataAt = 41;

jint alphaLengthAt(jint colours) { return kPaletteDataAt + 3 * colours + 4; }
jint alphaDataAt(jint colours) { return alphaLengthAt(colours) + 8; }   // 3 x colours + 53, after the name

uint32_t bigEndianAt(const uint8_t* p) { return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3]; }

void putBigEndian(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (24 - 8 * i));
}

bool chunkIs(const uint8_t* png, jint lengthAt, const uint8_t (&name)[4], uint32_t length) {
    return bigEndianAt(png + lengthAt) == length && std::memcmp(png + lengthAt + 4, name, 4) == 0;
}

// The chunk's checksum over its name and data, written after the data.
void sealChunk(uint8_t* png, jint lengthAt) {
    const uint32_t length = bigEndianAt(png + lengthAt);
    const uLong crc = crc32(0L, png + lengthAt + 4, 4 + length);
    putBigEndian(png + lengthAt + 8 + length, static_cast<uint32_t>(crc));
}

}  // namespace

jint ASprite::BuildPaletteImageData(jint offset, ByteArray* data) {
    BX_RETURN_IF_NULL(data, -1);
    sprites::ByteReader r{data, offset};
    const jint size = (dataFlags & kFlagDataSize32) ? r.s32() : r.u16();
    if (r.failed || size < 0 || !r.has(size)) return sprites::refuseSection("paletted PNG: size", offset);
    const jint pngAt = r.pos;
    r.pos += size;
    const jint count = r.u8();
    jint colours = r.u8();
    if (colours == 0) colours = 256;
    if (r.failed || count < 1 || count > kMaxPalettes) return sprites::refuseSection("paletted PNG: palette count", r.pos);
    const jint block = 4 * colours;
    if (size < alphaDataAt(colours) + colours + 4) return sprites::refuseSection("paletted PNG: too short for its palette", pngAt);
    const auto* png = reinterpret_cast<const uint8_t*>(data->elements()) + pngAt;
    const bool laidOut = std::equal(kPngSignature, kPngSignature + 8, png) && chunkIs(png, kHeaderLengthAt, kPngIHDR, 13) &&
                         std::equal(kPngIndexedTail, kPngIndexedTail + 5, png + kHeaderTailAt) &&
                         chunkIs(png, kPaletteLengthAt, kPngPLTE, 3 * colours) &&
                         chunkIs(png, alphaLengthAt(colours), kPngTRNS, colours);
    if (!laidOut) return sprites::refuseSection("paletted PNG: not an 8-bit indexed PNG with PLTE and tRNS first", pngAt);
    if (!r.has((count - 1) * block)) return sprites::refuseSection("paletted PNG: palettes", r.pos);

    ByteArray* image = Runtime::newByteArray(size);
    ByteArray* palettesBytes = Runtime::newByteArray(count * block);
    if (!image || !palettesBytes) return -1;
    // Re-read after the allocations: they may have moved the data.
    png = reinterpret_cast<const uint8_t*>(data->elements()) + pngAt;
    auto* out = reinterpret_cast<uint8_t*>(palettesBytes->elements());
    std::copy_n(png, size, reinterpret_cast<uint8_t*>(image->elements()));
    std::copy_n(png + kPaletteDataAt, 3 * colours, out);
    std::copy_n(png + alphaDataAt(colours), colours, out + 3 * colours);
    std::copy_n(reinterpret_cast<const uint8_t*>(data->elements()) + r.pos, (count - 1) * block, out + block);
    r.pos += (count - 1) * block;
    imageData = image;
    paletteBytes = palettesBytes;
    paletteBytesCount = count;
    colourCount = colours;
    return r.pos;
}

javax_microedition_lcdui_Image* ASprite::CreatePaletteImage(jint p) {
    if (!imageData || !paletteBytes || p < 0 || p >= paletteBytesCount) return nullptr;
    const jint colours = colourCount;
    const jint block = 4 * colours;
    if (colours < 1 || jlong{paletteBytesCount} * block > paletteBytes->length ||
        imageData->length < alphaDataAt(colours) + colours + 4)
        return nullptr;
    ByteArray* png = Runtime::newByteArray(imageData->length);
    if (!png) return nullptr;
    auto* bytes = reinterpret_cast<uint8_t*>(png->elements());
    std::copy_n(reinterpret_cast<const uint8_t*>(imageData->elements()), imageData->length, bytes);
    const auto* from = reinterpret_cast<const uint8_t*>(paletteBytes->elements()) + p * block;
    std::copy_n(from, 3 * colours, bytes + kPaletteDataAt);
    std::copy_n(from + 3 * colours, colours, bytes + alphaDataAt(colours));
    sealChunk(bytes, kPaletteLengthAt);
    sealChunk(bytes, alphaLengthAt(colours));
    return javax_microedition_lcdui_Image::createImage(png, 0, png->length);
}
