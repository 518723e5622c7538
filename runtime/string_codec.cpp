// String decoders (ISO-8859-1, modified UTF-8, SJIS raw codes) and the modified UTF-8 encoder.
// Each decoder counts its units first, allocates once, then decodes from the re-read array data;
// nothing is shared between calls, and no read leaves [offset, offset + n) of the array.
#include <algorithm>
#include <cstring>

#include "archive/modified_utf8.h"
#include "runtime/array.h"
#include "runtime/method_trace.h"
#include "runtime/string.h"

namespace {

const uint8_t* bytesAt(ByteArray* bytes, jint offset) {
    return reinterpret_cast<const uint8_t*>(bytes->elements()) + offset;
}

// Modified UTF-8: one unit per complete sequence. A stray continuation byte or a four-byte lead is
// skipped; a sequence cut off by the end of the range ends the text.
template <class Emit>
void walkUtf8(const uint8_t* p, jint n, Emit emit) {
    jint i = 0;
    while (i < n) {
        const uint32_t b0 = p[i];
        switch (b0 >> 4) {
            case 0: case 1: case 2: case 3: case 4: case 5: case 6: case 7:
                emit(static_cast<jchar>(b0));
                i += 1;
                break;
            case 12: case 13:
                if (n - i < 2) return;
                emit(static_cast<jchar>(((b0 & 0x1F) << 6) | (p[i + 1] & 0x3Fu)));
                i += 2;
                break;
            case 14:
                if (n - i < 3) return;
                emit(static_cast<jchar>(((b0 & 0x0F) << 12) | ((p[i + 1] & 0x3Fu) << 6) | (p[i + 2] & 0x3Fu)));
                i += 3;
                break;
            default:
                i += 1;
                break;
        }
    }
}

// SJIS as the phone read it: a lead byte (above 127, outside the half-width katakana 160..223)
// joins the next byte into one raw 16-bit code; no table is applied. A lead byte without its
// second byte ends the text.
template <class Emit>
void walkSjis(const uint8_t* p, jint n, Emit emit) {
    jint i = 0;
    while (i < n) {
        const uint32_t b = p[i];
        if (b > 127 && (b < 160 || b > 223)) {
            if (n - i < 2) return;
            emit(static_cast<jchar>(b * 256 + p[i + 1]));
            i += 2;
        } else {
            emit(static_cast<jchar>(b));
            i += 1;
        }
    }
}

}  // namespace

void String::decodeLatin1(ByteArray* bytes, jint offset, jint n) {
    if (!bytes) Runtime::nullPointer();
    const Array::Range r = Array::clampRange(bytes, offset, n);
    if (!initWithLength(r.n) || r.n == 0) return;
    const uint8_t* p = bytesAt(bytes, r.offset);
    for (jint i = 0; i < r.n; ++i) chars[i] = p[i];
}

void String::decodeUtf8(ByteArray* bytes, jint offset, jint n) {
    if (!bytes) Runtime::nullPointer();
    const Array::Range r = Array::clampRange(bytes, offset, n);
    jint units = 0;
    if (r.n > 0) walkUtf8(bytesAt(bytes, r.offset), r.n, [&](jchar) { ++units; });
    if (!initWithLength(units) || units == 0) return;
    jchar* out = chars;
    walkUtf8(bytesAt(bytes, r.offset), r.n, [&](jchar u) { *out++ = u; });
}

void String::decodeSjis(ByteArray* bytes, jint offset, jint n) {
    if (!bytes) Runtime::nullPointer();
    const Array::Range r = Array::clampRange(bytes, offset, n);
    jint units = 0;
    if (r.n > 0) walkSjis(bytesAt(bytes, r.offset), r.n, [&](jchar) { ++units; });
    if (!initWithLength(units) || units == 0) return;
    jchar* out = chars;
    walkSjis(bytesAt(bytes, r.offset), r.n, [&](jchar u) { *out++ = u; });
}

ByteArray* String::encodeUtf8() {
    jint size = 0;
    for (jint i = 0; i < length(); ++i) size += archive::modifiedUtf8Length(chars[i]);
    ByteArray* bytes = Runtime::newByteArray(size);
    if (!bytes || size == 0 || !bytes->data) return bytes;
    // Both blocks are read afresh: the array's allocation may have moved our units.
    auto* out = reinterpret_cast<uint8_t*>(bytes->elements());
    for (jint i = 0; i < length(); ++i) archive::putModifiedUtf8(chars[i], [&out](uint8_t b) { *out++ = b; });
    return bytes;
}
