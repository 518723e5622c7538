// Little-endian reads from a sprite's byte array. Any read past the end fails the reader: after the
// first failure every read answers 0 and `failed` stays set, so a section checks once per record.
// The array's data is re-read at every access, since the tables made while reading may move it.
#pragma once

#include "runtime/array.h"
#include "runtime/log.h"
#include "sprites/little_endian_reads.h"

namespace sprites {

struct ByteReader : LittleEndianReads<ByteReader> {
    ByteReader(ByteArray* bytes, jint start) : data(bytes), pos(start) {}

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
};

// A section of sprite data refused: one log line naming it and where it starts; answers -1, the
// section readers' "refused".
inline jint refuseSection(const char* what, jint offset) {
    Log::warn("sprite: %s refused at byte %d", what, offset);
    return -1;
}

}  // namespace sprites
