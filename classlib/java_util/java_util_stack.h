// java_util_Stack (class id 64): a Vector used last-in-first-out; it adds no fields and keeps the
// Vector's table.
#pragma once

#include "classlib/java_util/java_util_vector.h"

class java_util_Stack : public java_util_Vector {
public:
    java_util_Stack() { setClassId(CID_java_util_Stack); }

    // Stack() = Vector(10, 0).
    void init() { java_util_Vector::init(10, 0); }

    Object* push(Object* item);
    // EmptyStackException on an empty stack.
    Object* peek();
    Object* pop();
    [[nodiscard]] bool empty() { return size() == 0; }
    // 1-based distance from the top, -1 when absent.
    jint search(Object* object);
};
