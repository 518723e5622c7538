// ASprite as a font: the character map, the metrics read from the metrics frame, and the separator
// search. Char maps and glyph frames come from pack data, so every table read here is checked:
// a glyph the sprite does not have measures 0 rather than reading outside a table.
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/jtypes.h"
#include "runtime/log.h"
#include "runtime/string.h"
#include "sprites/asprite.h"

namespace {

// Index of frame-module j of the frame in the frame-module tables, or -1 when there is none.
jint frameModuleIndex(ASprite* s, jint frame, jint j) {
    if (!s->frameFmCount || !s->frameFmFirst || frame < 0 || frame >= s->frameCount || j < 0) return -1;
    const jint count = static_cast<uint8_t>(s->frameFmCount->get(frame));
    if (j >= count) return -1;
    const jint k = s->frameFmFirst->get(frame) + j;
    return k >= 0 && k < s->frameModuleCount ? k : -1;
}

jint frameModuleX(ASprite* s, jint frame, jint j) {
    const jint k = frameModuleIndex(s, frame, j);
    return k >= 0 && s->fmOffX ? s->fmOffX->get(k) : 0;
}

jint frameModuleY(ASprite* s, jint frame, jint j) {
    const jint k = frameModuleIndex(s, frame, j);
    return k >= 0 && s->fmOffY ? s->fmOffY->get(k) : 0;
}

// Value i of the frame rectangles (x, y signed; w, h unsigned), 0 without the table.
jint frameRectValue(ASprite* s, jint frame, jint i) {
    if (!s->frameRects || frame < 0 || frame >= s->frameCount) return 0;
    const jint at = frame * 4 + i;
    const bool wide = s->frameRects->classId() == CID_ShortArray;
    const jint v = wide ? static_cast<ShortArray*>(s->frameRects)->get(at)
                        : static_cast<ByteArray*>(s->frameRects)->get(at);
    return i < 2 ? v : v & (wide ? 0xFFFF : 0xFF);
}

}  // namespace

jint ASprite::Scaled(jint v) const {
    return textScale >= 0 ? jt::shr(jt::mul(v, textScale), 8) : v;
}

jint ASprite::MapChar(jint c) const {
    if (!charMap || charMapCount <= 0) return 1;
    auto* bucket = static_cast<ShortArray*>(charMap->get(jt::rem(c, charMapCount)));
    if (!bucket || bucket->length < 2) return 1;
    if ((bucket->get(0) & 0xFFFF) == c) return bucket->get(1);
    if (bucket->length < 3) return 1;
    for (jint i = 2; i + 1 < bucket->length; i += 2) {
        if ((bucket->get(i) & 0xFFFF) == c) return bucket->get(i + 1);
    }
    return 1;
}

jint ASprite::ComputeFontHeight() {
    const jint first = frameModuleY(this, 0, 1);
    fontHeight = frameModuleY(this, 0, 2) - first;
    return first;
}

jint ASprite::ComputeSpaceWidth() {
    spaceWidth = GlyphAdvance(MapChar(' '));
    return spaceWidth;
}

jint ASprite::FindSeparators(String* s, jint start, jint end, jint sep, IntArray* out) {
    BX_RETURN_IF_NULL(s, 0);
    BX_RETURN_IF_NULL(out, 0);
    out->set(0, start - 1);
    jint n = 0;
    for (jint i = start; i < end; ++i) {
        if (s->charAt(i) == sep) out->set(++n, i);
    }
    out->set(n + 1, end);
    return n + 1;
}

void ASprite::BuildCharMap(ShortArray* definition) {
    BX_RETURN_IF_NULL(definition);
    charMap = nullptr;
    charMapCount = 0;
    const jint n = definition->length;
    const jint buckets = n > 0 ? definition->get(0) : 0;
    if (buckets <= 0 || n < 1 + 2 * buckets) {
        Log::warn("font: char map refused (%d buckets in %d values)", buckets, n);
        return;
    }
    // Pairs per bucket first, so each bucket is made once at its final size.
    ShortArray* extra = Runtime::newShortArray(buckets);
    BX_RETURN_IF_NULL(extra);
    jint at = 1 + 2 * buckets;
    while (at < n) {
        const jint b = definition->get(at);
        const jint pairs = at + 1 < n ? definition->get(at + 1) : -1;
        if (b < 0 || b >= buckets || pairs < 0 || pairs > (n - at - 2) / 2 || extra->get(b) + pairs > 0x7FFF) {
            Log::warn("font: char map refused (bad record at value %d)", at);
            return;
        }
        extra->set(b, jt::i2s(extra->get(b) + pairs));
        at += 2 + 2 * pairs;
    }
    ObjectArray* map = Runtime::newObjectArray(CID_ShortArray, buckets);
    BX_RETURN_IF_NULL(map);
    IntArray* filled = Runtime::newIntArray(buckets);
    BX_RETURN_IF_NULL(filled);
    for (jint b = 0; b < buckets; ++b) {
        ShortArray* bucket = Runtime::newShortArray(2 + 2 * extra->get(b));
        BX_RETURN_IF_NULL(bucket);
        bucket->set(0, definition->get(1 + 2 * b));
        bucket->set(1, definition->get(2 + 2 * b));
        map->set(b, bucket);
        filled->set(b, 2);
    }
    for (at = 1 + 2 * buckets; at < n;) {
        const jint b = definition->get(at);
        const jint pairs = definition->get(at + 1);
        auto* bucket = static_cast<ShortArray*>(map->get(b));
        jint to = filled->get(b);
        for (jint i = 0; i < 2 * pairs; ++i) bucket->set(to++, definition->get(at + 2 + i));
        filled->set(b, to);
        at += 2 + 2 * pairs;
    }
    charMap = map;
    charMapCount = buckets;
    InitFontMetrics();
}

void ASprite::InitFontMetrics() {
    yOffset = -frameModuleY(this, 0, 0);
    lineSpacing = frameModuleY(this, 0, 1) + yOffset;
    fontHeight = frameRectValue(this, 0, 3);
    spaceWidth = GlyphAdvance(MapChar(' '));
}

jint ASprite::GlyphAdvance(jint frame) {
    return frameModuleX(this, frame, 0);
}

jint ASprite::GetCharWidth(jint c) {
    return c == ' ' ? GetSpaceWidth() : GlyphAdvance(MapChar(c));
}

jint ASprite::GetFrameWidthScaled(jint frame) {
    const jint w = frameRectValue(this, frame, 2);
    return textScale >= 0 ? jt::shr(jt::mul(w, textScale), 8) : w;
}
