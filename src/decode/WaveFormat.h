// The wave-format record of every audio file and buffer, with access to single samples.
#pragma once

#include "util/WinTypes.h"

#include <cstdint>

// A WAVEFORMATEX (its seven fields, no extra bytes) that reads samples out of PCM buffers.
class CWaveFormat : public WAVEFORMATEX {
public:
    // All seven fields zero.
    CWaveFormat();
    CWaveFormat(const CWaveFormat& other);
    CWaveFormat(const WAVEFORMATEX& format);
    CWaveFormat& operator=(const CWaveFormat& other);
    CWaveFormat& operator=(const WAVEFORMATEX& format);
    virtual ~CWaveFormat();

    // One sample of the frame at frameIndex in buffer: 8-bit samples as -128..127 (unsigned byte
    // minus 128), 16-bit samples as the signed little-endian word; 0 for a channel index not below
    // nChannels or any other sample width.
    int32_t getSampleValue(const void* buffer, uint32_t frameIndex, uint32_t channelIndex) const;
    // The mean of getSampleValue over all channels of the frame; 0.0 without channels.
    double getAverageSampleValue(const void* buffer, uint32_t frameIndex) const;

    // Bytes of one frame: nChannels * wBitsPerSample / 8 for PCM, nBlockAlign otherwise.
    uint32_t frameSize() const;

private:
    void copyFields(const WAVEFORMATEX& format);
};
