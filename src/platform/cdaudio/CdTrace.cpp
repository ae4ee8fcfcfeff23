// The CD-audio library's own texts: the receiver set with SetAKRipTraceFunc, and libcdio's log.
#include "platform/cdaudio/CdTrace.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

#ifdef QUILLET_WITH_CDIO
#include <cdio/logging.h>
#endif

namespace {
// The library's one receiver, as a DLL keeps its callback: set and read from any thread.
std::atomic<AKRIPTRACEFUNC> g_traceFunction{nullptr};

#ifdef QUILLET_WITH_CDIO
const char* LevelName(cdio_log_level_t level) {
    switch (level) {
    case CDIO_LOG_INFO:
        return "info";
    case CDIO_LOG_WARN:
        return "warning";
    case CDIO_LOG_ERROR:
        return "error";
    case CDIO_LOG_ASSERT:
        return "assertion";
    default:
        return "debug";
    }
}

void LogHandler(cdio_log_level_t level, const char* message) {
    if (level < CDIO_LOG_INFO)
        return;
    CdTrace("libcdio %s: %s", LevelName(level), message ? message : "");
}
#endif
} // namespace

void CdTraceSetFunction(AKRIPTRACEFUNC function) {
    g_traceFunction.store(function);
}

void CdTrace(const char* format, ...) {
    const AKRIPTRACEFUNC function = g_traceFunction.load();
    if (!function)
        return;
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    function(text);
}

void CdTraceInstallLogHandler() {
#ifdef QUILLET_WITH_CDIO
    cdio_log_set_handler(LogHandler);
#endif
}
