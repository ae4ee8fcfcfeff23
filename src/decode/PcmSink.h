// Where a decoder puts the 16-bit PCM it makes: a WAV file, or a pipeline that writes one.
#pragma once

#include "util/WinTypes.h"

#include <QString>
#include <cstdint>

// The output side of a decoder. All calls come from the decoding thread.
class IPcmSink {
public:
    virtual ~IPcmSink() = default;

    // Starts the WAV file fileName for format; false (error code kept) when it cannot be made, and
    // then no file is left behind.
    virtual bool create(const QString& fileName, const WAVEFORMATEX& format) = 0;
    // Appends sample data; false on a failure (error code kept).
    virtual bool write(const void* data, uint32_t bytes) = 0;
    // Finishes the file; false when it could not be finished. True when nothing is open.
    virtual bool close() = 0;
    // True once the sink takes no more data: the decoder stops there as at the end of its input.
    virtual bool full() const { return false; }
    // System error code (errno) of the last failure, 0 when none.
    virtual uint32_t getErrorCode() const = 0;
    // The last failure in English, as the trace log writes it.
    virtual const QString& getTraceError() const = 0;
};
