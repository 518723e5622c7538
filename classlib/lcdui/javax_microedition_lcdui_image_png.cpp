// Image's PNG factories: the header scan picks the pixel type (RGBA gives ARGB4444, anything else
// RGB565, keyed after decoding when a magenta pixel is present), the decoder fills the rows.
// Invariant: a range outside the array, a header without a usable size or a failed decode give
// null, never an image that looks decoded.
#include "classlib/java_io/java_io_input_stream.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "platform/graphics/png_decoder.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/log.h"

using Image = javax_microedition_lcdui_Image;

namespace {

constexpr int32_t kPngColorTypeRGBA = 6;

}  // namespace

Image* Image::createImageFromBytes(ByteArray* data, jint offset, jint length) {
    BX_RETURN_IF_NULL(data, nullptr);
    if (offset < 0 || length < 0 || jlong{offset} + length > data->length) {
        Log::error("createImage: bytes %d..+%d outside an array of %d", offset, length, data->length);
        return nullptr;
    }
    PngHeaderInfo info;
    if (!readPngHeader(static_cast<const uint8_t*>(data->data) + offset, static_cast<size_t>(length), info) ||
        info.width <= 0 || info.height <= 0) {
        Log::error("createImage: no usable PNG header (%d x %d)", info.width, info.height);
        return nullptr;
    }
    const uint32_t type = info.colorType == kPngColorTypeRGBA ? kPixelARGB4444 : kPixelRGB565;
    Image* image = Runtime::make<Image>(info.width, info.height, static_cast<jint>(type), 0);
    if (!image) return nullptr;
    const Surface565 pixels = image->pixels565();
    if (!pixels.pixels) return nullptr;
    // Re-read after the allocation: the bytes may have moved.
    const auto* bytes = static_cast<const uint8_t*>(data->data) + offset;
    if (!decodePng(bytes, static_cast<size_t>(length), static_cast<int>(type), pixels.pixels, pixels.width,
                   pixels.height, pixels.pitch)) {
        Log::error("createImage: the PNG does not decode");
        return nullptr;
    }
    if (image->m_pixelType == kPixelRGB565) image->detectColorKey();
    return image;
}

Image* Image::createImage(ByteArray* data, jint offset, jint length) { return createImageFromBytes(data, offset, length); }

Image* Image::createImage(java_io_InputStream* in) {
    BX_RETURN_IF_NULL(in, nullptr);
    ByteArray* bytes = Runtime::readStreamFully(in);
    BX_RETURN_IF_PENDING(nullptr);
    if (!bytes) return nullptr;
    return createImage(bytes, 0, bytes->length);
}
