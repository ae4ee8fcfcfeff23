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

namespace {
// True when a time from first to last (milliseconds) may lie in the fade-in or the fade-out.
bool touchesFade(qint64 first, qint64 last, const CCutInfo& cut) {
    const auto overlaps = [first, last](qint64 a, qint64 b) {
        return a < b && a <= last && first < b;
    };
    return overlaps(cut.start(), cut.getFadeInEnd()) || overlaps(cut.getFadeOutBegin(), cut.end());
}

// Scales the 16-bit samples of one frame by f, clipped to 16 bits.
void scaleFrame(unsigned char* frame, uint32_t channels, double f) {
    for (uint32_t c = 0; c < channels; ++c) {
        unsigned char* p = frame + c * 2;
        const int16_t s = int16_t(uint16_t(p[0] | p[1] << 8));
        const double scaled = std::clamp(std::trunc(s * f), -32768.0, 32767.0);
        const uint16_t out = uint16_t(int16_t(scaled));
        p[0] = uint8_t(out);
        p[1] = uint8_t(out >> 8);
    }
}
} // namespace

void applyFades(void* samples, uint32_t byteCount, qint64 startTime, uint64_t bytesDone,
                const CCutInfo& cut, const WAVEFORMATEX& format, double gain) {
    const uint32_t blockAlign = uint32_t(format.wBitsPerSample) * format.nChannels / 8;
    if (format.wBitsPerSample != 16 || blockAlign == 0 || format.nAvgBytesPerSec == 0)
        return;
    const uint32_t frames = byteCount / blockAlign;
    const auto timeOf = [&](uint32_t i) {
        const double offset = double(uint64_t(i) * blockAlign + bytesDone);
        return startTime + qint64(offset * 1000.0 / format.nAvgBytesPerSec);
    };
    // Times rise with the frames, so a block whose first and last frames lie outside the fades
    // has a factor of 1 throughout and changes by the gain alone.
    const bool fading = frames > 0 && touchesFade(timeOf(0), timeOf(frames - 1), cut);
    if (!fading && gain <= 0)
        return;
    auto* bytes = static_cast<unsigned char*>(samples);
    for (uint32_t i = 0; i < frames; ++i) {
        double f = fading ? fadeFactor(timeOf(i), cut) : 1.0;
        if (gain > 0)
            f *= gain;
        scaleFrame(bytes + size_t(i) * blockAlign, format.nChannels, f);
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
