// The little-endian compositions shared by the sprite engine's byte readers: a reader supplies u8()
// (0 once it has failed) and gets the signed byte, the 16-bit and the 32-bit forms from it.
#pragma once

#include "runtime/jtypes.h"

template <class Reader>
struct LittleEndianReads {
    jint s8() { return static_cast<jbyte>(self().u8()); }
    jint u16() {
        const jint low = self().u8();
        return low | self().u8() << 8;
    }
    jint s16() { return static_cast<jshort>(u16()); }
    jint s32() {
        const jint low = u16();
        return static_cast<jint>(static_cast<uint32_t>(low) | static_cast<uint32_t>(u16()) << 16);
    }

private:
    Reader& self() { return static_cast<Reader&>(*this); }
};
