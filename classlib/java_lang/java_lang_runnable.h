// java_lang_Runnable (class id 46): the interface of what a thread runs. An implementing class holds
// it as a sub-object and answers it from getInterface(CID_java_lang_Runnable); references always
// hold the object's primary pointer, and the interface is reached through asRunnable.
#pragma once

#include "runtime/object.h"

class java_lang_Runnable {
public:
    virtual void run() = 0;

protected:
    ~java_lang_Runnable() = default;
};

namespace Runtime {

// The object's Runnable sub-object, or null (null object, or one that is no Runnable).
[[nodiscard]] inline java_lang_Runnable* asRunnable(Object* object) {
    return object ? static_cast<java_lang_Runnable*>(object->getInterface(CID_java_lang_Runnable)) : nullptr;
}

}  // namespace Runtime
