// Reads the constant pool at start-up. No exception is left pending: a failure is logged and the
// load keeps what it read.
#include "classlib/constant_pool_loader.h"

#include "classlib/java_io/java_io_data_input_stream.h"
#include "classlib/java_lang/java_lang_class.h"
#include "runtime/array.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/exceptions.h"
#include "runtime/log.h"
#include "runtime/static_class.h"
#include "runtime/string.h"

namespace {

const ConstantLoaderRegistration kLoader(&Runtime::loadConstants);

// Each literal takes at least its two length bytes.
constexpr jint kSmallestLiteral = 2;

}  // namespace

namespace Runtime {

void loadConstants() {
    java_io_InputStream* in = java_lang_Class::getResourceAsStream(String::fromCString("/constants.bin"));
    if (!in) {
        Log::error("constants.bin: missing; every literal reads as the empty text");
        setConstantPool(newObjectArray(CID_String, 0));
        return;
    }
    loadConstantsFrom(in);
}

void loadConstantsFrom(java_io_InputStream* in) {
    java_io_DataInputStream* data = java_io_DataInputStream::over(in);
    if (!data) return;
    jint count = data->readInt();
    if (pending()) {
        clearPendingException();
        Log::error("constants.bin: no literal count");
        count = 0;
    }
    const jint room = data->available() / kSmallestLiteral;
    if (count < 0 || count > room) {
        Log::error("constants.bin: count %d does not fit the %d bytes that follow it", count, data->available());
        count = count < 0 ? 0 : room;
    }
    ObjectArray* pool = newObjectArray(CID_String, count);
    setConstantPool(pool);
    if (!pool) return;
    for (jint i = 0; i < count; ++i) {
        String* literal = data->readUTF();
        if (pending() || !literal) {
            clearPendingException();
            Log::error("constants.bin: literal %d of %d is cut short or malformed; the load stops there", i, count);
            return;
        }
        literal->setCollectable(false);
        if (pool->data) pool->elements()[i] = literal;
    }
}

}  // namespace Runtime
