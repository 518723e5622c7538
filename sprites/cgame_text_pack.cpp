// Text packs: s32 count N, N s32 end offsets, then the texts' bytes back to back. A pack whose count
// or offsets are out of range or out of order, or whose bytes are cut short, is refused whole: the
// state is either a complete pack or empty. Every text asked for is a String, the empty one when the
// entry is empty or missing.
#include <vector>

#include "runtime/array.h"
#include "runtime/constant_pool.h"
#include "runtime/log.h"
#include "runtime/static_class.h"
#include "runtime/string.h"
#include "sprites/cgame_packs.h"
#include "sprites/checked_stream_reader.h"
#include "sprites/pack_exceptions.h"

jint cGamePacks::s_textCount;
IntArray* cGamePacks::s_textOffsets;
ByteArray* cGamePacks::s_textBytes;
ObjectArray* cGamePacks::s_textCache;

namespace {

const StaticRefRegistration kTextStatics(CID_cGame, &cGamePacks::s_textOffsets, &cGamePacks::s_textBytes,
                                         &cGamePacks::s_textCache);

String* emptyText() { return String::fromCString(""); }

}  // namespace

jint cGamePacks::textLoad(java_io_InputStream* in) {
    s_textCount = 0;
    s_textOffsets = nullptr;
    s_textBytes = nullptr;
    BX_RETURN_IF_NULL(in, -1);
    packs::CheckedStreamReader reader{in};
    const jint count = reader.s32();
    if (reader.failed || count < 0 || count > kMaxTextCount) {
        if (!packs::callRaised()) Log::printf(LogLevel::Warn, "pack: text pack of %d texts refused", count);
        return -1;
    }
    IntArray* offsets = Runtime::newIntArray(count + 1);
    if (!offsets) return -1;
    for (jint t = 1; t <= count; ++t) {
        const jint end = reader.s32();
        if (reader.failed || end < offsets->get(t - 1) || end > kMaxTextBytes) {
            if (!packs::callRaised()) Log::printf(LogLevel::Warn, "pack: text %d ends at %d", t - 1, end);
            return -1;
        }
        offsets->set(t, end);
    }
    const jint size = offsets->get(count);
    ByteArray* bytes = Runtime::newByteArray(size);
    if (!bytes) return -1;
    reader.fully(bytes, size);
    if (packs::callRaised() || reader.failed) return -1;
    s_textCount = count;
    s_textOffsets = offsets;
    s_textBytes = bytes;
    return size + (count + 1) * 4;
}

String* cGamePacks::textDecodeUTF8(ByteArray* bytes, jint off, jint len) {
    BX_RETURN_IF_NULL(bytes, nullptr);
    if (off < 0 || len < 0 || static_cast<jlong>(off) + len > bytes->length) return Runtime::ldcString(kFallbackLiteral);
    std::vector<jchar> units;
    units.reserve(static_cast<size_t>(len));
    const auto* b = static_cast<const jbyte*>(bytes->data);
    const jint end = off + len;
    for (jint p = off; p < end;) {
        const jint c = b[p];
        if ((c & 0x80) == 0) {
            units.push_back(jt::i2c(c));
            p += 1;
        } else if ((c & 0xE0) == 0xE0 && p + 2 < end && (b[p + 1] & 0xC0) == 0x80 && (b[p + 2] & 0xC0) == 0x80) {
            units.push_back(jt::i2c(jt::shl(c, 12) | (b[p + 1] & 63) << 6 | (b[p + 2] & 63)));
            p += 3;
        } else if ((c & 0xC0) == 0xC0 && p + 1 < end && (b[p + 1] & 0xC0) == 0x80) {
            units.push_back(jt::i2c((c & 31) << 6 | (b[p + 1] & 63)));
            p += 2;
        } else {
            return Runtime::ldcString(kFallbackLiteral);
        }
    }
    return String::fromUnits(units.data(), static_cast<jint>(units.size()));
}

String* cGamePacks::getString(jint id) {
    if (s_textCache) {
        auto* cached = static_cast<String*>(s_textCache->get(id));
        return cached ? cached : emptyText();
    }
    if (!s_textOffsets || id < 0 || id >= s_textCount) return emptyText();
    const jint start = s_textOffsets->get(id);
    const jint end = s_textOffsets->get(id + 1);
    if (start == end) return emptyText();
    if (s_encoding && s_encoding->equals(Runtime::ldcString(kUtf8Literal)))
        return textDecodeUTF8(s_textBytes, start, end - start);
    auto* text = new String();
    if (text) text->initFromBytesEnc(s_textBytes, start, end - start, s_encoding);
    return text;
}

void cGamePacks::textUnload() {
    s_textCache = nullptr;
    s_textOffsets = nullptr;
    s_textBytes = nullptr;
    s_textCount = 0;
}

void cGamePacks::cacheAllTexts() {
    ObjectArray* cache = Runtime::newObjectArray(CID_String, s_textCount);
    if (!cache) return;
    for (jint i = 0; i < s_textCount; ++i) cache->set(i, getString(i));
    s_textBytes = nullptr;
    s_textOffsets = nullptr;
    s_textCache = cache;
}
