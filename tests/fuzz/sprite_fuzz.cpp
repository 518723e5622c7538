// libFuzzer target for sprite loading and module decoding over untrusted bytes. Invariants checked:
// nothing stays pending; a loaded sprite's frame-modules, frames, animation frames and animations
// name only records their tables hold, and its module data lies inside the image data; decoding every
// module through every palette and building the ARGB caches stays inside the buffers (ASan); painting
// and measuring every frame and animation frame at each flag combination, with and without effects
// 10 and 11, stays inside the picture and the tables.
#include "classlib/lcdui/javax_microedition_lcdui_graphics.h"
#include "classlib/lcdui/javax_microedition_lcdui_image.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bsprite.h"
#include "sprites/cgame_draw.h"
#include "tests/fuzz/fuzz_heaps.h"

namespace {

bool start() {
    startFuzzHeaps();
    ASprite::s_gcAtLoad = 0;
    cGameDraw::createDrawEffectParams();
    return true;
}

void checkTables(Bsprite* s) {
    for (jint i = 0; i < s->frameModuleCount; ++i) {
        const jint module = (s->fmModule->get(i) & 0xFF) + (s->fmFlags->get(i) & 0xC0) * 4;
        if (module >= s->moduleCount) __builtin_trap();
    }
    for (jint f = 0; f < s->frameCount; ++f) {
        if (s->frameFmFirst->get(f) + (s->frameFmCount->get(f) & 0xFF) > s->frameModuleCount) __builtin_trap();
        if (s->frameBoxFirst->get(f + 1) > s->boxCount) __builtin_trap();
    }
    for (jint i = 0; i < s->aframeCount; ++i) {
        if ((s->afFrame->get(i) & 0xFF) + (s->afFlags->get(i) & 0xC0) * 4 >= s->frameCount) __builtin_trap();
    }
    for (jint a = 0; a < s->animCount; ++a) {
        if (s->animAfFirst->get(a) + (s->animAfCount->get(a) & 0xFF) > s->aframeCount) __builtin_trap();
    }
    if (s->moduleDataOffsets && s->moduleDataOffsets->get(s->moduleCount) != s->imageData->length) __builtin_trap();
}

// Paints and measures (bounded counts) with every flag combination; the last pass with effects 10
// and 11 switched on, at a scale the input picks.
void paintEverything(Bsprite* s, jint scale) {
    auto* image = javax_microedition_lcdui_Image::createImage(48, 48);
    if (!image) return;
    javax_microedition_lcdui_Graphics* g = image->getGraphics();
    IntArray* rect = Runtime::newIntArray(4);
    if (!g || !rect) return;
    cGameDraw::s_g = g;
    for (int pass = 0; pass < 2; ++pass) {
        cGameDraw::s_drawEffects = 0;
        if (pass == 1) {
            cGameDraw::setDrawEffect(cGameDraw::kEffectScale, false);
            cGameDraw::setDrawEffectParam(cGameDraw::kEffectScale, 1, scale);
            cGameDraw::setDrawEffect(cGameDraw::kEffectAlpha, false);
        }
        for (jint flags = 0; flags < 8; ++flags) {
            for (jint f = -1; f <= s->frameCount && f < 16; ++f) {
                s->PaintFrame(g, f, 10, 450, flags, 0, 0);
                s->GetFrameRect(rect, f, 0, 0, flags);
            }
            for (jint a = -1; a <= s->animCount && a < 8; ++a) {
                for (jint k = -1; k <= s->GetAFrames(a) && k < 8; ++k) {
                    s->PaintAFrame(g, a, k, 10, 450, flags, 0, 0);
                    s->GetAFrameRect(rect, a, k, 0, 0, flags);
                }
            }
        }
    }
    cGameDraw::s_drawEffects = 0;
    cGameDraw::s_g = nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = start();
    (void)started;
    ByteArray* bytes = fuzzBytes(data, size);
    if (!bytes) return 0;
    auto* sprite = Runtime::make<Bsprite>();
    if (!sprite) return 0;
    const bool loaded = sprite->Load(bytes, 0);
    if (Runtime::getPendingException()) __builtin_trap();
    if (!loaded) {
        if (sprite->moduleCount != 0 || sprite->imageData) __builtin_trap();
        return 0;
    }
    checkTables(sprite);
    for (jint p = 0; p < sprite->paletteCount; ++p) {
        sprite->SetCurrentPalette(p);
        for (jint m = 0; m < sprite->moduleCount && m < 64; ++m) (void)sprite->DecodeModule(m);
    }
    const jint scale = size > 0 ? static_cast<jint>(static_cast<int8_t>(data[size - 1])) * 4 : 100;
    sprite->SetCurrentPalette(0);
    paintEverything(sprite, scale);
    if (Runtime::getPendingException()) __builtin_trap();
    Bsprite::SetNoCacheFlag(sprite, true);
    paintEverything(sprite, scale);
    sprite->BuildModuleCache(0, 0, -1, -1);
    sprite->BuildModuleCache(1, 0, -1, 0);
    if (Runtime::getPendingException()) __builtin_trap();
    return 0;
}
