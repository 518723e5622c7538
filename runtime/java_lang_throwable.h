// java_lang_Throwable (class id 52): a message and the trace text stored by the throw. Every
// exception class shares this layout and table; none adds a field. Both fields are references.
#pragma once

#include "runtime/object.h"

class String;

// Where printStackTrace writes: the error stream of System once that class installs one. With none
// installed the text is dropped, as the platform's System.err drops it. write may raise an
// IOException through the pending-exception protocol.
class ThrowableOutput {
public:
    virtual ~ThrowableOutput() = default;
    virtual void print(String* text) = 0;
    virtual void write(jint byte) = 0;
};

class java_lang_Throwable : public Object {
public:
    static constexpr ClassId kClassId = CID_java_lang_Throwable;

    java_lang_Throwable() { setClassId(CID_java_lang_Throwable); }

    // The message object itself, no class name (null when there is none).
    String* toString() override;

    // The Java constructors: () takes the constant pool's string 1 as its message.
    void init();
    void init(String* message);

    [[nodiscard]] String* getMessage() const { return m_message; }
    // The trace text, then one newline byte; an IOException from that write is ignored.
    void printStackTrace();

    String* m_message;
    String* m_trace;
};

namespace Runtime {

void setThrowableOutput(ThrowableOutput* output);
[[nodiscard]] ThrowableOutput* throwableOutput();

}  // namespace Runtime
