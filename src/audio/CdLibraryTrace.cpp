// The CD-audio library's own texts in the trace log, switched on at start-up and off at shutdown.
#include "audio/CdLibraryTrace.h"

#include "app/Trace.h"
#include "platform/cdaudio/CdAudio.h"

namespace {
void TraceLibraryText(const char* text) {
    Trace(TRACE_DEBUG, "%s", text);
}
} // namespace

void StartCdLibraryTrace() {
    SetAKRipTraceFunc(TraceLibraryText);
    const uint32_t version = GetASPI32DLLVersion();
    Trace(TRACE_DEBUG, "aspi version = %d.%d", int(version & 0xFF), int(version >> 8));
}

void StopCdLibraryTrace() {
    SetAKRipTraceFunc(nullptr);
}
