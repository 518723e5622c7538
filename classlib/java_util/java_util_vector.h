// java_util_Vector (class id 71): the growable object array. Invariants: 0 <= elementCount <=
// elementData.length, and every slot at or beyond elementCount holds null. No operation touches
// memory outside the element array, whatever index it is given.
#pragma once

#include "runtime/object.h"

class ObjectArray;

class java_util_Vector : public Object {
public:
    java_util_Vector() { setClassId(CID_java_util_Vector); }

    // Vector(initialCapacity, capacityIncrement): a negative capacity raises
    // IllegalArgumentException (literal 215).
    void init(jint initialCapacity, jint increment);
    void init(jint initialCapacity) { init(initialCapacity, 0); }
    void init() { init(10, 0); }
    // Vector(Vector): the elements of another vector, in order.
    void initFrom(java_util_Vector* other);

    // Slots 6 to 9.
    virtual jint size() { return elementCount; }
    virtual bool isEmpty() { return elementCount == 0; }
    virtual bool contains(Object* object) { return indexOf(object, 0) >= 0; }
    virtual void removeAllElements();

    // Index errors raise ArrayIndexOutOfBoundsException with literal 260 and the index as message
    // (lastIndexOf: IndexOutOfBoundsException with the index alone).
    void addElement(Object* object);
    Object* elementAt(jint index);
    void setElementAt(Object* object, jint index);
    void removeElementAt(jint index);
    void insertElementAt(Object* object, jint index);
    bool removeElement(Object* object);
    // Matches by the argument's equals (a null argument finds a null element).
    jint indexOf(Object* object, jint from);
    jint indexOf(Object* object) { return indexOf(object, 0); }
    jint lastIndexOf(Object* object, jint from);
    jint lastIndexOf(Object* object) { return lastIndexOf(object, elementCount - 1); }
    // Null when the vector is empty.
    Object* firstElement();
    Object* lastElement();
    void setSize(jint newSize);
    void ensureCapacity(jint minCapacity);
    [[nodiscard]] jint capacity() const;
    void trimToSize();
    void copyInto(ObjectArray* array);

    ObjectArray* elementData;
    jint elementCount;
    jint capacityIncrement;

protected:
    // Element i, assuming 0 <= i < elementCount.
    [[nodiscard]] Object* at(jint i);
    void raiseIndex(jint index);

private:
    void grow(jint minCapacity);
};
