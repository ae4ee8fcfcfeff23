// The OGG Vorbis decoder: one logical Vorbis stream through vorbisfile into a 16-bit PCM WAV file.
#pragma once

#include "decode/IDecoder.h"

#include <QString>
#include <cstdint>

struct OggVorbis_File;

// Reads the input through vorbisfile's callbacks on a buffered file stream and writes what ov_read
// gives (16-bit signed little-endian interleaved PCM, in blocks of at most 4096 bytes) through
// CWavWriter. Chained files (more than one logical stream) are refused with result 4. Progress
// counts compressed bytes. A start time is reached with vorbisfile's sample-exact seek. Everything
// the call uses is acquired and released inside it.
class COggDecoder : public IDecoder {
public:
    static constexpr int kBlockSize = 4096;

    uint32_t decodeFile(const QString& inputName, const QString& outputName,
                        IOpProgress* progress) override;
    bool setStartTime(int64_t ms) override;

private:
    // Seeks the opened file to the start asked for (past the end: the last second before it);
    // the start reached in ms. Throws COxaDecoderException when the file cannot seek.
    int64_t startAt(OggVorbis_File& vorbisFile, long rate);

    int64_t m_requestedStart = 0; // ms, whole seconds
};
