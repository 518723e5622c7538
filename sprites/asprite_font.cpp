// ASprite as a font: the character map, the metrics read from the metrics frame, and the separator
// search. Char maps and glyph frames come from pack data: a glyph the sprite does not have measures 0
// (the table accessors check their indices).
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/jtypes.h"
#include "runtime/log.h"
#include "runtime/string.h"
#include "sprites/bsprite.h"


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
    const jint first = GetFrameModuleY(0, 1);
    fontHeight = GetFrameModuleY(0, 2) - first;
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
    yOffset = -GetFrameModuleY(0, 0);
    lineSpacing = GetFrameModuleY(0, 1) + yOffset;
    fontHeight = static_cast<Bsprite*>(this)->GetFrameHeight(0);
    spaceWidth = GlyphAdvance(MapChar(' '));
}

jint ASprite::GlyphAdvance(jint frame) {
    return GetFrameModuleX(frame, 0);
}

jint ASprite::GetCharWidth(jint c) {
    return c == ' ' ? GetSpaceWidth() : GlyphAdvance(MapChar(c));
}

jint ASprite::GetFrameWidthScaled(jint frame) {
    return Scaled(static_cast<Bsprite*>(this)->GetFrameWidth(frame));
}
