// The CD-audio library's own texts: the receiver set with SetAKRipTraceFunc, and libcdio's log.
#pragma once

#include "platform/cdaudio/CdAudio.h"

// Stores the receiver of the library's texts (nullptr: the texts are dropped).
void CdTraceSetFunction(AKRIPTRACEFUNC function);
// Formats a text printf-style and hands it to the receiver, if there is one.
void CdTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Routes libcdio's log into CdTrace. Its default handler prints to the terminal and ends the
// process on an error report, which a damaged image can cause; this one only reports.
void CdTraceInstallLogHandler();
