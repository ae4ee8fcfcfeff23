// The sound back ends' own texts: the receiver they report to, set by the program at start-up.
#pragma once

#include "util/Printf.h"

// Levels the back ends report at, the trace log's numbers.
enum AudioTraceLevel : int {
    kAudioTraceError = 10,
    kAudioTraceWarning = 20,
    kAudioTraceDebug = 40,
    kAudioTraceDetail = 50,
};

// Receives one text of the back ends (UTF-8) with its level.
using AUDIOTRACEFUNC = void (*)(int level, const char* text);

// Stores the receiver of the back ends' texts (nullptr: the texts are dropped). Any thread.
void AudioTraceSetFunction(AUDIOTRACEFUNC function);
// The receiver set last, or nullptr.
AUDIOTRACEFUNC AudioTraceFunction();

// Formats a text printf-style and hands it to the receiver, if there is one.
template <class... Args> void AudioTrace(int level, const char* format, const Args&... args) {
    if (const AUDIOTRACEFUNC function = AudioTraceFunction())
        function(level, Sprintf(format, args...).toUtf8().constData());
}
