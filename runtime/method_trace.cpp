// Method trace: each thread keeps its own stack, so traces of concurrent threads never mix.
#include "runtime/method_trace.h"

#include <cstdarg>

#include "runtime/log.h"

namespace {

struct TraceStack {
    const char* names[Runtime::kMethodTraceDepth];
    int depth = 0;
};
thread_local TraceStack t_trace;

}  // namespace

namespace Runtime {

void pushMethodName(const char* name) {
    if (t_trace.depth < kMethodTraceDepth) t_trace.names[t_trace.depth] = name;
    ++t_trace.depth;
}

void popMethodName() {
    if (t_trace.depth > 0) --t_trace.depth;
}

std::string getStackTrace() {
    std::string text = "stacktrace:\n";
    const int stored = t_trace.depth < kMethodTraceDepth ? t_trace.depth : kMethodTraceDepth;
    for (int i = stored - 1; i >= 0; --i) {
        text += t_trace.names[i] ? t_trace.names[i] : "";
        text += '\n';
    }
    return text;
}

void printStackTrace() {
    if (Log::level() > LogLevel::Debug) return;  // don't build the text for nobody
    Log::write(LogLevel::Debug, getStackTrace());
}

void traceLog(const char* format, ...) {
    if (Log::level() > LogLevel::Debug) return;
    va_list args;
    va_start(args, format);
    std::string text = Log::vformat(format, args);
    va_end(args);
    Log::write(LogLevel::Debug, text);
}

void nullPointer() {
    traceLog("NullPointer");
    printStackTrace();
}

}  // namespace Runtime
