// The byte-array pack: u8 count M, then M entries of u8 length L and L bytes, loaded once into
// s_byteArrays from its own resource (the open pack's stream is not touched). A pack cut short
// leaves the cache empty, so nothing half-loaded is ever served.
#include "runtime/array.h"
#include "runtime/constant_pool.h"
#include "runtime/string.h"
#include "classlib/java_io/java_io_input_stream.h"
#include "sprites/cgame_packs.h"
#include "sprites/checked_stream_reader.h"
#include "sprites/pack_exceptions.h"

namespace {

ObjectArray* readByteArrayPack(java_io_InputStream* in) {
    packs::CheckedStreamReader reader{in};
    const jint count = reader.u8();
    ObjectArray* arrays = Runtime::newObjectArray(CID_ByteArray, count);
    if (reader.failed || !arrays) return nullptr;
    for (jint i = 0; i < count; ++i) {
        ByteArray* entry = Runtime::newByteArray(reader.u8());
        if (reader.failed || !entry) return nullptr;
        reader.fully(entry, entry->length);
        if (reader.failed) return nullptr;
        arrays->set(i, entry);
    }
    return arrays;
}

}  // namespace

void cGamePacks::packLoadArrays(String* name) {
    if (s_byteArrays) return;
    java_io_InputStream* in = packOpenStream(name);
    BX_RETURN_IF_NULL(in);
    ObjectArray* arrays = readByteArrayPack(in);
    if (packs::callRaised()) arrays = nullptr;
    if (Runtime::pending()) return;
    in->close();
    (void)packs::callRaised();
    s_byteArrays = arrays;
}

String* cGamePacks::packGetArrayString(jint i) {
    if (!s_byteArrays || i < 0 || i >= s_byteArrays->length) return Runtime::ldcString(kFallbackLiteral);
    auto* text = new String();
    if (text) text->initFromBytesAllEnc(static_cast<ByteArray*>(s_byteArrays->get(i)), s_encoding);
    return text;
}
