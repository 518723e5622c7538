// The one logging facility. The runtime's "debug log" is Log::debug; native-layer reports that the
// phone printed on standard output are Log::info / Log::error with their texts kept exactly.
// A test may install a sink to read what was logged; the sink is called under the log's lock.
#pragma once

#include <cstdarg>
#include <functional>
#include <string>

enum class LogLevel { Debug = 0, Info = 1, Warn = 2, Error = 3, Off = 4 };

namespace Log {

using Sink = std::function<void(LogLevel, const std::string&)>;

// Messages below this level are dropped (default Warn, so the debug log is empty as built).
void setLevel(LogLevel level);
[[nodiscard]] LogLevel level();
// Replaces the output (default: standard error; the host redirects to log.txt with --log).
// Returns the previous sink; an empty sink restores the default.
Sink setSink(Sink sink);

void write(LogLevel level, const std::string& text);
void printf(LogLevel level, const char* format, ...) __attribute__((format(printf, 2, 3)));
void debug(const char* format, ...) __attribute__((format(printf, 1, 2)));
void info(const char* format, ...) __attribute__((format(printf, 1, 2)));
void warn(const char* format, ...) __attribute__((format(printf, 1, 2)));
void error(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Formats like vsnprintf into a std::string of any length.
[[nodiscard]] std::string vformat(const char* format, va_list args);
[[nodiscard]] std::string format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace Log
