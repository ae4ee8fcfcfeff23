// The interface of the decoders that turn a whole input file into a 16-bit PCM WAV file.
#pragma once

#include "decode/WavWriter.h"
#include "util/SystemError.h"

#include <QString>
#include <cstdint>

class IOpProgress;

// One decoder object decodes one file. The result of decodeFile is an OpResult code:
// 0 success, 1 cancelled, 2 failed (see getErrorText), 3 invalid file, 4 not supported,
// 5 components missing. After any code other than 0 the output file has been removed.
class IDecoder {
public:
    virtual ~IDecoder() = default;

    // Decodes inputName into the new WAV file outputName, reporting progress and honouring cancel
    // through progress (never null). Never throws.
    virtual uint32_t decodeFile(const QString& inputName, const QString& outputName,
                                IOpProgress* progress) = 0;

    // Sends the decoded PCM to sink (which outlives decodeFile) in place of a plain WAV writer;
    // decodeFile creates, fills and closes the output through it alike.
    void setSink(IPcmSink* sink) { m_sink = sink; }

    // Asks the next decodeFile to begin its output ms milliseconds into the input, a whole number
    // of seconds (rounded down), which falls on a whole sample at every rate. True when this
    // decoder can start there exactly; false when it always decodes from the beginning.
    virtual bool setStartTime(int64_t ms) {
        (void)ms;
        return false;
    }
    // Where the output of the last decodeFile began in the input, in milliseconds: 0, the start
    // asked for, or, when that lay beyond the end, the last whole second before the end.
    int64_t startTime() const { return m_startTime; }

    // System error code (errno) of the last failure, 0 when none.
    uint32_t getErrorCode() const { return m_errorCode; }
    // Message for the user about the last failure; empty when none.
    const QString& getErrorText() const { return m_errorText; }

    // The system's text for an error code followed by " (code)", as decoders show it.
    static QString systemErrorText(uint32_t code) { return SystemErrorText(int(code)); }

protected:
    // Where decodeFile puts the PCM: the sink given, else the decoder's own WAV writer.
    IPcmSink& output() { return m_sink ? *m_sink : m_wavWriter; }

    uint32_t m_errorCode = 0;
    QString m_errorText;
    int64_t m_startTime = 0;

private:
    IPcmSink* m_sink = nullptr;
    CWavWriter m_wavWriter;
};
