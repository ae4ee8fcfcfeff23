// The Windows Media decoder: the audio of WMA, WMV and ASF files into a 16-bit PCM WAV file.
#pragma once

#include "decode/IDecoder.h"

#include <QString>
#include <cstdint>

class IPcmSink;
class CWmaReader;

// Copies the PCM that CWmaReader (FFmpeg) delivers for the file's first audio stream into a WAV
// file of the same rate and channel count, skipping the packets of other streams. Progress runs
// in milliseconds of media time over the duration the file's header gives (0 when it gives none).
// Results: 0, 1 cancelled, 2 failed, 5 when FFmpeg is missing from the build or cannot decode the
// stream.
class CWmaDecoder : public IDecoder {
public:
    CWmaDecoder();
    ~CWmaDecoder() override;

    uint32_t decodeFile(const QString& inputName, const QString& outputName,
                        IOpProgress* progress) override;

private:
    // What a decoding run ended with, besides the error fields of the decoder.
    struct RunState {
        int error = 0;          // FFmpeg error code of the failure, 0 when none
        bool failed = false;    // failed (the error code or text tells why, when known)
        bool missing = false;   // FFmpeg is missing or cannot decode the stream
        bool cancelled = false; // the user cancelled
    };

    void run(CWmaReader& reader, IPcmSink& writer, const QString& inputName,
             const QString& outputName, IOpProgress* progress, RunState& state);
    // Opens the file and its audio stream; false when decoding cannot start.
    bool openInput(CWmaReader& reader, const QString& inputName, RunState& state);
    void copySamples(CWmaReader& reader, IPcmSink& writer, IOpProgress* progress, uint32_t range,
                     RunState& state);
};
