// The wave-format record with access to single samples.
#include "decode/WaveFormat.h"

#include <cstddef>

CWaveFormat::CWaveFormat() : WAVEFORMATEX{0, 0, 0, 0, 0, 0, 0} {}

CWaveFormat::CWaveFormat(const CWaveFormat& other) : WAVEFORMATEX{} {
    copyFields(other);
}

CWaveFormat::CWaveFormat(const WAVEFORMATEX& format) : WAVEFORMATEX{} {
    copyFields(format);
}

CWaveFormat& CWaveFormat::operator=(const CWaveFormat& other) {
    copyFields(other);
    return *this;
}

CWaveFormat& CWaveFormat::operator=(const WAVEFORMATEX& format) {
    copyFields(format);
    return *this;
}

CWaveFormat::~CWaveFormat() = default;

void CWaveFormat::copyFields(const WAVEFORMATEX& format) {
    wFormatTag = format.wFormatTag;
    nChannels = format.nChannels;
    nSamplesPerSec = format.nSamplesPerSec;
    nAvgBytesPerSec = format.nAvgBytesPerSec;
    nBlockAlign = format.nBlockAlign;
    wBitsPerSample = format.wBitsPerSample;
    cbSize = format.cbSize;
}

uint32_t CWaveFormat::frameSize() const {
    if (wFormatTag == WAVE_FORMAT_PCM)
        return uint32_t(nChannels) * wBitsPerSample / 8;
    return nBlockAlign;
}

int32_t CWaveFormat::getSampleValue(const void* buffer, uint32_t frameIndex,
                                    uint32_t channelIndex) const {
    if (channelIndex >= nChannels)
        return 0;
    const auto* frame = static_cast<const uint8_t*>(buffer) + size_t(frameIndex) * frameSize();
    if (wBitsPerSample == 8)
        return int32_t(frame[channelIndex]) - 128;
    if (wBitsPerSample == 16) {
        const uint8_t* sample = frame + size_t(channelIndex) * 2;
        return int16_t(uint16_t(sample[0] | sample[1] << 8));
    }
    return 0;
}

double CWaveFormat::getAverageSampleValue(const void* buffer, uint32_t frameIndex) const {
    if (nChannels == 0)
        return 0.0;
    int64_t sum = 0;
    for (uint32_t channel = 0; channel < nChannels; ++channel)
        sum += getSampleValue(buffer, frameIndex, channel);
    return double(sum) / nChannels;
}
