// Hashtable: lookup, head insertion, rehash from the last bucket to the first, removal, the
// enumerator and toString. Bucket arrays live in the movable heap: read `table->elements()` afresh
// after anything that allocates. Locked operations hold the table's lock for their whole body.
#include "classlib/java_util/java_util_hashtable.h"

#include <cstddef>

#include "classlib/java_lang/java_lang_exceptions.h"
#include "classlib/java_lang/java_lang_integer.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/exceptions.h"
#include "runtime/monitor.h"
#include "runtime/new_instance_factory.h"
#include "runtime/string.h"
#include "runtime/string_buffer.h"

namespace {

const uint32_t kEntryRefs[] = {BX_REF_FIELD(java_util_HashtableEntry, key), BX_REF_FIELD(java_util_HashtableEntry, value),
                               BX_REF_FIELD(java_util_HashtableEntry, next)};
const RefFieldRegistration kEntryRefsReg(CID_java_util_HashtableEntry, kEntryRefs);
const uint32_t kTableRefs[] = {BX_REF_FIELD(java_util_Hashtable, table)};
const RefFieldRegistration kTableRefsReg(CID_java_util_Hashtable, kTableRefs);
const uint32_t kEnumeratorRefs[] = {BX_REF_FIELD(java_util_Hashtable_HashtableEnumerator, table),
                                    BX_REF_FIELD(java_util_Hashtable_HashtableEnumerator, entry),
                                    BX_REF_FIELD(java_util_Hashtable_HashtableEnumerator, owner)};
const RefFieldRegistration kEnumeratorRefsReg(CID_java_util_Hashtable_HashtableEnumerator, kEnumeratorRefs);

const NewInstanceRegistration kTableNew(CID_java_util_Hashtable, &newInstanceOf<java_util_Hashtable>);
const NewInstanceRegistration kEntryNew(CID_java_util_HashtableEntry, &newInstanceOf<java_util_HashtableEntry>);
const NewInstanceRegistration kEnumeratorNew(CID_java_util_Hashtable_HashtableEnumerator,
                                             &newInstanceOf<java_util_Hashtable_HashtableEnumerator>);

// Literals of toString and the enumerator's message.
constexpr jint kOpenLiteral = 236;
constexpr jint kCloseLiteral = 237;
constexpr jint kSeparatorLiteral = 14;
constexpr jint kPairSeparatorLiteral = 71;
constexpr jint kNoMoreElementsLiteral = 238;

jint thresholdFor(jint capacity) { return jt::div(jt::mul(capacity, 75), 100); }

// Bucket i of an array, null for an array without data (an exhausted heap left it empty).
java_util_HashtableEntry* bucket(ObjectArray* buckets, jint i) {
    return buckets && buckets->data && i >= 0 && i < buckets->length
               ? static_cast<java_util_HashtableEntry*>(buckets->elements()[i])
               : nullptr;
}

void setBucket(ObjectArray* buckets, jint i, java_util_HashtableEntry* entry) {
    if (buckets && buckets->data && i >= 0 && i < buckets->length) buckets->elements()[i] = entry;
}

jint capacityOf(ObjectArray* buckets) { return buckets && buckets->data ? buckets->length : 0; }

// stored.equals(probe), the table's one key comparison. Integer and String keys (final classes: the
// class id names the exact class) are compared without the virtual call.
bool keyEquals(Object* stored, Object* probe) {
    switch (stored->classId()) {
        case CID_java_lang_Integer: return static_cast<java_lang_Integer*>(stored)->java_lang_Integer::equals(probe);
        case CID_String: return static_cast<String*>(stored)->String::equals(probe);
        default: return stored->equals(probe);
    }
}

void raiseNullPointer() { Runtime::raise<java_lang_NullPointerException>(); }

}  // namespace

// --- the table ---------------------------------------------------------------------------------

void java_util_Hashtable::init() {
    table = Runtime::newObjectArray(CID_java_util_HashtableEntry, 11);
    count = 0;
    threshold = 8;
}

void java_util_Hashtable::init(jint initialCapacity) {
    if (initialCapacity < 0) {
        Runtime::raise<java_lang_IllegalArgumentException>(nullptr);
        return;
    }
    if (initialCapacity == 0) initialCapacity = 1;
    table = Runtime::newObjectArray(CID_java_util_HashtableEntry, initialCapacity);
    count = 0;
    threshold = thresholdFor(initialCapacity);
}

jint java_util_Hashtable::bucketOf(jint hash) const {
    const jint capacity = capacityOf(table);
    return capacity > 0 ? (hash & 0x7FFFFFFF) % capacity : -1;
}

java_util_HashtableEntry* java_util_Hashtable::find(Object* key, jint hash) {
    for (java_util_HashtableEntry* e = bucket(table, bucketOf(hash)); e; e = e->next)
        if (e->hash == hash && keyEquals(e->key, key)) return e;
    return nullptr;
}

Object* java_util_Hashtable::get(Object* key) {
    MonitorLock lock(this);
    if (!key) return raiseNullPointer(), nullptr;
    java_util_HashtableEntry* e = find(key, key->hashCode());
    return e ? e->value : nullptr;
}

bool java_util_Hashtable::containsKey(Object* key) {
    MonitorLock lock(this);
    if (!key) return raiseNullPointer(), false;
    return find(key, key->hashCode()) != nullptr;
}

Object* java_util_Hashtable::put(Object* key, Object* value) {
    MonitorLock lock(this);
    if (!value || !key) return raiseNullPointer(), nullptr;
    const jint hash = key->hashCode();
    if (java_util_HashtableEntry* e = find(key, hash)) {
        Object* old = e->value;
        e->value = value;
        return old;
    }
    if (count >= threshold) {
        rehash();
        return put(key, value);
    }
    auto* e = new java_util_HashtableEntry();
    if (!e) return nullptr;
    const jint index = bucketOf(hash);
    if (index < 0) return nullptr;
    e->hash = hash;
    e->key = key;
    e->value = value;
    e->next = bucket(table, index);
    setBucket(table, index, e);
    count = jt::add(count, 1);
    return nullptr;
}

void java_util_Hashtable::rehash() {
    ObjectArray* old = table;
    const jint oldCapacity = capacityOf(old);
    const jint newCapacity = jt::add(jt::mul(oldCapacity, 2), 1);
    ObjectArray* grown = Runtime::newObjectArray(CID_java_util_HashtableEntry, newCapacity);
    if (!grown || !grown->data) {
        // Keep the old buckets: the table stays whole, only fuller than its threshold.
        threshold = jt::add(count, 1);
        return;
    }
    table = grown;
    threshold = thresholdFor(newCapacity);
    // Nothing below allocates, so both element blocks stay where they are.
    Object** from = oldCapacity > 0 ? old->elements() : nullptr;
    Object** to = grown->elements();
    for (jint i = oldCapacity - 1; i >= 0; --i) {
        auto* e = static_cast<java_util_HashtableEntry*>(from[i]);
        while (e) {
            java_util_HashtableEntry* next = e->next;
            const jint index = (e->hash & 0x7FFFFFFF) % newCapacity;
            e->next = static_cast<java_util_HashtableEntry*>(to[index]);
            to[index] = e;
            e = next;
        }
    }
}

Object* java_util_Hashtable::remove(Object* key) {
    MonitorLock lock(this);
    if (!key) return raiseNullPointer(), nullptr;
    const jint hash = key->hashCode();
    const jint index = bucketOf(hash);
    java_util_HashtableEntry* previous = nullptr;
    for (java_util_HashtableEntry* e = bucket(table, index); e; previous = e, e = e->next) {
        if (e->hash != hash || !keyEquals(e->key, key)) continue;
        if (previous)
            previous->next = e->next;
        else
            setBucket(table, index, e->next);
        count = jt::sub(count, 1);
        return e->value;
    }
    return nullptr;
}

bool java_util_Hashtable::contains(Object* value) {
    MonitorLock lock(this);
    if (!value) return raiseNullPointer(), false;
    for (jint i = capacityOf(table) - 1; i >= 0; --i)
        for (java_util_HashtableEntry* e = bucket(table, i); e; e = e->next)
            if (e->value->equals(value)) return true;
    return false;
}

void java_util_Hashtable::clear() {
    MonitorLock lock(this);
    for (jint i = capacityOf(table) - 1; i >= 0; --i) setBucket(table, i, nullptr);
    count = 0;
}

java_util_Hashtable_HashtableEnumerator* java_util_Hashtable::newEnumerator(bool wantKeys) {
    MonitorLock lock(this);
    return Runtime::make<java_util_Hashtable_HashtableEnumerator>(this, table, wantKeys);
}

java_util_Hashtable_HashtableEnumerator* java_util_Hashtable::keys() { return newEnumerator(true); }

java_util_Hashtable_HashtableEnumerator* java_util_Hashtable::elements() { return newEnumerator(false); }

String* java_util_Hashtable::toString() {
    MonitorLock lock(this);
    const jint max = jt::sub(size(), 1);
    auto* buf = new StringBuffer();
    if (!buf) return nullptr;
    buf->initWithCapacity(16);
    java_util_Hashtable_HashtableEnumerator* k = keys();
    java_util_Hashtable_HashtableEnumerator* e = elements();
    if (!k || !e) return nullptr;
    buf->appendString(Runtime::ldcString(kOpenLiteral));
    for (jint i = 0; i <= max; ++i) {
        Object* key = k->nextElement();
        BX_RETURN_IF_PENDING(nullptr);
        Object* value = e->nextElement();
        BX_RETURN_IF_PENDING(nullptr);
        String* s1 = key ? key->toString() : nullptr;
        BX_RETURN_IF_PENDING(nullptr);
        String* s2 = value ? value->toString() : nullptr;
        BX_RETURN_IF_PENDING(nullptr);
        auto* pair = new StringBuffer();
        if (!pair) return nullptr;
        pair->initWithCapacity(16);
        pair->appendString(s1)->appendString(Runtime::ldcString(kSeparatorLiteral))->appendString(s2);
        buf->appendString(pair->toString());
        if (i < max) buf->appendString(Runtime::ldcString(kPairSeparatorLiteral));
    }
    buf->appendString(Runtime::ldcString(kCloseLiteral));
    return buf->toString();
}

// --- the enumerator ----------------------------------------------------------------------------

void java_util_Hashtable_HashtableEnumerator::init(java_util_Hashtable* table_, ObjectArray* buckets, bool wantKeys) {
    keys = wantKeys ? 1 : 0;
    index = capacityOf(buckets);
    table = buckets;
    entry = nullptr;
    owner = table_;
}

void* java_util_Hashtable_HashtableEnumerator::getInterface(jint classId) {
    return classId == CID_java_util_Enumeration ? static_cast<java_util_Enumeration*>(&enumeration) : nullptr;
}

bool java_util_Hashtable_HashtableEnumerator::advance() {
    while (!entry) {
        const jint old = index;
        index = jt::sub(index, 1);
        if (old <= 0) {
            index = 0;  // stays exhausted however often it is asked
            return false;
        }
        entry = bucket(table, index);
    }
    return true;
}

bool java_util_Hashtable_HashtableEnumerator::hasMoreElements() { return entry != nullptr || advance(); }

Object* java_util_Hashtable_HashtableEnumerator::nextElement() {
    if (!entry && !advance()) {
        Runtime::raise<java_util_NoSuchElementException>(Runtime::ldcString(kNoMoreElementsLiteral));
        return nullptr;
    }
    java_util_HashtableEntry* e = entry;
    entry = e->next;
    return keys ? e->key : e->value;
}

namespace {

java_util_Hashtable_HashtableEnumerator* enclosing(java_util_Hashtable_HashtableEnumerator::EnumerationPart* part) {
    return reinterpret_cast<java_util_Hashtable_HashtableEnumerator*>(
        reinterpret_cast<char*>(part) - offsetof(java_util_Hashtable_HashtableEnumerator, enumeration));
}

}  // namespace

bool java_util_Hashtable_HashtableEnumerator::EnumerationPart::hasMoreElements() {
    return enclosing(this)->hasMoreElements();
}

Object* java_util_Hashtable_HashtableEnumerator::EnumerationPart::nextElement() { return enclosing(this)->nextElement(); }
