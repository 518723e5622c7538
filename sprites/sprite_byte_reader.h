// Little-endian reads from a sprite's byte array. Any read past the end fails the reader: after the
// first failure every read answers 0 and `failed` stays set, so a section checks once per record.
// The array's data is re-read at every access, since the tables made while reading may move it.
#pragma once

#include "runtime/array.h"

namespace sprites {

struct ByteReader {
    ByteArray* data;
    jint pos;
    bool failed = false;

    [[nodiscard]] bool has(jint n) const { return !failed && pos >= 0 && n >= 0 && n <= data->length - pos; }
    jint u8() {
        if (!has(1)) {
            failed = true;
            return 0;
        }
        return static_cast<uint8_t>(data->elements()[pos++]);
    }
    jint s8() { return static_cast<jbyte>(u8()); }
    jint u16() {
        const jint low = u8();
        return low | u8() << 8;
    }
    jint s16() { return static_cast<jshort>(u16()); }
    jint s32() {
        const jint low = u16();
        return static_cast<jint>(static_cast<uint32_t>(low) | static_cast<uint32_t>(u16()) << 16);
    }
};

}  // namespace sprites
