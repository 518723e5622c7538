// Graphics: state (colour, clip, translation) and fillRect; the clipping and the pixel work are the
// drawing room's (platform/graphics/), so no sum of a coordinate and a size can slip past the clip.
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

Surface565 Graphics::targetSurface() const {
    if (!m_target) return {};
    ShortArray* pixels = m_target->getShortPixels();
    if (!pixels || !pixels->data) return {};
    const jint pitch = m_target->m_stride / 2;
    const jlong needed = static_cast<jlong>(pitch) * m_target->getHeight();
    if (pitch < m_target->getWidth() || pixels->length < needed) return {};
    return {reinterpret_cast<uint16_t*>(pixels->data), m_target->getWidth(), m_target->getHeight(), pitch};
}

Rect Graphics::clip() const { return {m_clipX1, m_clipY1, m_clipX2 - m_clipX1, m_clipY2 - m_clipY1}; }

void Graphics::fillRect(jint x, jint y, jint w, jint h) {
    const Rect area = clip().clip(jlong{x} + m_translateX, jlong{y} + m_translateY, w, h);
    if (area.empty()) return;
    const Surface565 target = targetSurface();
    if (!target.pixels) return Runtime::nullPointer();
    if ((m_color >> 24) == 0xFF)
        ::fillRect(target, area, toRGB565(m_color));
    else
        blendRect565(target, area, m_color);
}

void Graphics::FillRect16(uint16_t* dst, jint w, jint h, jint pitchBytes, uint16_t rgb565) {
    if (h < 1) Runtime::traceLog("FillRect16 h > 0");
    ::fillRect(Surface565{dst, w, h, pitchBytes / 2}, Rect{0, 0, w, h}, rgb565);
}
