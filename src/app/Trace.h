// The trace log: time-stamped UTF-16 lines, filtered by level, written from any thread.
#pragma once

#include "util/DateTimeValue.h"
#include "util/Printf.h"

#include <QString>
#include <atomic>
#include <cstdint>
#include <exception>

// Levels and their names: 0 None, 10 Error, 20 Warning, 30 Info, 40 Debug, 50 Detail, 60 Verbose.
enum TraceLevel : int {
    TRACE_NONE = 0,
    TRACE_ERROR = 10,
    TRACE_WARNING = 20,
    TRACE_INFO = 30,
    TRACE_DEBUG = 40,
    TRACE_DETAIL = 50,
    TRACE_VERBOSE = 60,
};

void TraceSetPrefix(const QString& prefix);
void TraceSetLevel(int level);
int TraceGetLevel();
void TraceSetDebugOutput(bool on);
void TraceSetCloseAfterEachLine(bool on);
void TraceClose();
int TraceLevelFromName(const QString& name);
QString TraceLevelName(int level);
// Full path of the file the log writes to now; empty before the first line.
QString TraceCurrentFileName();
// Writes "BEGIN TraceHexDump ...", one line per 8 bytes, and "END TraceHexDump ...".
void TraceHexDump(int level, const void* data, unsigned size);

// For tests only: the clock the log reads its local time from (nullptr: the real local clock),
// so that a test can move the log past midnight.
using TraceClock = DateTimeValue (*)();
void TraceSetClockForTests(TraceClock clock);

namespace trace_detail {
// The lock of the log, a spin lock on the owner's thread id. Not counted: a nested take by the
// same thread goes on at once, and its inner release frees the lock.
void lockTake();
void lockRelease();
// The thread id that holds the lock, 0 when it is free.
uint32_t lockOwner();
// The state's level, read without the lock: a line above it costs no more than this.
extern std::atomic<int> g_level;
inline bool enabled(int level) {
    const int current = g_level.load(std::memory_order_relaxed);
    return current != 0 && level <= current;
}
// Formats printf-style (%s takes UTF-8) under the trace lock and writes the line.
void write(int level, const char* format, ...);
// The exception's own message for TraceException (the English form of the program's own
// exceptions), at most 260 characters.
QString exceptionMessage(const std::exception& e);

} // namespace trace_detail

// Writes one line "hh:mm:ss.mmm <thread> <TAG>: <message>" when level is within the log's level.
// The format is printf's; QString and QByteArray arguments are accepted for "%s".
template <class... Args> inline void Trace(int level, const char* format, const Args&... args) {
    if (!trace_detail::enabled(level))
        return;
    trace_detail::write(level, format, printf_detail::Arg<Args>{args}.get()...);
}

// Trace of the formatted text followed by ". Error message: " and the exception's own message.
template <class... Args>
inline void TraceException(const std::exception& e, int level, const char* format,
                           const Args&... args) {
    if (!trace_detail::enabled(level))
        return;
    const QString text = Sprintf(format, args...);
    trace_detail::write(level, "%s. Error message: %s", text.toUtf8().constData(),
                        trace_detail::exceptionMessage(e).toUtf8().constData());
}
