// Array creation, destruction and raw element access. The data block's owner (the `data` field) is
// recorded inside the allocation, so no block is ever movable without its owner.
#include "runtime/array.h"

#include "runtime/compiled.h"
#include "runtime/heaps.h"
#include "runtime/log.h"
#include "runtime/memory_manager.h"
#include "runtime/method_trace.h"
#include "runtime/string.h"

void Array::destroy() {
    if (data) Runtime::freeBlock(data);
    data = nullptr;
}

void Array::init(jint newLength) {
    length = newLength;
    data = nullptr;
    if (newLength < 0) {
        Runtime::traceLog("length of array should be >= 0");
        Runtime::printStackTrace();
        return;
    }
    if (newLength == 0) return;
    const size_t bytes = static_cast<size_t>(newLength) * static_cast<size_t>(elementSize());
    data = Runtime::nativeAlloc(bytes, &data);
}

void Array::registerData() {
    if (data) Runtime::nativeHeap().setOwner(data, &data);
}

Array::Range Array::clampRange(const Array* array, jint offset, jint n) {
    const jint length = array && array->data && array->length > 0 ? array->length : 0;
    if (offset < 0 || offset > length || n <= 0) return {0, 0};
    return {offset, n < length - offset ? n : length - offset};
}

bool Array::inBounds(jint index, jint width) const {
    if (index >= 0 && index < length && data &&
        static_cast<int64_t>(index + 1) * width <= static_cast<int64_t>(length) * elementSize())
        return true;
    Log::error("array index %d out of range (length %d)", index, length);
    return false;
}

jint Array::getInt32(Array* array, jint index) {
    if (!array) return Runtime::nullPointer(), 0;
    return array->inBounds(index, 4) ? static_cast<jint*>(array->data)[index] : 0;
}

void Array::setInt32(Array* array, jint index, jint value) {
    if (!array) return Runtime::nullPointer();
    if (array->inBounds(index, 4)) static_cast<jint*>(array->data)[index] = value;
}

jint Array::getShort(Array* array, jint index) {
    if (!array) return Runtime::nullPointer(), 0;
    return array->inBounds(index, 2) ? static_cast<jshort*>(array->data)[index] : 0;
}

void Array::setShort(Array* array, jint index, jint value) {
    if (!array) return Runtime::nullPointer();
    if (array->inBounds(index, 2)) static_cast<jshort*>(array->data)[index] = jt::i2s(value);
}

jint Array::getByte(Array* array, jint index) {
    if (!array) return Runtime::nullPointer(), 0;
    return array->inBounds(index, 1) ? static_cast<jbyte*>(array->data)[index] : 0;
}

void Array::setByte(Array* array, jint index, jint value) {
    if (!array) return Runtime::nullPointer();
    if (array->inBounds(index, 1)) static_cast<jbyte*>(array->data)[index] = jt::i2b(value);
}

String* CharArray::toString() {
    jint n = 0;
    while (n < length && elements()[n] != 0) ++n;
    // The String's allocation may let a compaction move our data: it copies from `data` afterwards.
    auto* s = new String();
    if (s) s->initFromChars(this, 0, n);
    return s;
}

namespace {

template <class A>
A* newArray(jint length) {
    return Runtime::make<A>(length);
}

template <class A>
A* newForeign(void* buffer, jint length) {
    auto* array = new A();
    if (!array) return nullptr;
    array->length = buffer && length > 0 ? length : 0;
    array->data = array->length > 0 ? buffer : nullptr;
    return array;
}

// A new array of the type `descriptor` names ("[I", "[[J", "[Ljava/lang/String;").
Array* newArrayOfType(const char* descriptor, jint length) {
    switch (descriptor[0] == '[' ? descriptor[1] : '\0') {
        case 'B': return newArray<ByteArray>(length);
        case 'C': return newArray<CharArray>(length);
        case 'D': return newArray<DoubleArray>(length);
        case 'F': return newArray<FloatArray>(length);
        case 'I': return newArray<IntArray>(length);
        case 'J': return newArray<Long64Array>(length);
        case 'S': return newArray<ShortArray>(length);
        case 'Z': return newArray<BoolArray>(length);
        default: return newArray<ObjectArray>(length);
    }
}

}  // namespace

namespace Runtime {

ObjectArray* newObjectArray(jint, jint length) { return newArray<ObjectArray>(length); }
BoolArray* newBooleanArray(jint length) { return newArray<BoolArray>(length); }
ByteArray* newByteArray(jint length) { return newArray<ByteArray>(length); }
CharArray* newCharArray(jint length) { return newArray<CharArray>(length); }
ShortArray* newShortArray(jint length) { return newArray<ShortArray>(length); }
IntArray* newIntArray(jint length) { return newArray<IntArray>(length); }
Long64Array* newLongArray(jint length) { return newArray<Long64Array>(length); }
FloatArray* newFloatArray(jint length) { return newArray<FloatArray>(length); }
DoubleArray* newDoubleArray(jint length) { return newArray<DoubleArray>(length); }
ByteArray* newForeignByteArray(void* buffer, jint length) { return newForeign<ForeignByteArray>(buffer, length); }
ShortArray* newForeignShortArray(void* buffer, jint length) { return newForeign<ForeignShortArray>(buffer, length); }

Array* multiANewArray(const char* descriptor, const jint* lengths, int dimensions) {
    if (!descriptor || !lengths || dimensions < 1 || descriptor[0] != '[') {
        Log::error("multianewarray: bad descriptor or dimensions");
        return nullptr;
    }
    Array* outer = newArrayOfType(descriptor, lengths[0]);
    // A one-level descriptor gives a primitive array; only arrays of arrays are filled.
    if (outer && outer->classId() == CID_ObjectArray)
        fillMultiArray(static_cast<ObjectArray*>(outer), descriptor + 1, dimensions - 1, lengths + 1);
    return outer;
}

void fillMultiArray(ObjectArray* array, const char* descriptor, int dimensions, const jint* lengths) {
    if (!array || dimensions < 1 || descriptor[0] != '[') return;
    for (jint i = 0; i < array->length; ++i) {
        Array* element = newArrayOfType(descriptor, lengths[0]);
        // Re-read data: the allocation above may have moved it.
        array->elements()[i] = element;
        if (element && dimensions >= 2 && element->classId() == CID_ObjectArray)
            fillMultiArray(static_cast<ObjectArray*>(element), descriptor + 1, dimensions - 1, lengths + 1);
    }
}

}  // namespace Runtime
