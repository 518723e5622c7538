// Image: the field initialiser, buffer layout and allocation, the screen Image's foreign buffer and
// createImage(width, height). Drawing images onto a Graphics, RGB images and PNG decoding are not
// here.
#include "classlib/lcdui/javax_microedition_lcdui_image.h"

#include <limits>

#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
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
