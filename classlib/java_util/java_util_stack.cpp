// Stack over Vector: push, peek, pop and search. peek and pop hold the stack's lock, which the
// Vector operations they call take again (re-entrant).
#include "classlib/java_util/java_util_stack.h"

#include "classlib/java_lang/java_lang_exceptions.h"
#include "runtime/compiled.h"
#include "runtime/exceptions.h"
#include "runtime/monitor.h"

Object* java_util_Stack::push(Object* item) {
    addElement(item);
    return item;
}

Object* java_util_Stack::peek() {
    MonitorLock lock(this);
    const jint n = size();
    if (n == 0) {
        Runtime::raise<java_util_EmptyStackException>();
        return nullptr;
    }
    return elementAt(n - 1);
}

Object* java_util_Stack::pop() {
    MonitorLock lock(this);
    const jint n = size();
    Object* object = peek();
    BX_RETURN_IF_PENDING(nullptr);
    removeElementAt(n - 1);
    return object;
}

jint java_util_Stack::search(Object* object) {
    MonitorLock lock(this);
    const jint i = lastIndexOf(object, elementCount - 1);
    return i >= 0 ? size() - i : -1;
}
