// Log: level filter and a replaceable sink behind one lock, so lines from threads never interleave.
#include "runtime/log.h"

#include <atomic>
#include <cstdio>
#include <mutex>

namespace {

std::mutex& logLock() {
    static std::mutex lock;
    return lock;
}
std::atomic<LogLevel> g_level{LogLevel::Warn};
Log::Sink& sinkSlot() {
    static Log::Sink sink;
    return sink;
}

void writeDefault(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    if (text.empty() || text.back() != '\n') std::fputc('\n', stderr);
    std::fflush(stderr);
}

}  // namespace

namespace Log {

void setLevel(LogLevel level) { g_level.store(level); }
LogLevel level() { return g_level.load(); }

Sink setSink(Sink sink) {
    std::lock_guard<std::mutex> guard(logLock());
    Sink previous = std::move(sinkSlot());
    sinkSlot() = std::move(sink);
    return previous;
}

void write(LogLevel level, const std::string& text) {
    if (level < g_level.load()) return;
    std::lock_guard<std::mutex> guard(logLock());
    if (sinkSlot()) sinkSlot()(level, text);
    else writeDefault(text);
}

std::string vformat(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n <= 0) return {};
    std::string out(static_cast<size_t>(n), '\0');
    std::vsnprintf(out.data(), out.size() + 1, format, args);
    return out;
}

std::string format(const char* fmt, ...) {
    va_list args;
    va_start(args, fmt);
    std::string out = vformat(fmt, args);
    va_end(args);
    return out;
}

#define BX_LOG_AT(lvl)                            \
    do {                                          \
        if ((lvl) < g_level.load()) return;       \
        va_list args;                             \
        va_start(args, format);                   \
        std::string text = vformat(format, args); \
        va_end(args);                             \
        write((lvl), text);                       \
    } while (0)

void printf(LogLevel level, const char* format, ...) { BX_LOG_AT(level); }
void debug(const char* format, ...) { BX_LOG_AT(LogLevel::Debug); }
void info(const char* format, ...) { BX_LOG_AT(LogLevel::Info); }
void warn(const char* format, ...) { BX_LOG_AT(LogLevel::Warn); }
void error(const char* format, ...) { BX_LOG_AT(LogLevel::Error); }

#undef BX_LOG_AT

}  // namespace Log
