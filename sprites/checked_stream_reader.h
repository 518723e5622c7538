// Reading from untrusted streams: the bulk read that stops at the end of the data, and a structure
// read through the little-endian readers where any end of the stream or raised exception fails the
// whole structure: after the first failure every read answers 0 and `failed` stays set, so a parser
// checks once per element instead of after every byte.
#pragma once

#include "runtime/compiled.h"
#include "sprites/cgame_packs.h"
#include "sprites/little_endian_reads.h"

namespace packs {

// Reads into buf[off, off + len) until len bytes have arrived, the stream ends (a read that brings
// nothing: file streams answer 0 at their end, others -1) or a read raises (left pending). Answers
// the bytes that arrived.
jint readUntilEnd(java_io_InputStream* in, ByteArray* buf, jint off, jint len);

struct CheckedStreamReader : LittleEndianReads<CheckedStreamReader> {
    explicit CheckedStreamReader(java_io_InputStream* stream) : in(stream) {}

    java_io_InputStream* in;
    bool failed = false;

    jint u8() {
        if (failed) return 0;
        const jint b = cGamePacks::streamReadByte(in);
        if (Runtime::pending() || b < 0) {
            failed = true;
            return 0;
        }
        return b;
    }
    // Fills buf[0, n) entirely or fails.
    void fully(ByteArray* buf, jint n) {
        if (failed) return;
        const jint got = cGamePacks::streamReadFully(in, buf, 0, n);
        if (Runtime::pending() || got != n) failed = true;
    }
};

}  // namespace packs
