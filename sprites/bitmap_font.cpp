// BitmapFont: loading and checking the glyph data, decoding glyphs, and the three ways of drawing
// them (an ARGB block, a cached Image, one-pixel lines).
#include "sprites/bitmap_font.h"

#include <algorithm>
#include <vector>

#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/log.h"
#include "runtime/static_class.h"
#include "runtime/string.h"
#include "runtime/string_buffer.h"

jint BitmapFont::s_instanceCount = 0;
jint BitmapFont::s_cacheCapacity = 0;
jint BitmapFont::s_cacheLast = 0;
String* BitmapFont::s_cacheChars = nullptr;
IntArray* BitmapFont::s_cacheKeys = nullptr;
ObjectArray* BitmapFont::s_cacheImages = nullptr;

namespace {

const uint32_t kRefs[] = {BX_REF_FIELD(BitmapFont, charMap), BX_REF_FIELD(BitmapFont, glyphPixels),
                          BX_REF_FIELD(BitmapFont, glyphWidths), BX_REF_FIELD(BitmapFont, glyphBits),
                          BX_REF_FIELD(BitmapFont, glyphStarts)};
const RefFieldRegistration kRefsReg(CID_BitmapFont, kRefs);
const StaticRefRegistration kStatics(CID_BitmapFont, &BitmapFont::s_cacheChars, &BitmapFont::s_cacheKeys,
                                     &BitmapFont::s_cacheImages);
const StaticInitRegistration kInit("BitmapFont statics", &BitmapFont::staticReset);

constexpr jchar kSpace = ' ';
constexpr jchar kBar = '|';
constexpr jint kPixelAlphaBits = 0x0F000000;

}  // namespace

void BitmapFont::init() { instanceNumber = s_instanceCount++; }

void BitmapFont::staticReset() {
    s_cacheCapacity = 0;
    s_instanceCount = 0;
}

bool BitmapFont::Load(String* map, ByteArray* widths, ByteArray* bits, jint height, jint bitsPerPixel, jint space) {
    loaded = false;
    BX_RETURN_IF_NULL(map, false);
    BX_RETURN_IF_NULL(widths, false);
    BX_RETURN_IF_NULL(bits, false);
    jint shift = -1;
    for (jint s = 0; s <= 3; ++s)
        if (bitsPerPixel == 1 << s) shift = s;
    const jint glyphs = map->length();
    if (shift < 0 || height < 1 || widths->length < glyphs) {
        Log::warn("bitmap font refused: %d glyphs, %d widths, height %d, %d bits per pixel", glyphs, widths->length,
                  height, bitsPerPixel);
        return false;
    }
    // Each glyph's bytes, from its width: ceil(width x height / pixels per byte).
    const jint perByteShift = 3 - shift;
    std::vector<jint> starts(static_cast<size_t>(glyphs));
    int64_t next = 0;
    int64_t largest = 1;
    for (jint i = 0; i < glyphs; ++i) {
        const jint w = widths->get(i);
        if (w < 0) {
            Log::warn("bitmap font refused: glyph %d has width %d", i, w);
            return false;
        }
        const int64_t n = int64_t{w} * height;
        starts[static_cast<size_t>(i)] = static_cast<jint>(next);
        next += (n + (1 << perByteShift) - 1) >> perByteShift;
        largest = std::max(largest, n);
        if (next > bits->length) {
            Log::warn("bitmap font refused: glyph %d ends past %d bytes of bits", i, bits->length);
            return false;
        }
    }
    IntArray* startTable = Runtime::newIntArray(glyphs);
    BX_RETURN_IF_NULL(startTable, false);
    for (jint i = 0; i < glyphs; ++i) startTable->elements()[i] = starts[static_cast<size_t>(i)];
    IntArray* pixels = Runtime::newIntArray(static_cast<jint>(largest));
    BX_RETURN_IF_NULL(pixels, false);
    charMap = map;
    glyphWidths = widths;
    glyphBits = bits;
    glyphStarts = startTable;
    glyphPixels = pixels;
    glyphHeight = height;
    spaceWidth = space;
    bitShift = shift;
    byteShift = perByteShift;
    pixelMask = (1 << perByteShift) - 1;
    valueMask = (1 << bitsPerPixel) - 1;
    loaded = true;
    return true;
}

void BitmapFont::SetCacheCapacity(jint n) {
    s_cacheCapacity = 0;
    s_cacheLast = 0;
    if (n < 1) return;
    const std::vector<jchar> empty(static_cast<size_t>(n), 0);
    String* chars = String::fromUnits(empty.data(), n);
    BX_RETURN_IF_NULL(chars);
    IntArray* keys = Runtime::newIntArray(n);
    BX_RETURN_IF_NULL(keys);
    for (jint i = 0; i < n; ++i) keys->elements()[i] = -1;
    ObjectArray* images = Runtime::newObjectArray(CID_javax_microedition_lcdui_Image, n);
    BX_RETURN_IF_NULL(images);
    s_cacheChars = chars;
    s_cacheKeys = keys;
    s_cacheImages = images;
    s_cacheCapacity = n;
}

jint BitmapFont::glyphOf(jchar c) {
    if (!loaded || !charMap) return -1;
    return charMap->indexOf(c);
}

jint BitmapFont::pixelValue(jint glyph, jint p) {
    const jint b = glyphBits->get(glyphStarts->get(glyph) + (p >> byteShift)) & 0xFF;
    return (b >> ((p & pixelMask) << bitShift)) & valueMask;
}

IntArray* BitmapFont::DecodeGlyph(jint glyph, IntArray* out) {
    if (!loaded || glyph < 0 || glyph >= glyphStarts->length) return nullptr;
    const jint n = glyphWidths->get(glyph) * glyphHeight;
    if (!out || out->length < n) {
        out = Runtime::newIntArray(n);
        BX_RETURN_IF_NULL(out, nullptr);
    }
    jint* px = out->elements();
    for (jint p = n - 1; p >= 0; --p) {
        const jint v = pixelValue(glyph, p);
        if (v == 1)
            px[p] = color | kPixelAlphaBits;
        else if (v >= 2 && outlineOn)
            px[p] = outlineColor | kPixelAlphaBits;
        else
            px[p] = 0;
    }
    return out;
}

jint BitmapFont::GetCharWidth(jchar c) {
    if (c == kSpace) return spaceWidth;
    if (c == kBar) return 0;
    const jint glyph = glyphOf(c);
    return glyph < 0 ? 0 : glyphWidths->get(glyph);
}

void BitmapFont::drawChar(javax_microedition_lcdui_Graphics* g, jchar c, jint x, jint y) {
    const jint glyph = glyphOf(c);
    if (glyph < 0) return;
    BX_RETURN_IF_NULL(g);
    IntArray* pixels = DecodeGlyph(glyph, glyphPixels);
    if (!pixels) return;
    glyphPixels = pixels;
    const jint w = glyphWidths->get(glyph);
    g->drawRGB(pixels, 0, w, x, y, w, glyphHeight, true);
}

jint BitmapFont::DrawCharGlyph(javax_microedition_lcdui_Graphics* g, jchar c, jint x, jint y) {
    if (c != kSpace && c != kBar) drawChar(g, c, x, y);
    return GetCharWidth(c);
}

jint BitmapFont::DrawCharCached(javax_microedition_lcdui_Graphics* g, jchar c, jint x, jint y) {
    const jint glyph = glyphOf(c);
    if (glyph < 0) return 0;
    BX_RETURN_IF_NULL(g, 0);
    const jint w = glyphWidths->get(glyph);
    const jint capacity = s_cacheCapacity;
    if (capacity < 1 || !s_cacheChars || !s_cacheKeys || !s_cacheImages || s_cacheChars->length() < capacity ||
        s_cacheKeys->length < capacity || s_cacheImages->length < capacity) {
        drawChar(g, c, x, y);  // no usable cache
        return w;
    }
    const jint key = cacheTag | instanceNumber << 8;
    for (jint slot = s_cacheChars->indexOf(c); slot >= 0 && slot < capacity; slot = s_cacheChars->indexOf(c, slot + 1)) {
        if (s_cacheKeys->get(slot) == key) {
            g->drawImage(static_cast<javax_microedition_lcdui_Image*>(s_cacheImages->get(slot)), x, y, 0);
            return w;
        }
    }
    const jint slot = (s_cacheLast + 1) % capacity;
    s_cacheLast = slot;
    auto* copy = new StringBuffer();
    BX_RETURN_IF_NULL(copy, w);
    copy->initFromString(s_cacheChars);
    if (!copy->chars || copy->length <= slot) return w;
    copy->chars[slot] = c;
    String* chars = copy->toString();
    BX_RETURN_IF_NULL(chars, w);
    s_cacheChars = chars;
    s_cacheKeys->set(slot, key);
    IntArray* pixels = DecodeGlyph(glyph, glyphPixels);
    if (!pixels) return w;
    glyphPixels = pixels;
    javax_microedition_lcdui_Image* image = javax_microedition_lcdui_Image::createRGBImage(pixels, w, glyphHeight, true);
    s_cacheImages->set(slot, image);
    g->drawImage(image, x, y, 0);
    return w;
}

jint BitmapFont::DrawGlyphBits(javax_microedition_lcdui_Graphics* g, jchar c, jint x, jint y) {
    const jint glyph = glyphOf(c);
    if (glyph < 0) return 0;
    BX_RETURN_IF_NULL(g, 0);
    const jint w = glyphWidths->get(glyph);
    const jint saved = g->getColor();
    g->setColor(color);
    jint px = x, py = y;
    const jint n = w * glyphHeight;
    for (jint p = 0; p < n; ++p) {
        const jint v = pixelValue(glyph, p);
        if (v == 1) {
            g->drawLine(px, py, px, py);
        } else if (v >= 2 && outlineOn) {
            g->setColor(outlineColor);
            g->drawLine(px, py, px, py);
            g->setColor(color);
        }
        if (++px == jt::add(x, w)) {
            px = x;
            ++py;
        }
    }
    g->setColor(saved);
    return w;
}
