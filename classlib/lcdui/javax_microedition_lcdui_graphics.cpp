// Graphics: state (colour, clip, translation) and the primitives. The clipping, the walkers and the
// pixel work are the drawing room's (platform/graphics/); coordinates are widened to 64 bits before
// the translation is added, so no sum of a coordinate and a size can slip past the clip.
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"

#include <algorithm>
#include <string_view>

#include "classlib/lcdui/javax_microedition_lcdui_font.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "platform/graphics/anchor.h"
#include "platform/graphics/blit.h"
#include "platform/graphics/region_blit.h"
#include "platform/graphics/shapes.h"
#include "platform/graphics/system_font.h"
#include "runtime/array.h"
#include "runtime/string.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
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

Surface565 Graphics::targetSurface() const { return m_target ? m_target->pixels565() : Surface565{}; }

Rect Graphics::clip() const { return {m_clipX1, m_clipY1, m_clipX2 - m_clipX1, m_clipY2 - m_clipY1}; }

void Graphics::fillRect(jint x, jint y, jint w, jint h) { fillRel(x, y, w, h); }

void Graphics::fillRel(jlong x, jlong y, jlong w, jlong h) { fillAbs(x + m_translateX, y + m_translateY, w, h); }

void Graphics::fillAbs(jlong x, jlong y, jlong w, jlong h) {
    const Rect area = clip().clip(x, y, w, h);
    if (area.empty()) return;
    const Surface565 target = targetSurface();
    if (!target.pixels) return Runtime::nullPointer();
    if ((m_color >> 24) == 0xFF)
        ::fillRect(target, area, toRGB565(m_color));
    else
        blendRect565(target, area, m_color);
}

void Graphics::drawLine(jint x1, jint y1, jint x2, jint y2) { lineRel(x1, y1, x2, y2); }

void Graphics::lineRel(jlong x1, jlong y1, jlong x2, jlong y2) {
    LineEnds line{x1 + m_translateX, y1 + m_translateY, x2 + m_translateX, y2 + m_translateY};
    if (!clipLine(clip(), line)) return;
    const Surface565 target = targetSurface();
    if (!target.pixels) return Runtime::nullPointer();
    drawLine565(target, line, m_color);
}

void Graphics::drawRect(jint x, jint y, jint w, jint h) {
    const jlong r = jlong{x} + w, b = jlong{y} + h;
    lineRel(x, y, r, y);
    lineRel(x, y, x, b);
    lineRel(r, y, r, b);
    lineRel(x, b, r, b);
}

namespace {

struct Corners {
    jlong r, xs, xe, ys, ye;
};
Corners cornersOf(jint x, jint y, jint w, jint h, jint arcWidth) {
    const jlong r = std::max<jlong>(jlong{arcWidth} - 2, 0) >> 1;
    return {r, x + r, jlong{x} + w - 1 - r, y + r, jlong{y} + h - 1 - r};
}

}  // namespace

void Graphics::drawRoundRect(jint x, jint y, jint w, jint h, jint arcWidth, jint) {
    const Corners c = cornersOf(x, y, w, h, arcWidth);
    const jlong r = c.r, xs = c.xs, xe = c.xe, ys = c.ys, ye = c.ye;
    const jlong right = jlong{x} + w - 1, bottom = jlong{y} + h - 1;
    lineRel(xs, y, xe, y);
    lineRel(xs, bottom, xe, bottom);
    lineRel(x, ys, x, ye);
    lineRel(right, ys, right, ye);
    const jlong dots[8][2] = {{xe, ye + r}, {xe + r, ye}, {xe, y}, {xe + r, ys},
                              {xs, ye + r}, {x, ye},      {xs, y}, {x, ys}};
    for (const auto& d : dots) fillRel(d[0], d[1], 1, 1);
    if (r < 1) return;
    walkCircle(r, [&](jlong k, jlong q) {
        const jlong step[8][2] = {{xe + k, ye + q}, {xe + q, ye + k}, {xe + k, ys - q}, {xe + q, ys - k},
                                  {xs - k, ye + q}, {xs - q, ye + k}, {xs - k, ys - q}, {xs - q, ys - k}};
        for (const auto& d : step) fillRel(d[0], d[1], 1, 1);
    });
}

void Graphics::fillRoundRect(jint x, jint y, jint w, jint h, jint arcWidth, jint) {
    const Corners c = cornersOf(x, y, w, h, arcWidth);
    const jlong r = c.r, xs = c.xs, xe = c.xe, ys = c.ys, ye = c.ye;
    // The four lines round columns l..rt, rows t..b.
    auto outline = [this](jlong l, jlong t, jlong rt, jlong b) {
        lineRel(l, t, rt, t);
        lineRel(l, t, l, b);
        lineRel(rt, t, rt, b);
        lineRel(l, b, rt, b);
    };
    const jlong right = jlong{x} + w - 1, bottom = jlong{y} + h - 1;
    outline(xs, y, xe, bottom);
    outline(x, ys, right, ye);
    if (r >= 1) {
        walkCircle(r, [&](jlong k, jlong q) {
            outline(xs - k, y + (r - q), xe + k, bottom - (r - q));
            outline(x + (r - q), ys - k, right - (r - q), ye + k);
        });
    }
    fillRel(xs, ys, jlong{w} - 2 * r, jlong{h} - 2 * r);
}

void Graphics::drawArc(jint x, jint y, jint w, jint h, jint startAngle, jint arcAngle) {
    drawArcImpl(x, y, w, h, startAngle, arcAngle, false);
}

void Graphics::fillArc(jint x, jint y, jint w, jint h, jint startAngle, jint arcAngle) {
    drawArcImpl(x, y, w, h, startAngle, arcAngle, true);
}

void Graphics::drawArcImpl(jint x, jint y, jint w, jint h, jint startAngle, jint arcAngle, bool fill) {
    // Angles above 360 come down into 1..360; negative ones stay.
    auto reduce = [](jlong angle) { return angle > 360 ? angle - ((angle - 361) / 360 + 1) * 360 : angle; };
    const jlong start = reduce(startAngle);
    const jlong end = reduce(start + arcAngle);
    const bool quadrant[4] = {start == 0 && end >= 90, start <= 90 && end >= 180, start <= 180 && end >= 270,
                              start <= 270 && end == 360};
    if (!quadrant[0] && !quadrant[1] && !quadrant[2] && !quadrant[3]) return;
    const jlong a = w >> 1, b = h >> 1, cx = x + a, cy = y + b;
    // An ellipse whose box (w + 1 by h + 1) misses the clip has nothing to walk; negative sizes
    // walk outside their box and are left to the walk.
    const Rect box = clip().clip(jlong{x} + m_translateX, jlong{y} + m_translateY, jlong{w} + 1, jlong{h} + 1);
    if (w >= 0 && h >= 0 && box.empty()) return;
    walkEllipse(a, b, [&](jlong X, jlong Y) {
        if (fill) {
            if (quadrant[0]) fillRel(cx, cy - Y, X + 1, 1);
            if (quadrant[1]) fillRel(cx - X, cy - Y, X + 1, 1);
            if (quadrant[2]) fillRel(cx - X, cy + Y, X + 1, 1);
            if (quadrant[3]) fillRel(cx, cy + Y, X + 1, 1);
        } else {
            if (quadrant[0]) fillRel(cx + X, cy - Y, 1, 1);
            if (quadrant[1]) fillRel(cx - X, cy - Y, 1, 1);
            if (quadrant[2]) fillRel(cx - X, cy + Y, 1, 1);
            if (quadrant[3]) fillRel(cx + X, cy + Y, 1, 1);
        }
    });
}

void Graphics::fillTriangle(jint x1, jint y1, jint x2, jint y2, jint x3, jint y3) {
    const Rect c = clip();
    if (c.empty()) return;
    // Only the rows inside the clip are walked (relative to the translation).
    const jlong firstRow = jlong{c.y} - m_translateY, lastRow = c.bottom() - 1 - m_translateY;
    walkTriangle({x1, y1}, {x2, y2}, {x3, y3}, firstRow, lastRow,
                 [this](jlong y, jlong left, jlong width) { fillRel(left, y, width, 1); });
}

void Graphics::drawImage(javax_microedition_lcdui_Image* img, jint x, jint y, jint anchor) {
    BX_RETURN_IF_NULL(img);
    drawRegion(img, 0, 0, img->getWidth(), img->getHeight(), 0, x, y, anchor);
}

void Graphics::drawRegion(javax_microedition_lcdui_Image* src, jint xSrc, jint ySrc, jint width, jint height,
                          jint transform, jint xDest, jint yDest, jint anchor) {
    BX_RETURN_IF_NULL(src);
    if (transform < 0 || transform > 7) return Runtime::traceLog("drawRegion transform %d", transform);
    if (xSrc < 0 || ySrc < 0 || jlong{xSrc} + width > src->m_width || jlong{ySrc} + height > src->m_height)
        return Runtime::traceLog("drawRegion: region outside the source");
    const Surface565 source = src->pixels565();
    if (!source.pixels) return Runtime::traceLog("m_pixelType");
    const Surface565 target = targetSurface();
    if (!target.pixels) return;
    RegionBlit plan = planRegionBlit(clip(), jlong{xDest} + m_translateX, jlong{yDest} + m_translateY, xSrc, ySrc,
                                     width, height, transform, anchor, source.pitch, target.pitch);
    if (plan.empty()) return;
    plan.steps.inOrder = src == m_target;
    const uint16_t* from = source.row(plan.ySrc) + plan.xSrc;
    uint16_t* to = target.pixels + plan.destination;
    switch (src->m_pixelType) {
        case kPixelRGB565: copyPixels(from, to, plan.steps); break;
        case kPixelRGB565ColorKey: copyKeyedPixels(from, to, plan.steps); break;
        default: blendPixels4444(from, to, plan.steps); break;
    }
}

void Graphics::drawRGB(IntArray* rgbData, jint offset, jint scanlength, jint x, jint y, jint width, jint height,
                       jboolean processAlpha) {
    if (!rgbData) return Runtime::traceLog("drawRGB rgbData");
    const jlong left = jlong{x} + m_translateX, top = jlong{y} + m_translateY;
    const Rect area = clip().clip(left, top, width, height);
    if (area.empty()) return;
    // Every element the whole block reads must lie in the array, whatever the clip keeps of it.
    const jlong lastRow = jlong{height - 1} * scanlength;
    const jlong low = offset + std::min<jlong>(0, lastRow), high = offset + std::max<jlong>(0, lastRow) + width;
    if (low < 0 || high > rgbData->length) return Runtime::traceLog("drawRGB: block outside rgbData");
    const Surface565 target = targetSurface();
    if (!target.pixels) return;
    BlitSteps steps;
    steps.width = area.w;
    steps.height = area.h;
    steps.sourceStride = scanlength;
    steps.pixelStep = 1;
    steps.rowStep = target.pitch;
    const uint32_t* from = static_cast<const uint32_t*>(rgbData->data) + offset + (area.y - top) * scanlength +
                           (area.x - left);
    uint16_t* to = target.row(area.y) + area.x;
    if (m_target->m_pixelType == kPixelARGB4444) storeARGB4444(from, to, steps);
    else if (processAlpha) blendARGB(from, to, steps);
    else copyARGBOpaque(from, to, steps);
}

void Graphics::drawString(String* str, jint x, jint y, jint anchor) {
    if (!str) return;
    drawSubstring(str, 0, str->length(), x, y, anchor);
}

void Graphics::drawSubstring(String* str, jint offset, jint len, jint x, jint y, jint anchor) {
    if (!str || offset < 0 || len <= 0 || jlong{offset} + len > str->length()) return;
    if (!javax_microedition_lcdui_Font::getDefaultFont()) return;
    drawText(str->chars + offset, len, x, y, anchor);
}

void Graphics::drawChar(jchar ch, jint x, jint y, jint anchor) {
    if (!javax_microedition_lcdui_Font::getDefaultFont()) return;
    drawText(&ch, 1, x, y, anchor);
}

void Graphics::drawChars(CharArray* data, jint offset, jint length, jint x, jint y, jint anchor) {
    if (!data || offset < 0 || length <= 0 || jlong{offset} + length > data->length) return;
    if (!javax_microedition_lcdui_Font::getDefaultFont()) return;
    drawText(static_cast<const jchar*>(data->data) + offset, length, x, y, anchor);
}

// `units` may live in the movable heap: nothing here allocates.
void Graphics::drawText(const jchar* units, jint count, jint x, jint y, jint anchor) {
    const javax_microedition_lcdui_Font* font = javax_microedition_lcdui_Font::s_defaultFont;
    // Text pixels equal to the key are skipped, so this colour draws nothing.
    if (!font || (m_color & 0xFFFFFF) == kColorKey565) return;
    const std::u16string_view text(reinterpret_cast<const char16_t*>(units), static_cast<size_t>(count));
    const TextCorner corner = resolveTextAnchor(javax_microedition_lcdui_Font::textWidth(text), font->m_height,
                                                font->m_baseline, anchor, x, y);
    const Rect area = clip();
    const Surface565 target = targetSurface();
    if (area.empty() || !target.pixels) return;
    SystemFont::drawTextIn(target, area, corner.x + m_translateX, corner.y + m_translateY, text, toRGB565(m_color));
}

void Graphics::FillRect16(uint16_t* dst, jint w, jint h, jint pitchBytes, uint16_t rgb565) {
    if (h < 1) Runtime::traceLog("FillRect16 h > 0");
    ::fillRect(Surface565{dst, w, h, pitchBytes / 2}, Rect{0, 0, w, h}, rgb565);
}
