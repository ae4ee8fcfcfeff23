// The sound back ends' own texts: the receiver they report to.
#include "platform/audio/AudioTrace.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace {
// The back ends' one receiver: set and read from any thread.
std::atomic<AUDIOTRACEFUNC> g_traceFunction{nullptr};
} // namespace

void AudioTraceSetFunction(AUDIOTRACEFUNC function) {
    g_traceFunction.store(function);
}

void AudioTrace(int level, const char* format, ...) {
    const AUDIOTRACEFUNC function = g_traceFunction.load();
    if (!function)
        return;
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    function(level, text);
}
