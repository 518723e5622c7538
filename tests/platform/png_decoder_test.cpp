// The PNG reader: the chunk scan, each colour type and depth into RGB565 / ARGB4444 rows (tRNS and
// key rules, pad pixels untouched), interlacing, and clean failure on cut, corrupt or oversized data.
// Fixtures are written here with libpng's writer.
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/graphics/png_decoder.h"
#include "platform/graphics/surface.h"

namespace {

constexpr uint16_t kPad = 0xABCD;  // what the decoder must leave alone

struct PngPicture {
    int width = 0, height = 0, bitDepth = 8, colorType = PNG_COLOR_TYPE_RGB;
    std::vector<uint16_t> samples;  // every channel of every pixel, row after row
    std::vector<png_color> palette;
    std::vector<uint8_t> paletteAlpha;  // tRNS of a palette picture
    const png_color_16* keyColour = nullptr;  // tRNS of a grey or RGB picture
    bool interlaced = false;
};

int channelsOf(int colorType) {
    switch (colorType) {
        case PNG_COLOR_TYPE_GRAY:
        case PNG_COLOR_TYPE_PALETTE: return 1;
        case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
        case PNG_COLOR_TYPE_RGB: return 3;
        default: return 4;
    }
}

// Packs one row of samples the way libpng takes them: big-endian 16-bit, or high bits first.
std::vector<uint8_t> packRow(const PngPicture& s, int y) {
    const size_t perRow = static_cast<size_t>(s.width) * channelsOf(s.colorType);
    std::vector<uint8_t> row((perRow * s.bitDepth + 7) / 8, 0);
    for (size_t i = 0; i < perRow; ++i) {
        const uint16_t v = s.samples[y * perRow + i];
        if (s.bitDepth == 16) {
            row[2 * i] = static_cast<uint8_t>(v >> 8);
            row[2 * i + 1] = static_cast<uint8_t>(v);
        } else {
            const size_t bit = i * s.bitDepth;
            row[bit / 8] = static_cast<uint8_t>(row[bit / 8] | (v << (8 - s.bitDepth - bit % 8)));
        }
    }
    return row;
}

void appendBytes(png_structp png, png_bytep data, size_t length) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

std::vector<uint8_t> encode(const PngPicture& s) {
    std::vector<std::vector<uint8_t>> rows;
    for (int y = 0; y < s.height; ++y) rows.push_back(packRow(s, y));
    std::vector<png_bytep> rowPointers;
    for (auto& row : rows) rowPointers.push_back(row.data());
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        ADD_FAILURE() << "the fixture could not be written";
        return {};
    }
    png_set_write_fn(png, &out, &appendBytes, nullptr);
    png_set_IHDR(png, info, s.width, s.height, s.bitDepth, s.colorType,
                 s.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!s.palette.empty()) png_set_PLTE(png, info, s.palette.data(), static_cast<int>(s.palette.size()));
    if (!s.paletteAlpha.empty() || s.keyColour != nullptr)
        png_set_tRNS(png, info, s.paletteAlpha.data(), static_cast<int>(s.paletteAlpha.size()), s.keyColour);
    png_write_info(png, info);
    png_write_image(png, rowPointers.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

int32_t strideOf(int32_t width) { return (width + 1) & ~1; }

// Decodes into rows of the image layout (odd widths padded), every element first set to kPad.
bool decodeInto(const std::vector<uint8_t>& png, size_t length, int pixelType, int32_t width, int32_t height,
                std::vector<uint16_t>& pixels) {
    pixels.assign(static_cast<size_t>(strideOf(width)) * height, kPad);
    return decodePng(png.data(), length, pixelType, pixels.data(), width, height, strideOf(width));
}

// The pixels of a width-3 decode with the pad element of each row dropped (after checking it).
std::vector<uint16_t> withoutPad(const std::vector<uint16_t>& rows) {
    std::vector<uint16_t> out;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (i % 4 == 3)
            EXPECT_EQ(rows[i], kPad) << "pad element " << i;
        else
            out.push_back(rows[i]);
    }
    return out;
}

uint32_t chunkLength(const std::vector<uint8_t>& png, size_t at) {
    return (uint32_t{png[at]} << 24) | (uint32_t{png[at + 1]} << 16) | (uint32_t{png[at + 2]} << 8) | png[at + 3];
}

// End of the last IDAT chunk (its CRC included): every byte before it is needed to decode.
size_t endOfImageData(const std::vector<uint8_t>& png) {
    size_t pos = 8, end = 0;
    while (pos + 8 <= png.size()) {
        const size_t length = chunkLength(png, pos);
        if (png[pos + 4] == 'I' && png[pos + 5] == 'D' && png[pos + 6] == 'A' && png[pos + 7] == 'T')
            end = pos + 12 + length;
        pos += 12 + length;
    }
    return end;
}

size_t chunkOffset(const std::vector<uint8_t>& png, const char* type) {
    for (size_t pos = 8; pos + 8 <= png.size();) {
        if (std::equal(type, type + 4, png.begin() + static_cast<long>(pos) + 4)) return pos;
        pos += 12 + size_t{chunkLength(png, pos)};
    }
    ADD_FAILURE() << "no chunk " << type;
    return 0;
}

void putBigEndian(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(value >> (24 - 8 * i));
}

// Sets the CRC of the chunk at `at` to match its (edited) contents.
void mendCrc(std::vector<uint8_t>& png, size_t at) {
    const uint32_t length = chunkLength(png, at);
    putBigEndian(png, at + 8 + length, static_cast<uint32_t>(crc32(0, png.data() + at + 4, length + 4)));
}

PngPicture rgbGradient(int width, int height, bool interlaced) {
    PngPicture s{width, height, 8, PNG_COLOR_TYPE_RGB, {}, {}, {}, nullptr, interlaced};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            s.samples.insert(s.samples.end(), {static_cast<uint16_t>((x * 29 + y * 3) & 0xFF),
                                               static_cast<uint16_t>((y * 31) & 0xFF),
                                               static_cast<uint16_t>((x * y * 7) & 0xFF)});
    return s;
}

const png_color_16 kRgbKey{0, 0x10, 0x20, 0x30, 0};
const png_color_16 kGreyKey{0, 0, 0, 0, 0x40};

// A 3 x 1 picture, so that every decoded row has a pad element.
PngPicture row3(int colorType, int bitDepth, std::vector<uint16_t> samples, std::vector<png_color> palette = {},
             std::vector<uint8_t> paletteAlpha = {}, const png_color_16* keyColour = nullptr) {
    return {3, 1, bitDepth, colorType, std::move(samples), std::move(palette), std::move(paletteAlpha), keyColour,
            false};
}

TEST(PngDecoderTest, EachColourTypeAndDepthBecomesItsPixels) {
    struct Case {
        const char* what;
        PngPicture picture;
        int pixelType;
        std::vector<uint16_t> want;
    };
    const Case cases[] = {
        {"RGB truncates to RGB565",
         row3(PNG_COLOR_TYPE_RGB, 8, {0xFF, 0, 0, 0x12, 0x34, 0x56, 0xFF, 0xFF, 0xFF}),
         0,
         {0xF800, 0x11AA, 0xFFFF}},
        {"RGB magenta converts to the key pixel",
         row3(PNG_COLOR_TYPE_RGB, 8, {0xFF, 0, 0xFF, 0xF8, 0x03, 0xFA, 0, 0, 0}),
         0,
         {0xF81F, 0xF81F, 0x0000}},
        {"RGBA into ARGB4444 keeps the high nibbles",
         row3(PNG_COLOR_TYPE_RGBA, 8, {0x12, 0x34, 0x56, 0x7F, 0xFF, 0xFF, 0xFF, 0, 0xF0, 0x0F, 0x88, 0xFF}),
         2,
         {0x7135, 0x0FFF, 0xFF08}},
        {"RGB into ARGB4444 is opaque",
         row3(PNG_COLOR_TYPE_RGB, 8, {0x12, 0x34, 0x56, 0, 0, 0, 0xFF, 0xFF, 0xFF}),
         2,
         {0xF135, 0xF000, 0xFFFF}},
        {"palette with tRNS: alpha 0 keyed, partial alpha opaque",
         row3(PNG_COLOR_TYPE_PALETTE, 8, {0, 1, 2}, {{0xFF, 0, 0}, {0, 0xFF, 0}, {0, 0, 0xFF}}, {0x00, 0x80}),
         0,
         {0xF81F, 0x07E0, 0x001F}},
        {"4-bit palette without tRNS",
         row3(PNG_COLOR_TYPE_PALETTE, 4, {1, 0, 1}, {{0x12, 0x34, 0x56}, {0xFF, 0xFF, 0xFF}}),
         0,
         {0xFFFF, 0x11AA, 0xFFFF}},
        {"RGB with a tRNS colour keys exactly that colour",
         row3(PNG_COLOR_TYPE_RGB, 8, {0x10, 0x20, 0x30, 0x10, 0x20, 0x31, 0, 0, 0}, {}, {}, &kRgbKey),
         0,
         {0xF81F, rgb565(0x10, 0x20, 0x31), 0x0000}},
        {"tRNS wins over an ARGB4444 target",
         row3(PNG_COLOR_TYPE_RGB, 8, {0x10, 0x20, 0x30, 0xFF, 0xFF, 0xFF, 0, 0, 0}, {}, {}, &kRgbKey),
         2,
         {0xF81F, 0xFFFF, 0x0000}},
        {"8-bit grey", row3(PNG_COLOR_TYPE_GRAY, 8, {0x00, 0x80, 0xFF}), 0, {0x0000, 0x8410, 0xFFFF}},
        {"1-bit grey widens to black and white", row3(PNG_COLOR_TYPE_GRAY, 1, {1, 0, 1}), 0, {0xFFFF, 0, 0xFFFF}},
        {"grey with a tRNS level", row3(PNG_COLOR_TYPE_GRAY, 8, {0x40, 0x80, 0x40}, {}, {}, &kGreyKey),
         0, {0xF81F, 0x8410, 0xF81F}},
        {"grey and alpha into RGB565: alpha 0 keyed",
         row3(PNG_COLOR_TYPE_GRAY_ALPHA, 8, {0x80, 0x00, 0x80, 0x01, 0xFF, 0xFF}),
         0,
         {0xF81F, 0x8410, 0xFFFF}},
        {"grey and alpha into ARGB4444",
         row3(PNG_COLOR_TYPE_GRAY_ALPHA, 8, {0x80, 0x00, 0x80, 0xF0, 0xFF, 0x7F}),
         2,
         {0x0888, 0xF888, 0x7FFF}},
        {"16-bit RGB keeps the high bytes",
         row3(PNG_COLOR_TYPE_RGB, 16, {0xFF00, 0x1234, 0x00FF, 0x12FF, 0x3400, 0x5600, 0, 0, 0}),
         0,
         {rgb565(0xFF, 0x12, 0x00), 0x11AA, 0x0000}},
        {"16-bit RGBA into ARGB4444",
         row3(PNG_COLOR_TYPE_RGBA, 16, {0xFFFF, 0x8000, 0, 0x7FFF, 0, 0, 0, 0, 0x1234, 0x5678, 0x9ABC, 0xFFFF}),
         2,
         {0x7F80, 0x0000, 0xF159}},
        {"16-bit grey", row3(PNG_COLOR_TYPE_GRAY, 16, {0xFFFF, 0x80FF, 0x00FF}), 0, {0xFFFF, 0x8410, 0x0000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<uint8_t> png = encode(c.picture);
        PngHeaderInfo info;
        ASSERT_TRUE(readPngHeader(png.data(), png.size(), info));
        EXPECT_EQ(info.width, 3);
        EXPECT_EQ(info.height, 1);
        EXPECT_EQ(info.bitDepth, c.picture.bitDepth);
        EXPECT_EQ(info.colorType, c.picture.colorType);
        EXPECT_EQ(info.paletteEntries, static_cast<int32_t>(c.picture.palette.size()));
        EXPECT_EQ(info.hasTransparency, !c.picture.paletteAlpha.empty() || c.picture.keyColour != nullptr);
        std::vector<uint16_t> pixels;
        ASSERT_TRUE(decodeInto(png, png.size(), c.pixelType, 3, 1, pixels));
        EXPECT_EQ(withoutPad(pixels), c.want);
    }
}

TEST(PngDecoderTest, InterlacedDecodesLikeProgressiveAndPadStaysUntouched) {
    std::vector<uint16_t> progressive, interlaced;
    const std::vector<uint8_t> plain = encode(rgbGradient(11, 9, false));
    const std::vector<uint8_t> adam7 = encode(rgbGradient(11, 9, true));
    ASSERT_TRUE(decodeInto(plain, plain.size(), 0, 11, 9, progressive));
    ASSERT_TRUE(decodeInto(adam7, adam7.size(), 0, 11, 9, interlaced));
    EXPECT_EQ(progressive, interlaced);
    EXPECT_EQ(progressive[1 * 12 + 2], rgb565(2 * 29 + 3, 31, 14));
    for (int y = 0; y < 9; ++y) EXPECT_EQ(progressive[y * 12 + 11], kPad) << "row " << y;
}

TEST(PngDecoderTest, CutDataFailsAtEveryPointBeforeTheLastImageChunk) {
    PngPicture palette{7, 5, 2, PNG_COLOR_TYPE_PALETTE, {}, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}}, {0}, nullptr, true};
    for (int i = 0; i < 35; ++i) palette.samples.push_back(static_cast<uint16_t>(i % 3));
    for (const PngPicture& picture : {rgbGradient(13, 6, false), palette}) {
        const std::vector<uint8_t> png = encode(picture);
        const size_t needed = endOfImageData(png);
        ASSERT_GT(needed, 33u);
        std::vector<uint16_t> whole;
        ASSERT_TRUE(decodeInto(png, png.size(), 0, picture.width, picture.height, whole));
        for (size_t cut = 0; cut < png.size(); ++cut) {
            SCOPED_TRACE(cut);
            PngHeaderInfo info;
            EXPECT_EQ(readPngHeader(png.data(), cut, info), cut >= 8 + 8 + 10);
            std::vector<uint16_t> pixels;
            const bool decoded = decodeInto(png, cut, 0, picture.width, picture.height, pixels);
            EXPECT_EQ(decoded, cut >= needed);
            if (decoded)
                EXPECT_EQ(pixels, whole);  // only IEND was cut
            else
                EXPECT_EQ(pixels, std::vector<uint16_t>(pixels.size(), kPad));
        }
    }
}

TEST(PngDecoderTest, CorruptOrMismatchedPicturesFailCleanly) {
    const std::vector<uint8_t> good = encode(rgbGradient(5, 4, false));
    std::vector<uint16_t> pixels;
    ASSERT_TRUE(decodeInto(good, good.size(), 0, 5, 4, pixels));

    std::vector<uint8_t> badCrc = good;
    badCrc[endOfImageData(good) - 1] ^= 0x01;
    PngHeaderInfo info;
    EXPECT_TRUE(readPngHeader(badCrc.data(), badCrc.size(), info)) << "the scan does not check CRCs";
    EXPECT_FALSE(decodeInto(badCrc, badCrc.size(), 0, 5, 4, pixels));

    std::vector<uint8_t> badHeaderCrc = good;
    badHeaderCrc[8 + 8 + 13] ^= 0x80;
    EXPECT_FALSE(decodeInto(badHeaderCrc, badHeaderCrc.size(), 0, 5, 4, pixels));

    std::vector<uint8_t> badSignature = good;
    badSignature[1] = 'Q';
    EXPECT_FALSE(decodeInto(badSignature, badSignature.size(), 0, 5, 4, pixels));

    std::vector<uint8_t> badDeflate = good;
    badDeflate[chunkOffset(good, "IDAT") + 8] ^= 0xFF;  // the zlib header
    EXPECT_FALSE(decodeInto(badDeflate, badDeflate.size(), 0, 5, 4, pixels));

    EXPECT_FALSE(decodeInto(good, good.size(), 0, 4, 4, pixels)) << "narrower than the picture";
    EXPECT_FALSE(decodeInto(good, good.size(), 0, 5, 5, pixels)) << "taller than the picture";
    EXPECT_FALSE(decodeInto(good, good.size(), 1, 5, 4, pixels)) << "pixel type 1 is not decoded into";
    EXPECT_FALSE(decodePng(good.data(), good.size(), 0, pixels.data(), 5, 4, 4)) << "stride below the width";
    EXPECT_FALSE(decodePng(nullptr, 0, 0, pixels.data(), 5, 4, 6));
    EXPECT_FALSE(decodePng(good.data(), good.size(), 0, nullptr, 5, 4, 6));
}

TEST(PngDecoderTest, HeaderSizesOutOfRangeAreRefused) {
    std::vector<uint8_t> png = encode(rgbGradient(5, 4, false));
    const size_t ihdr = chunkOffset(png, "IHDR") + 8;
    struct Case {
        uint32_t width, height;
        bool usable;
    };
    const Case cases[] = {
        {0, 4, false},          {5, 0, false},    {0xFFFFFFFF, 4, false}, {5, 0x80000000, false},
        {0x7FFFFFFF, 4, false}, {4097, 4, false}, {4096, 4096, true},     {5, 4, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        putBigEndian(png, ihdr, c.width);
        putBigEndian(png, ihdr + 4, c.height);
        PngHeaderInfo info;
        EXPECT_EQ(readPngHeader(png.data(), png.size(), info), c.usable);
        EXPECT_EQ(info.width, c.usable ? static_cast<int32_t>(c.width) : 0);
        EXPECT_EQ(info.height, c.usable ? static_cast<int32_t>(c.height) : 0);
    }
    std::vector<uint16_t> pixels(8 * 4097, kPad);
    putBigEndian(png, ihdr, 4097);
    putBigEndian(png, ihdr + 4, 4);
    EXPECT_FALSE(decodePng(png.data(), png.size(), 0, pixels.data(), 4097, 4, 4098));
    putBigEndian(png, ihdr, 4096);
    putBigEndian(png, ihdr + 4, 4096);
    mendCrc(png, ihdr - 8);
    std::vector<uint16_t> huge(size_t{4096} * 4096, kPad);  // a real size whose data is far too short
    EXPECT_FALSE(decodePng(png.data(), png.size(), 0, huge.data(), 4096, 4096, 4096));
    EXPECT_EQ(huge[0], kPad);
}

TEST(PngDecoderTest, ChunkScanIsBoundedByTheData) {
    std::vector<uint8_t> png = encode(rgbGradient(5, 4, false));
    std::vector<uint16_t> whole, pixels;
    ASSERT_TRUE(decodeInto(png, png.size(), 0, 5, 4, whole));

    const std::vector<uint8_t> noEnd(png.begin(), png.end() - 12);
    PngHeaderInfo info;
    EXPECT_TRUE(readPngHeader(noEnd.data(), noEnd.size(), info));
    ASSERT_TRUE(decodeInto(noEnd, noEnd.size(), 0, 5, 4, pixels)) << "a missing IEND is not needed";
    EXPECT_EQ(pixels, whole);

    // A chunk claiming more than there is ends the scan with what was found before it.
    std::vector<uint8_t> longChunk = png;
    putBigEndian(longChunk, chunkOffset(png, "IDAT"), 0xFFFFFFF0);
    longChunk.insert(longChunk.end() - 12, {0, 0, 0, 1, 't', 'R', 'N', 'S', 0, 0, 0, 0, 0});
    EXPECT_TRUE(readPngHeader(longChunk.data(), longChunk.size(), info));
    EXPECT_EQ(info.width, 5);
    EXPECT_EQ(info.hasTransparency, 0);
    EXPECT_FALSE(decodeInto(longChunk, longChunk.size(), 0, 5, 4, pixels));

    // An IHDR too short for its fields is no header.
    std::vector<uint8_t> shortHeader = png;
    putBigEndian(shortHeader, chunkOffset(png, "IHDR"), 9);
    EXPECT_FALSE(readPngHeader(shortHeader.data(), shortHeader.size(), info));

    // The scan keeps the first IHDR, the one libpng decodes by.
    std::vector<uint8_t> twoHeaders = png;
    const size_t ihdr = chunkOffset(png, "IHDR");
    std::vector<uint8_t> second(png.begin() + static_cast<long>(ihdr), png.begin() + static_cast<long>(ihdr) + 25);
    putBigEndian(second, 8, 77);
    twoHeaders.insert(twoHeaders.end() - 12, second.begin(), second.end());
    EXPECT_TRUE(readPngHeader(twoHeaders.data(), twoHeaders.size(), info));
    EXPECT_EQ(info.width, 5);

    EXPECT_FALSE(readPngHeader(nullptr, 100, info));
    EXPECT_FALSE(readPngHeader(png.data(), 7, info));
}

}  // namespace
