// NewInstanceFactory: an object of a class from its class id alone — allocated in the object heap,
// registered, header constructor run, fields zero, no Java constructor. Classes add themselves by
// id with a NewInstanceRegistration in their own file; only the ids in the served set may.
#pragma once

#include "runtime/object.h"

using NewInstanceCreator = Object* (*)();

struct NewInstanceFactory {
    // The new object, or null for an id that is not served (or not yet linked in) and when the
    // object heap is exhausted.
    [[nodiscard]] static Object* newInstance(jint classId);
    // Whether the id is one the factory serves once its class registers.
    [[nodiscard]] static bool serves(jint classId);
    static void registerCreator(uint16_t classId, NewInstanceCreator creator);
};

// The creator of a class: allocation and its header constructor only.
template <class T>
Object* newInstanceOf() {
    return new T();
}

// static const NewInstanceRegistration kNew(CID_java_util_Vector, &newInstanceOf<java_util_Vector>);
struct NewInstanceRegistration {
    NewInstanceRegistration(uint16_t classId, NewInstanceCreator creator) {
        NewInstanceFactory::registerCreator(classId, creator);
    }
};
