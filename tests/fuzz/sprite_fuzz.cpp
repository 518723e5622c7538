// libFuzzer target for sprite loading and module decoding over untrusted bytes. Invariants checked:
// nothing stays pending; a loaded sprite's frame-modules, frames, animation frames and animations
// name only records their tables hold, and its module data lies inside the image data; decoding every
// module through every palette and building the ARGB caches stays inside the buffers (ASan).
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "sprites/bsprite.h"
#include "tests/fuzz/fuzz_heaps.h"

namespace {

bool start() {
    startFuzzHeaps();
    ASprite::s_gcAtLoad = 0;
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
    Bsprite::SetNoCacheFlag(sprite, true);
    sprite->BuildModuleCache(0, 0, -1, -1);
    sprite->BuildModuleCache(1, 0, -1, 0);
    if (Runtime::getPendingException()) __builtin_trap();
    return 0;
}
