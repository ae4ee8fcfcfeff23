// The interface of the decoders that turn a whole input file into a 16-bit PCM WAV file.
#pragma once

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

    // System error code (errno) of the last failure, 0 when none.
    uint32_t getErrorCode() const { return m_errorCode; }
    // Message for the user about the last failure; empty when none.
    const QString& getErrorText() const { return m_errorText; }

    // The system's text for an error code followed by " (code)", as decoders show it.
    static QString systemErrorText(uint32_t code) { return SystemErrorText(int(code)); }

protected:
    uint32_t m_errorCode = 0;
    QString m_errorText;
};
