// libFuzzer target for the text-pack reader and the UTF-8 decoder over untrusted bytes. Invariants
// checked: nothing stays pending; a loaded pack consumed no more than the input and its offsets
// ascend inside its bytes; every text, cached or not, is a String.
#include "classlib/java_io/java_io_byte_array_input_stream.h"
#include "runtime/compiled.h"
#include "runtime/string.h"
#include "sprites/cgame_packs.h"
#include "tests/classlib/pool_helpers.h"
#include "tests/fuzz/fuzz_heaps.h"

namespace {

using P = cGamePacks;

bool start() {
    startFuzzHeaps();
    (void)installPool({{P::kEncodingLiteral, "UTF-8"}, {P::kUtf8Literal, "UTF-8"}, {P::kFallbackLiteral, "?"}});
    return true;
}

void checkLoaded(jint consumed, jint inputSize) {
    if (consumed < 0) {
        if (P::s_textCount != 0 || P::s_textOffsets || P::s_textBytes) __builtin_trap();
        return;
    }
    if (consumed > inputSize || !P::s_textOffsets || !P::s_textBytes) __builtin_trap();
    if (P::s_textOffsets->length != P::s_textCount + 1 || P::s_textOffsets->get(0) != 0) __builtin_trap();
    for (jint t = 0; t < P::s_textCount; ++t)
        if (P::s_textOffsets->get(t) > P::s_textOffsets->get(t + 1)) __builtin_trap();
    if (P::s_textOffsets->get(P::s_textCount) != P::s_textBytes->length) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = start();
    (void)started;
    ByteArray* bytes = fuzzBytes(data, size);
    if (!bytes) return 0;
    const jint n = bytes->length;
    P::s_encoding = Runtime::ldcString(P::kEncodingLiteral);
    P::textUnload();
    const jint consumed = P::textLoad(java_io_ByteArrayInputStream::over(bytes));
    if (Runtime::getPendingException()) __builtin_trap();
    checkLoaded(consumed, n);
    for (jint t = -1; t <= P::s_textCount && t < 64; ++t)
        if (!P::getString(t)) __builtin_trap();
    P::cacheAllTexts();
    for (jint t = 0; t < P::s_textCount && t < 64; ++t)
        if (!P::getString(t)) __builtin_trap();
    if (!P::textDecodeUTF8(bytes, 0, n)) __builtin_trap();
    P::textUnload();
    return 0;
}
