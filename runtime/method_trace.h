// The method-name trace: a bounded stack of C strings per thread, printed newest first with a
// "stacktrace:" heading, and nullPointer(): what compiled code does on meeting a null reference.
#pragma once

#include <string>

namespace Runtime {

inline constexpr int kMethodTraceDepth = 256;

// Pushes beyond the bound are counted but not stored, so pops stay balanced.
void pushMethodName(const char* name);
void popMethodName();
// "stacktrace:\n" then "%s\n" per entry, newest first.
[[nodiscard]] std::string getStackTrace();
// Hands the trace to the debug log.
void printStackTrace();
// The debug log of compiled code.
void traceLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
// What compiled code does on meeting a null reference: "NullPointer" to the debug log and the trace.
// Nothing becomes pending; the caller skips the access and uses a default value.
void nullPointer();

// RAII form for native code that wants to appear in the trace.
class MethodTraceScope {
public:
    explicit MethodTraceScope(const char* name) { pushMethodName(name); }
    ~MethodTraceScope() { popMethodName(); }
    MethodTraceScope(const MethodTraceScope&) = delete;
    MethodTraceScope& operator=(const MethodTraceScope&) = delete;
};

}  // namespace Runtime
