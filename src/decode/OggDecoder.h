// The OGG Vorbis decoder: one logical Vorbis stream through vorbisfile into a 16-bit PCM WAV file.
#pragma once

#include "decode/IDecoder.h"

#include <QString>
#include <cstdint>

// Reads the input through vorbisfile's callbacks on a buffered file stream and writes what ov_read
// gives (16-bit signed little-endian interleaved PCM, in blocks of at most 4096 bytes) through
// CWavWriter. Chained files (more than one logical stream) are refused with result 4. Progress
// counts compressed bytes. Everything the call uses is acquired and released inside it.
class COggDecoder : public IDecoder {
public:
    static constexpr int kBlockSize = 4096;

    uint32_t decodeFile(const QString& inputName, const QString& outputName,
                        IOpProgress* progress) override;
};
