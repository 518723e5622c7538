// Image: the field initialiser, buffer layout and allocation, the screen Image's foreign buffer, the
// factories (size, region, stream, RGB) and getRGB. Copies onto a Graphics are the Graphics' and the
// PNG factory is javax_microedition_lcdui_image_png.cpp.
#include "classlib/lcdui/javax_microedition_lcdui_image.h"

#include <algorithm>
#include <limits>

#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "platform/graphics/blit.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/log.h"
#include "runtime/method_trace.h"
#include "runtime/new_instance_factory.h"

namespace {

using Image = javax_microedition_lcdui_Image;

const uint32_t kImageRefs[] = {BX_REF_FIELD(javax_microedition_lcdui_Image, m_pixels)};
const RefFieldRegistration kImageRefsReg(CID_javax_microedition_lcdui_Image, kImageRefs);
const NewInstanceRegistration kImageNew(CID_javax_microedition_lcdui_Image, &newInstanceOf<Image>);

constexpr uint32_t kTypeMask = ~Image::kMutableBit;

// Row length in bytes and array length (elements) of a width x height buffer of `type`, computed
// wide so that a size no array can hold is recognised.
struct Layout {
    jlong stride;
    jlong elements;
    bool shorts;
};
Layout layoutOf(jlong width, jlong height, uint32_t type, jlong extra) {
    switch (type) {
        case kPixelRGB565:
        case kPixelRGB565ColorKey:
        case kPixelARGB4444: {
            const jlong stride = ((width + 1) & ~jlong{1}) * 2;
            return {stride, stride / 2 * height, true};
        }
        case kPixelIndex8: return {width, width * height + 1 + extra, false};
        default: {
            const jlong stride = (width + 1) >> 1;
            return {stride, stride * height + 1 + extra, false};
        }
    }
}

bool fitsAnArray(const Layout& layout) {
    return layout.elements <= std::numeric_limits<jint>::max() && layout.stride <= std::numeric_limits<jint>::max();
}

}  // namespace

void Image::initFields() {
    m_pixels = nullptr;
    m_width = m_height = m_stride = 0;
    m_mutable = 0;
    m_pixelType = kPixelRGB565;
}

void Image::init(jint width, jint height, jint creationWord, jint extra) {
    initFields();
    allocPixels(width, height, creationWord, extra);
}

void Image::allocPixels(jint width, jint height, jint creationWord, jint extra) {
    const auto word = static_cast<uint32_t>(creationWord);
    const uint32_t type = word & kTypeMask;
    m_pixelType = type;
    if (word & kMutableBit) {
        if (type != kPixelRGB565) Runtime::traceLog("imagetype");
        m_mutable = 1;
    }
    const Layout layout = layoutOf(width, height, type, extra < 0 ? 0 : extra);
    if (width < 0 || height < 0 || !fitsAnArray(layout)) {
        Log::error("Image: %d x %d pixels of type %u cannot be held", width, height, type);
        return;
    }
    const auto elements = static_cast<jint>(layout.elements);
    Array* pixels = layout.shorts ? static_cast<Array*>(Runtime::newShortArray(elements))
                                  : static_cast<Array*>(Runtime::newByteArray(elements));
    if (!pixels || pixels->length != elements) return;  // nothing to draw into: stays 0 by 0
    m_pixels = pixels;
    m_width = width;
    m_height = height;
    m_stride = static_cast<jint>(layout.stride);
}

void Image::attachFrameBuffer(uint16_t* pixels, jint width, jint height) {
    initFields();
    if (!pixels) return Runtime::nullPointer();
    const Layout layout = layoutOf(width, height, kPixelRGB565, 0);
    m_mutable = 1;
    if (width < 0 || height < 0 || !fitsAnArray(layout)) {
        Log::error("Image: a %d x %d frame buffer cannot be held", width, height);
        return;
    }
    ShortArray* array = Runtime::newForeignShortArray(pixels, static_cast<jint>(layout.elements));
    if (!array) return;
    m_pixels = array;
    m_width = width;
    m_height = height;
    m_stride = static_cast<jint>(layout.stride);
}

javax_microedition_lcdui_Graphics* Image::getGraphics() {
    if (!m_mutable) Runtime::traceLog("!mutable");
    return Runtime::make<javax_microedition_lcdui_Graphics>(this);
}

jint Image::getWidth() { return m_width; }
jint Image::getHeight() { return m_height; }

ShortArray* Image::getShortPixels() {
    if (!m_pixels || m_pixels->classId() != CID_ShortArray) {
        Runtime::traceLog("Image pixels are not a ShortArray");
        return nullptr;
    }
    return static_cast<ShortArray*>(m_pixels);
}

ByteArray* Image::getBytePixels() {
    if (!m_pixels || m_pixels->classId() != CID_ByteArray) {
        Runtime::traceLog("Image pixels are not a ByteArray");
        return nullptr;
    }
    return static_cast<ByteArray*>(m_pixels);
}

Image* Image::createImage(jint width, jint height) {
    return Runtime::make<Image>(width, height, static_cast<jint>(kMutableBit), 0);
}

Surface565 Image::pixels565() const {
    if (!m_pixels || m_pixels->classId() != CID_ShortArray || !m_pixels->data || m_pixelType > kPixelARGB4444)
        return {};
    const jint pitch = m_stride / 2;
    if (m_width <= 0 || m_height <= 0 || pitch < m_width || m_pixels->length < jlong{pitch} * m_height) return {};
    return {static_cast<uint16_t*>(m_pixels->data), m_width, m_height, pitch};
}

void Image::detectColorKey() {
    if (!m_pixels || m_pixels->classId() != CID_ShortArray) return;
    m_pixelType = kPixelRGB565;
    const auto* p = static_cast<const uint16_t*>(m_pixels->data);
    const jlong count = std::min<jlong>(jlong{m_stride / 2} * m_height, m_pixels->length);
    for (jlong i = 0; p && i < count; ++i) {
        if (p[i] == kColorKey565) {
            m_pixelType = kPixelRGB565ColorKey;
            return;
        }
    }
}

Image* Image::createImage(Image* src, jint x, jint y, jint width, jint height, jint transform) {
    const bool swap = transform >= 4 && transform <= 7;
    Image* image = createImage(swap ? height : width, swap ? width : height);
    if (!image) return nullptr;
    javax_microedition_lcdui_Graphics* g = image->getGraphics();
    if (!g) return image;
    g->drawRegion(src, x, y, width, height, transform, 0, 0, 20);
    return image;
}

Image* Image::createRGBImage(IntArray* rgb, jint width, jint height, jboolean processAlpha) {
    if (!rgb) Runtime::traceLog("createRGBImage rgbData");
    if (width <= 0 || height <= 0) Runtime::traceLog("createRGBImage width, height");
    if (!rgb || width <= 0 || height <= 0) return Runtime::make<Image>(0, 0, 0, 0);
    // Only complete rows are copied from a short array.
    jint rows = height;
    if (rgb->length < jlong{width} * height) {
        Runtime::traceLog("createRGBImage length");
        rows = rgb->length / width;
    }
    bool translucent = false;
    if (processAlpha) {
        const auto* p = static_cast<const uint32_t*>(rgb->data);
        for (jint i = 0; i < rgb->length && !translucent; ++i) {
            const uint32_t alpha = p[i] >> 24;
            translucent = alpha >= 1 && alpha <= 254 && (p[i] & 0xFFFFFF) != 0xFF00FF;
        }
    }
    Image* image = Runtime::make<Image>(width, height, static_cast<jint>(translucent ? kPixelARGB4444 : kPixelRGB565), 0);
    if (!image) return nullptr;
    javax_microedition_lcdui_Graphics* g = Runtime::make<javax_microedition_lcdui_Graphics>(image);
    if (!g) return image;
    if (translucent || !processAlpha) {
        g->drawRGB(rgb, 0, width, 0, 0, width, rows, processAlpha);
        return image;
    }
    g->setColor(0xFF00FF);
    g->fillRect(0, 0, width, height);
    g->drawRGB(rgb, 0, width, 0, 0, width, rows, 1);
    image->detectColorKey();
    return image;
}

void Image::getRGB(IntArray* argb, jint offset, jint scanlength, jint x, jint y, jint width, jint height) {
    if (!argb) return Runtime::traceLog("getRGB argb null");
    if (x < 0 || y < 0) return Runtime::traceLog("getRGB x,y outside");
    if (jlong{x} + width > m_width || jlong{y} + height > m_height)
        return Runtime::traceLog("getRGB width,height outside");
    if (width <= 0 || height <= 0) return;
    // Every index written, first and last row: offset + row * scanlength + [0, width).
    const jlong lastRow = jlong{height - 1} * scanlength;
    const jlong low = offset + std::min<jlong>(0, lastRow), high = offset + std::max<jlong>(0, lastRow) + width;
    if (low < 0 || high > argb->length) return Runtime::traceLog("getRGB length");
    const Surface565 pixels = pixels565();
    if (!pixels.pixels) return Runtime::traceLog("m_pixelType");
    auto* out = static_cast<uint32_t*>(argb->data);
    for (jint row = 0; row < height; ++row) {
        const uint16_t* in = pixels.row(y + row) + x;
        uint32_t* dst = out + offset + jlong{row} * scanlength;
        if (m_pixelType == kPixelARGB4444) widen4444(in, dst, width);
        else widen565(in, dst, width, m_pixelType == kPixelRGB565ColorKey);
    }
}
