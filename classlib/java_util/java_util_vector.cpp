// Vector: growth, indexed access with the index exceptions, search and the bulk operations.
// elementData's elements live in the movable heap: read them through the array after anything
// that allocates. Every operation the class synchronizes holds the vector's lock for its body.
#include "classlib/java_util/java_util_vector.h"

#include "classlib/java_lang/java_lang_exceptions.h"
#include "runtime/array.h"
#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/exceptions.h"
#include "runtime/method_trace.h"
#include "runtime/monitor.h"
#include "runtime/new_instance_factory.h"
#include "runtime/string.h"
#include "runtime/string_buffer.h"
#include "runtime/system_natives.h"

namespace {

const uint32_t kVectorRefs[] = {BX_REF_FIELD(java_util_Vector, elementData)};
const RefFieldRegistration kVectorRefsReg(CID_java_util_Vector, kVectorRefs);
const NewInstanceRegistration kVectorNew(CID_java_util_Vector, &newInstanceOf<java_util_Vector>);

constexpr jint kIllegalCapacityLiteral = 215;
constexpr jint kIndexOutOfRangeLiteral = 260;

bool matches(Object* wanted, Object* element) { return wanted ? wanted->equals(element) : element == nullptr; }

}  // namespace

void java_util_Vector::init(jint initialCapacity, jint increment) {
    if (initialCapacity < 0) {
        Runtime::raise<java_lang_IllegalArgumentException>(Runtime::ldcString(kIllegalCapacityLiteral));
        return;
    }
    elementData = Runtime::newObjectArray(CID_Object, initialCapacity);
    capacityIncrement = increment;
    elementCount = 0;
}

void java_util_Vector::initFrom(java_util_Vector* other) {
    if (!other) return Runtime::nullPointer();
    init(other->size(), 0);
    for (jint i = 0; i < other->size(); ++i) {
        Object* element = other->elementAt(i);
        BX_RETURN_IF_PENDING();
        addElement(element);
    }
}

jint java_util_Vector::capacity() const { return elementData && elementData->data ? elementData->length : 0; }

Object* java_util_Vector::at(jint i) { return elementData->elements()[i]; }

void java_util_Vector::raiseIndex(jint index) {
    auto* text = new StringBuffer();
    if (text) text->initWithCapacity(16);
    String* message =
        text ? text->appendString(Runtime::ldcString(kIndexOutOfRangeLiteral))->appendInt(index)->toString() : nullptr;
    Runtime::raise<java_lang_ArrayIndexOutOfBoundsException>(message);
}

void java_util_Vector::grow(jint minCapacity) {
    const jint current = capacity();
    jint newCapacity = capacityIncrement > 0 ? jt::add(current, capacityIncrement) : jt::mul(current, 2);
    if (newCapacity < minCapacity) newCapacity = minCapacity;
    ObjectArray* grown = Runtime::newObjectArray(CID_Object, newCapacity);
    if (!grown || (newCapacity > 0 && !grown->data)) return;  // heap exhausted: the vector stays as it was
    java_lang_System::arraycopy(elementData, 0, grown, 0, elementCount);
    elementData = grown;
}

void java_util_Vector::ensureCapacity(jint minCapacity) {
    MonitorLock lock(this);
    if (minCapacity > capacity()) grow(minCapacity);
}

void java_util_Vector::addElement(Object* object) {
    MonitorLock lock(this);
    if (elementCount + 1 > capacity()) grow(elementCount + 1);
    if (elementCount >= capacity()) return;
    elementData->elements()[elementCount] = object;
    elementCount = jt::add(elementCount, 1);
}

Object* java_util_Vector::elementAt(jint index) {
    MonitorLock lock(this);
    if (index < 0 || index >= elementCount) return raiseIndex(index), nullptr;
    return at(index);
}

void java_util_Vector::setElementAt(Object* object, jint index) {
    MonitorLock lock(this);
    // A negative index is refused like one past the end: the store would land below the array.
    if (index < 0 || index >= elementCount) return raiseIndex(index);
    elementData->elements()[index] = object;
}

void java_util_Vector::removeElementAt(jint index) {
    MonitorLock lock(this);
    if (index < 0 || index >= elementCount) return raiseIndex(index);
    java_lang_System::arraycopy(elementData, index + 1, elementData, index, elementCount - index - 1);
    elementCount = jt::sub(elementCount, 1);
    elementData->elements()[elementCount] = nullptr;
}

void java_util_Vector::insertElementAt(Object* object, jint index) {
    MonitorLock lock(this);
    // A negative index would move memory below the array: refused with the same exception.
    if (index < 0 || index >= elementCount + 1) return raiseIndex(index);
    if (elementCount + 1 > capacity()) grow(elementCount + 1);
    if (elementCount >= capacity()) return;
    java_lang_System::arraycopy(elementData, index, elementData, index + 1, elementCount - index);
    elementData->elements()[index] = object;
    elementCount = jt::add(elementCount, 1);
}

bool java_util_Vector::removeElement(Object* object) {
    MonitorLock lock(this);
    const jint i = indexOf(object, 0);
    if (i < 0) return false;
    removeElementAt(i);
    return true;
}

jint java_util_Vector::indexOf(Object* object, jint from) {
    MonitorLock lock(this);
    for (jint i = from < 0 ? 0 : from; i < elementCount; ++i) {
        const bool found = matches(object, at(i));
        BX_RETURN_IF_PENDING(-1);
        if (found) return i;
    }
    return -1;
}

jint java_util_Vector::lastIndexOf(Object* object, jint from) {
    MonitorLock lock(this);
    if (from >= elementCount) {
        Runtime::raise<java_lang_IndexOutOfBoundsException>(String::valueOfInt(from));
        return -1;
    }
    for (jint i = from; i >= 0; --i) {
        const bool found = matches(object, at(i));
        BX_RETURN_IF_PENDING(-1);
        if (found) return i;
    }
    return -1;
}

Object* java_util_Vector::firstElement() {
    MonitorLock lock(this);
    return elementCount > 0 ? at(0) : nullptr;
}

Object* java_util_Vector::lastElement() {
    MonitorLock lock(this);
    return elementCount > 0 ? at(elementCount - 1) : nullptr;
}

void java_util_Vector::removeAllElements() {
    MonitorLock lock(this);
    for (jint i = 0; i < elementCount; ++i) elementData->elements()[i] = nullptr;
    elementCount = 0;
}

void java_util_Vector::setSize(jint newSize) {
    MonitorLock lock(this);
    // A negative size would clear slots below the array: refused as an index error.
    if (newSize < 0) return raiseIndex(newSize);
    if (newSize > elementCount && newSize > capacity()) grow(newSize);
    if (newSize > capacity()) return;  // the growth failed
    if (newSize >= elementCount) {
        elementCount = newSize;
        return;
    }
    for (jint i = newSize; i < elementCount; ++i) elementData->elements()[i] = nullptr;
    elementCount = newSize;
}

void java_util_Vector::trimToSize() {
    MonitorLock lock(this);
    if (elementCount >= capacity()) return;
    ObjectArray* trimmed = Runtime::newObjectArray(CID_Object, elementCount);
    if (!trimmed || (elementCount > 0 && !trimmed->data)) return;
    java_lang_System::arraycopy(elementData, 0, trimmed, 0, elementCount);
    elementData = trimmed;
}

void java_util_Vector::copyInto(ObjectArray* array) {
    MonitorLock lock(this);
    if (!array) return Runtime::nullPointer();
    // A destination shorter than the vector raises for the first index it lacks; nothing is stored.
    if (elementCount > 0 && (!array->data || elementCount > array->length)) return raiseIndex(elementCount - 1);
    for (jint i = elementCount - 1; i >= 0; --i) array->elements()[i] = at(i);
}
