// Writes PCM blocks into a RIFF/WAVE file through CWavWriter.
#pragma once

#include "decode/WavWriter.h"
#include "encode/FileEncoder.h"
#include "util/WinTypes.h"

// The WAV output encoder: a name without extension gets ".wav"; sizes are patched when the file
// is finished (switchFile, destruction).
class CWavFileEncoder : public CFileEncoder {
public:
    // Throws COxaFileException "Error creating WAV file ..." when the file cannot be created, and
    // COxaEncoderException when format is missing.
    CWavFileEncoder(const QString& fileName, const WAVEFORMATEX* format);
    ~CWavFileEncoder() override;

    void encode(const void* data, uint32_t bytes) override;
    void switchFile(const QString& fileName) override;

private:
    void open(const QString& fileName);

    WAVEFORMATEX m_format{};
    CWavWriter m_writer;
};
