// The sound back ends' own texts: the receiver they report to.
#include "platform/audio/AudioTrace.h"

#include <atomic>

namespace {
// The back ends' one receiver: set and read from any thread.
std::atomic<AUDIOTRACEFUNC> g_traceFunction{nullptr};
} // namespace

void AudioTraceSetFunction(AUDIOTRACEFUNC function) {
    g_traceFunction.store(function);
}

AUDIOTRACEFUNC AudioTraceFunction() {
    return g_traceFunction.load();
}
