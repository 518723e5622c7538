// Throwable's constructors, slots and printStackTrace; registers its two reference fields, which
// every exception class inherits through the superclass table.
#include "runtime/java_lang_throwable.h"

#include <atomic>
#include <cstddef>

#include "runtime/class_record.h"
#include "runtime/compiled.h"
#include "runtime/constant_pool.h"
#include "runtime/exceptions.h"

namespace {

const uint32_t kThrowableRefs[] = {BX_REF_FIELD(java_lang_Throwable, m_message),
                                   BX_REF_FIELD(java_lang_Throwable, m_trace)};
const RefFieldRegistration kThrowableRefsReg(CID_java_lang_Throwable, kThrowableRefs);

// The newline write is call site 0; its IOException is caught and dropped.
const TryEntry kPrintStackTraceTry[] = {{CID_java_io_IOException, 0, 1}, {0, 0, 0}};

std::atomic<ThrowableOutput*> g_output{nullptr};

}  // namespace

String* java_lang_Throwable::toString() { return m_message; }

void java_lang_Throwable::init() {
    m_trace = nullptr;
    m_message = Runtime::ldcString(1);
}

void java_lang_Throwable::init(String* message) {
    m_trace = nullptr;
    m_message = message;
}

void java_lang_Throwable::printStackTrace() {
    ThrowableOutput* out = Runtime::throwableOutput();
    if (!out) return;
    out->print(m_trace);
    out->write('\n');
    BX_CHECK_SITE(0);
    return;
dispatch:
    // Handler 0 drops the IOException; anything else stays pending for the caller.
    (void)Runtime::findExceptionHandler(kPrintStackTraceTry);
}

namespace Runtime {

void setThrowableOutput(ThrowableOutput* output) { g_output.store(output); }
ThrowableOutput* throwableOutput() { return g_output.load(); }

}  // namespace Runtime
