// RecordEnumerationImpl: the cursor's steps over the store's live id list.
#include "classlib/rms/javax_microedition_rms_record_enumeration_impl.h"

#include <cstddef>

#include "classlib/java_lang/java_lang_exceptions.h"
#include "classlib/java_lang/java_lang_integer.h"
#include "classlib/java_util/java_util_vector.h"
#include "classlib/rms/javax_microedition_rms_record_store.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/string.h"

using Impl = javax_microedition_rms_RecordEnumerationImpl;

namespace {

const uint32_t kRefs[] = {BX_REF_FIELD(javax_microedition_rms_RecordEnumerationImpl, store)};
const RefFieldRegistration kRefsReg(CID_javax_microedition_rms_RecordEnumerationImpl, kRefs);

Impl* enclosing(Impl::EnumerationPart* part) {
    return reinterpret_cast<Impl*>(reinterpret_cast<char*>(part) - offsetof(Impl, enumeration));
}

}  // namespace

void Impl::init(javax_microedition_rms_RecordStore* s) {
    store = s;
    index = 0;
    static_cast<javax_microedition_rms_RecordEnumeration*>(getInterface(CID_javax_microedition_rms_RecordEnumeration))
        ->reset();
}

void* Impl::getInterface(jint classId) {
    return classId == CID_javax_microedition_rms_RecordEnumeration
               ? static_cast<javax_microedition_rms_RecordEnumeration*>(&enumeration)
               : nullptr;
}

void Impl::raiseAt(jint at) {
    String* message = Runtime::ldcString(1);
    String* number = String::valueOfInt(at);
    Runtime::raise<javax_microedition_rms_InvalidRecordIDException>(message && number ? message->concat(number)
                                                                                      : number);
}

jint Impl::numRecords() {
    BX_RETURN_IF_NULL(store, 0);
    return store->getNumRecords();
}

jint Impl::currentRecordId() {
    if (index < 0 || index >= numRecords()) {
        raiseAt(index);
        return 0;
    }
    auto* boxed = static_cast<java_lang_Integer*>(store->recordIds->elementAt(index));
    BX_RETURN_IF_NULL(boxed, 0);
    return boxed->intValue();
}

jint Impl::nextRecordId() {
    const jint id = currentRecordId();
    BX_RETURN_IF_PENDING(0);
    index += 1;
    return id;
}

jint Impl::previousRecordId() {
    const jint id = currentRecordId();
    BX_RETURN_IF_PENDING(0);
    index -= 1;
    return id;
}

ByteArray* Impl::recordThenStep(bool forward) {
    if (forward ? index >= numRecords() : index < 0) {
        raiseAt(index);
        return nullptr;
    }
    const jint id = currentRecordId();
    BX_RETURN_IF_PENDING(nullptr);
    ByteArray* bytes = store->getRecord(id);
    BX_RETURN_IF_PENDING(nullptr);
    (void)(forward ? nextRecordId() : previousRecordId());
    return bytes;
}

jint Impl::EnumerationPart::numRecords() { return enclosing(this)->numRecords(); }
ByteArray* Impl::EnumerationPart::nextRecord() { return enclosing(this)->nextRecord(); }
jint Impl::EnumerationPart::nextRecordId() { return enclosing(this)->nextRecordId(); }
ByteArray* Impl::EnumerationPart::previousRecord() { return enclosing(this)->previousRecord(); }
jint Impl::EnumerationPart::previousRecordId() { return enclosing(this)->previousRecordId(); }
bool Impl::EnumerationPart::hasNextElement() { return enclosing(this)->hasNextElement(); }
bool Impl::EnumerationPart::hasPreviousElement() { return enclosing(this)->hasPreviousElement(); }
void Impl::EnumerationPart::reset() { enclosing(this)->reset(); }
