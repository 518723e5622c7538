// Graphics: state (colour, clip, translation) and fillRect. Clipping is done in 64-bit arithmetic
// so that no sum of a coordinate and a size can wrap around and slip past the clip.
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"

#include <algorithm>

#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/method_trace.h"

namespace {

using Graphics = javax_microedition_lcdui_Graphics;

const uint32_t kGraphicsRefs[] = {BX_REF_FIELD(javax_microedition_lcdui_Graphics, m_target)};
const RefFieldRegistration kGraphicsRefsReg(CID_javax_microedition_lcdui_Graphics, kGraphicsRefs);

constexpr uint32_t kOpaque = 0xFF000000u;

bool isComponent(jint c) { return c >= 0 && c <= 255; }

}  // namespace

void Graphics::init(javax_microedition_lcdui_Image* target) {
    m_color = 0;
    m_translateX = m_translateY = 0;
    m_target = target;
    m_clipX1 = m_clipY1 = 0;
    m_clipX2 = target ? target->getWidth() : 0;
    m_clipY2 = target ? target->getHeight() : 0;
    if (!target) Runtime::nullPointer();
}

void Graphics::setColor(jint rgb) { m_color = static_cast<uint32_t>(rgb) | kOpaque; }

void Graphics::setColor(jint r, jint g, jint b) {
    if (!isComponent(r) || !isComponent(g) || !isComponent(b)) {
        Runtime::traceLog("setColor(%d, %d, %d): a component is outside 0..255", r, g, b);
        Runtime::printStackTrace();
    }
    const uint32_t red = static_cast<uint32_t>(r) | 0xFFFFFF00u;
    m_color = static_cast<uint32_t>(b) | ((static_cast<uint32_t>(g) | (red << 8)) << 8);
}

void Graphics::clampClipToTarget() {
    const jint width = m_target ? m_target->getWidth() : 0;
    const jint height = m_target ? m_target->getHeight() : 0;
    m_clipX1 = std::max(m_clipX1, 0);
    m_clipY1 = std::max(m_clipY1, 0);
    m_clipX2 = std::min(m_clipX2, width);
    m_clipY2 = std::min(m_clipY2, height);
}

void Graphics::setClip(jint x, jint y, jint w, jint h) {
    m_clipX1 = jt::add(m_translateX, x);
    m_clipY1 = jt::add(m_translateY, y);
    m_clipX2 = jt::add(m_clipX1, w);
    m_clipY2 = jt::add(m_clipY1, h);
    clampClipToTarget();
}

void Graphics::clipRect(jint x, jint y, jint w, jint h) {
    const jint x1 = jt::add(m_translateX, x);
    const jint y1 = jt::add(m_translateY, y);
    m_clipX1 = std::max(m_clipX1, x1);
    m_clipY1 = std::max(m_clipY1, y1);
    m_clipX2 = std::min(m_clipX2, jt::add(x1, w));
    m_clipY2 = std::min(m_clipY2, jt::add(y1, h));
    clampClipToTarget();
}

jint Graphics::getClipX() const { return jt::sub(m_clipX1, m_translateX); }
jint Graphics::getClipY() const { return jt::sub(m_clipY1, m_translateY); }
jint Graphics::getClipWidth() const { return jt::sub(m_clipX2, m_clipX1); }
jint Graphics::getClipHeight() const { return jt::sub(m_clipY2, m_clipY1); }

void Graphics::translate(jint dx, jint dy) {
    m_translateX = jt::add(m_translateX, dx);
    m_translateY = jt::add(m_translateY, dy);
}

uint16_t* Graphics::targetPixels() const {
    if (!m_target) return nullptr;
    ShortArray* pixels = m_target->getShortPixels();
    if (!pixels || !pixels->data) return nullptr;
    const jlong needed = static_cast<jlong>(m_target->m_stride / 2) * m_target->getHeight();
    if (m_target->m_stride / 2 < m_target->getWidth() || pixels->length < needed) return nullptr;
    return reinterpret_cast<uint16_t*>(pixels->data);
}

void Graphics::fillRect(jint x, jint y, jint w, jint h) {
    jlong left = static_cast<jlong>(x) + m_translateX;
    jlong top = static_cast<jlong>(y) + m_translateY;
    jlong width = w;
    jlong height = h;
    if (left < m_clipX1) {
        if (left + width < m_clipX1) return;
        width -= m_clipX1 - left;
        left = m_clipX1;
    }
    if (left + width > m_clipX2) width = m_clipX2 - left;
    if (width <= 0) return;
    if (top < m_clipY1) {
        if (top + height < m_clipY1) return;
        height -= m_clipY1 - top;
        top = m_clipY1;
    }
    if (top + height > m_clipY2) height = m_clipY2 - top;
    if (height <= 0) return;

    uint16_t* pixels = targetPixels();
    if (!pixels) return Runtime::nullPointer();
    const jint pitch = m_target->m_stride;
    uint16_t* dst = pixels + top * (pitch / 2) + left;
    if ((m_color >> 24) == 0xFF)
        FillRect16(dst, static_cast<jint>(width), static_cast<jint>(height), pitch, toRGB565(m_color));
    else
        fillRectBlend(dst, static_cast<jint>(width), static_cast<jint>(height), pitch);
}

void Graphics::FillRect16(uint16_t* dst, jint w, jint h, jint pitchBytes, uint16_t rgb565) {
    if (h < 1) Runtime::traceLog("FillRect16 h > 0");
    for (jint row = 0; row < h; ++row) {
        std::fill_n(dst, w, rgb565);
        dst += pitchBytes / 2;
    }
}

// Each RGB565 field weighed by 256 - alpha against the colour's top bits weighed by alpha.
void Graphics::fillRectBlend(uint16_t* dst, jint w, jint h, jint pitchBytes) const {
    const uint32_t a = m_color >> 24;
    const uint32_t ia = 256 - a;
    const uint32_t r8 = (m_color >> 16) & 0xFF;
    const uint32_t g8 = (m_color >> 8) & 0xFF;
    const uint32_t b8 = m_color & 0xFF;
    const uint32_t red = (r8 * a) >> 11;
    const uint32_t green = (g8 * a) >> 10;
    const uint32_t blue = (b8 * a) >> 11;
    for (jint row = 0; row < h; ++row) {
        for (jint col = 0; col < w; ++col) {
            const uint32_t d = dst[col];
            const uint32_t r = ((((d >> 11) & 0x1F) * ia) >> 8) + red;
            const uint32_t g = ((((d >> 5) & 0x3F) * ia) >> 8) + green;
            const uint32_t b = (((d & 0x1F) * ia) >> 8) + blue;
            dst[col] = static_cast<uint16_t>(((r & 0x1F) << 11) | ((g & 0x3F) << 5) | (b & 0x1F));
        }
        dst += pitchBytes / 2;
    }
}
