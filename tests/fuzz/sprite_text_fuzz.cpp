// libFuzzer target for sprite text over untrusted char maps and texts. Invariants checked: nothing
// stays pending; SplitText writes 1 to 199 lines whose ends lie inside the text and never decrease;
// measuring, wrapping and drawing strings and pages stay inside every table and buffer (ASan).
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/exceptions.h"
#include "runtime/string.h"
#include "sprites/bsprite.h"
#include "tests/classlib/pool_helpers.h"
#include "tests/fuzz/fuzz_heaps.h"
#include "tests/sprites/font_sprite.h"

namespace {

bool start() {
    startFuzzHeaps();
    ASprite::s_gcAtLoad = 0;
    installPool({{1, ""}, {44, "\n"}});
    return true;
}

FontRecipe smallFont() {
    FontRecipe recipe;
    recipe.chars = u" ab_\\^";
    recipe.advance = [](char16_t c) { return c == ' ' ? 4 : 7; };
    recipe.colours = {0xFFFFFFFF, 0xFFFFFF00};
    return recipe;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = start();
    (void)started;
    if (size < 5 || size > 0x4000) return 0;
    auto* font = Runtime::make<Bsprite>();
    if (!font || !font->Load(fontSprite(smallFont()).array(), 0)) return 0;
    // [0] char-map values n, then n s16 values, then maxWidth, scale, typing limit, then the text.
    size_t at = 0;
    const size_t n = std::min<size_t>(data[at++], (size - 4) / 2);
    ShortArray* def = Runtime::newShortArray(static_cast<jint>(n));
    if (!def) return 0;
    for (size_t i = 0; i < n; ++i, at += 2) def->set(static_cast<jint>(i), static_cast<jshort>(data[at] | data[at + 1] << 8));
    if (n > 0) font->BuildCharMap(def);
    const jint maxWidth = data[at++];
    const uint8_t scale = data[at++];
    font->textScale = scale < 128 ? -1 : (scale - 128) * 4;
    const jint maxChars = static_cast<jint>(data[at++]) - 16;
    std::u16string units;
    for (; at + 1 < size; at += 2) units += static_cast<char16_t>(data[at] | data[at + 1] << 8);
    String* text = String::fromUnits(reinterpret_cast<const jchar*>(units.data()), static_cast<jint>(units.size()));
    if (!text) return 0;

    font->MeasureText(text, nullptr);
    ShortArray* table = font->SplitText(text, maxWidth);
    if (!table) return 0;
    const jint lines = table->get(0);
    if (lines < 1 || lines > ASprite::kMaxLines) __builtin_trap();
    for (jint k = 0, last = 0; k < lines; ++k) {
        const jint end = table->get(3 * k + 1);
        if (end < last || end > text->length()) __builtin_trap();
        last = end;
    }
    if (!font->WrapText(text, maxWidth)) __builtin_trap();

    auto* image = javax_microedition_lcdui_Image::createImage(64, 96);
    if (!image) return 0;
    javax_microedition_lcdui_Graphics* g = image->getGraphics();
    font->DrawStringAt(g, text, 10, 10, maxWidth & 0x3F, true);
    font->DrawPageFull(g, text, 5, 5, maxWidth & 0x3F);
    font->DrawPageB(g, text, font->SplitText(text, maxWidth), 0, 0, 0, -1, 0, maxChars);
    if (Runtime::getPendingException()) __builtin_trap();
    return 0;
}
