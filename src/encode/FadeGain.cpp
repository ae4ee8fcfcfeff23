// Shaping of the ringtone's samples and its encoder settings.
#include "encode/FadeGain.h"

#include <algorithm>
#include <cmath>

double fadeFactor(qint64 t, const CCutInfo& cut) {
    qint64 a = 0;
    qint64 b = 0;
    bool rising = false;
    if (cut.start() <= t && t < cut.getFadeInEnd()) {
        a = cut.start();
        b = cut.getFadeInEnd();
        rising = true;
    } else if (cut.getFadeOutBegin() <= t && t < cut.end()) {
        a = cut.getFadeOutBegin();
        b = cut.end();
    } else {
        return 1.0;
    }
    if (b - a < kShortestFade)
        return 1.0;
    return rising ? double(t - a) / double(b - a) : double(b - t) / double(b - a);
}

void applyFades(void* samples, uint32_t byteCount, qint64 startTime, uint64_t bytesDone,
                const CCutInfo& cut, const WAVEFORMATEX& format, double gain) {
    const uint32_t blockAlign = uint32_t(format.wBitsPerSample) * format.nChannels / 8;
    if (format.wBitsPerSample != 16 || blockAlign == 0 || format.nAvgBytesPerSec == 0)
        return;
    const uint32_t channels = format.nChannels;
    const uint32_t frames = byteCount / blockAlign;
    auto* bytes = static_cast<unsigned char*>(samples);
    for (uint32_t i = 0; i < frames; ++i) {
        const double offset = double(uint64_t(i) * blockAlign + bytesDone);
        const qint64 t = startTime + qint64(offset * 1000.0 / format.nAvgBytesPerSec);
        double f = fadeFactor(t, cut);
        if (gain > 0)
            f *= gain;
        unsigned char* frame = bytes + size_t(i) * blockAlign;
        for (uint32_t c = 0; c < channels; ++c) {
            unsigned char* p = frame + c * 2;
            const int16_t s = int16_t(uint16_t(p[0] | p[1] << 8));
            const double scaled = std::clamp(std::trunc(s * f), -32768.0, 32767.0);
            const uint16_t out = uint16_t(int16_t(scaled));
            p[0] = uint8_t(out);
            p[1] = uint8_t(out >> 8);
        }
    }
}

EncoderParams encoderParamsFromBitRate(int bitRate, const WAVEFORMATEX& format) {
    uint32_t rate = 0;
    int32_t quality = 0;
    if (bitRate < 32)
        quality = std::clamp(bitRate, -1, 2);
    else
        rate = uint32_t(std::min(bitRate, 128));
    EncoderParams params;
    params.mode = format.nChannels == 2 ? EncoderParams::kStereo : EncoderParams::kMono;
    params.sampleRate = format.nSamplesPerSec;
    params.bitRate = rate | rate << 16;
    params.bitRateAgain = rate;
    params.reserved = 1;
    params.quality = quality;
    params.reservedZero = 0;
    return params;
}
