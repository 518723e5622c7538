// cGame's ARGB pixel effects over int arrays; the pixel work is gfx::pixelEffect / colourEffect.
#include "sprites/cgame_effects.h"

#include <cstdint>

#include "classlib/java_lang/java_lang_exceptions.h"
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "platform/graphics/argb_effects.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/static_class.h"
#include "runtime/compiled.h"

jbyte cGameEffects::s_effectResultAlpha = 0;
javax_microedition_lcdui_Graphics* cGameEffects::s_graphics = nullptr;

namespace {

const StaticRefRegistration kEffectStatics(CID_cGame, &cGameEffects::s_graphics);

// Both arrays hold n pixels; else the exception the first access past an end would raise.
bool holds(IntArray* src, IntArray* dst, jint n) {
    if (n <= src->length && n <= dst->length) return true;
    Runtime::raise<java_lang_ArrayIndexOutOfBoundsException>();
    return false;
}

uint32_t* pixels(IntArray* a) { return reinterpret_cast<uint32_t*>(a->elements()); }

}  // namespace

IntArray* cGameEffects::applyPixelEffect(IntArray* src, IntArray* dst, jint n, jint factor, jint alpha,
                                         bool colourKey, bool scaleAlpha) {
    if (alpha < 0 && factor >= 255) return src;
    BX_RETURN_IF_NULL(src, dst);
    BX_RETURN_IF_NULL(dst, dst);
    if (!holds(src, dst, n)) return dst;
    if (gfx::pixelEffect(pixels(src), pixels(dst), n, factor, alpha, colourKey, scaleAlpha) ==
        gfx::EffectResult::NewAlpha)
        s_effectResultAlpha = 1;
    return dst;
}

IntArray* cGameEffects::applyColorEffect(IntArray* src, IntArray* dst, jint n, jint alpha, bool colourKey,
                                         bool scaleAlpha) {
    BX_RETURN_IF_NULL(src, dst);
    BX_RETURN_IF_NULL(dst, dst);
    if (!holds(src, dst, n)) return dst;
    gfx::colourEffect(pixels(src), pixels(dst), n, alpha, colourKey, scaleAlpha);
    s_effectResultAlpha = 1;
    return dst;
}
