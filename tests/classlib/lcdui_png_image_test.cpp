// Image's PNG factories over the drawing room's decoder: an RGB picture round-trips through the PNG
// writer (keyed when it holds magenta, the pad column untouched), the stream form reads the same
// bytes, and a range outside the array or a cut file gives null rather than a black image.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../runtime/runtime_fixture.h"
#include "classlib/java_io/java_io_byte_array_input_stream.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "platform/graphics/png_writer.h"
#include "runtime/array.h"
#include "tests/support/file_bytes.h"
#include "tests/support/temp_folder.h"

namespace {

using Image = javax_microedition_lcdui_Image;
using LcduiPngImageTest = RuntimeTest;

// A PNG of the 3 x 2 RGB565 pixels, made by the screenshot writer.
ByteArray* pngOf(const std::vector<uint16_t>& pixels) {
    TempFolder temp;
    const std::string path = (temp.path() / "p.png").string();
    if (!writePng565(path, ConstSurface565{pixels.data(), 3, 2, 3})) return nullptr;
    const std::vector<uint8_t> bytes = readFile(path.c_str());
    ByteArray* array = Runtime::newByteArray(static_cast<jint>(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), static_cast<uint8_t*>(array->data));
    return array;
}

std::vector<uint16_t> elements(Image* image) {
    const auto* p = static_cast<const uint16_t*>(image->m_pixels->data);
    return std::vector<uint16_t>(p, p + image->m_pixels->length);
}

TEST_F(LcduiPngImageTest, RGBPicturesDecodeAndKeyTheirMagenta) {
    const std::vector<uint16_t> plain = {0xF800, 0x07E0, 0x001F, 0xFFFF, 0x0000, 0x8410};
    ByteArray* bytes = pngOf(plain);
    ASSERT_NE(bytes, nullptr);
    Image* image = Image::createImage(bytes, 0, bytes->length);
    ASSERT_NE(image, nullptr);
    EXPECT_FALSE(image->isMutable());
    EXPECT_EQ(image->m_pixelType, kPixelRGB565);
    EXPECT_EQ(elements(image), (std::vector<uint16_t>{0xF800, 0x07E0, 0x001F, 0, 0xFFFF, 0x0000, 0x8410, 0}));

    std::vector<uint16_t> withKey = plain;
    withKey[4] = 0xF81F;
    ByteArray* keyed = pngOf(withKey);
    Image* k = Image::createImage(keyed, 0, keyed->length);
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(k->m_pixelType, kPixelRGB565ColorKey);

    auto* in = java_io_ByteArrayInputStream::over(keyed);
    Image* streamed = Image::createImage(in);
    ASSERT_NE(streamed, nullptr);
    EXPECT_EQ(elements(streamed), elements(k));
}

TEST_F(LcduiPngImageTest, BadRangesAndCutFilesGiveNull) {
    ByteArray* bytes = pngOf({1, 2, 3, 4, 5, 6});
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(Image::createImage(bytes, -1, bytes->length), nullptr);
    EXPECT_EQ(Image::createImage(bytes, 1, bytes->length), nullptr);
    EXPECT_EQ(Image::createImage(bytes, 0, -1), nullptr);
    EXPECT_EQ(Image::createImage(bytes, 0, bytes->length - 20), nullptr);  // the image data is cut
    EXPECT_EQ(Image::createImage(bytes, 0, 20), nullptr);                  // only the signature and part of IHDR
    EXPECT_EQ(Image::createImage(nullptr, 0, 0), nullptr);
}

}  // namespace
