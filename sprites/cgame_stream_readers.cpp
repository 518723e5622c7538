// Little-endian readers over any input stream, counting what they deliver in s_streamCount (the pack
// reader learns from it how far a stored item's reading moved its stream). Exceptions of read stay
// pending for the caller; the end of the stream is -1 from a byte read and a short count from a bulk
// read.
#include "sprites/cgame_packs.h"

#include "classlib/java_io/java_io_input_stream.h"
#include "runtime/compiled.h"
#include "sprites/checked_stream_reader.h"

jint cGamePacks::streamReadByte(java_io_InputStream* in) {
    BX_RETURN_IF_NULL(in, -1);
    const jint b = in->read();
    BX_RETURN_IF_PENDING(0);
    if (b >= 0) s_streamCount += 1;
    return b;
}

jint cGamePacks::streamReadU16LE(java_io_InputStream* in) {
    const jint b0 = streamReadByte(in) & 0xFF;
    BX_RETURN_IF_PENDING(0);
    const jint b1 = streamReadByte(in) & 0xFF;
    return b0 | b1 << 8;
}

jint cGamePacks::streamReadS32LE(java_io_InputStream* in) {
    const jint low = streamReadU16LE(in);
    BX_RETURN_IF_PENDING(0);
    const jint high = streamReadU16LE(in);
    return low | jt::shl(high, 16);
}

jint packs::readUntilEnd(java_io_InputStream* in, ByteArray* buf, jint off, jint len) {
    BX_RETURN_IF_NULL(in, 0);
    jint arrived = 0;
    while (arrived < len) {
        const jint got = in->read_3(buf, off + arrived, len - arrived);
        if (Runtime::pending() || got <= 0) break;
        arrived += got;
    }
    return arrived;
}

jint cGamePacks::streamReadFully(java_io_InputStream* in, ByteArray* buf, jint off, jint len) {
    const jint arrived = packs::readUntilEnd(in, buf, off, len);
    s_streamCount += arrived;
    return arrived;
}
