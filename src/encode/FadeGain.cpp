// Shaping of the ringtone's samples and its encoder settings.
#include "encode/FadeGain.h"

#include <QtEndian>
#include <algorithm>
#include <array>
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

// A 16-bit sample scaled by f and clipped to 16 bits (clipping before the cut to an integer gives
// what cutting first would).
int16_t scaledSample(int16_t s, double f) {
    return int16_t(std::clamp(s * f, -32768.0, 32767.0));
}

// Scales count 16-bit samples by f, in lanes of a fixed width that the compiler turns into vector
// instructions, and the few behind the last full group one by one.
void scaleSamples(unsigned char* p, size_t count, double f) {
    constexpr size_t kLanes = 8;
    size_t i = 0;
    for (; i + kLanes <= count; i += kLanes) {
        std::array<int16_t, kLanes> samples;
        qFromLittleEndian<int16_t>(p + i * 2, kLanes, samples.data());
        for (size_t j = 0; j < kLanes; ++j)
            samples[j] = scaledSample(samples[j], f);
        qToLittleEndian<int16_t>(samples.data(), kLanes, p + i * 2);
    }
    for (; i < count; ++i)
        qToLittleEndian<int16_t>(scaledSample(qFromLittleEndian<int16_t>(p + i * 2), f), p + i * 2);
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
    auto* bytes = static_cast<unsigned char*>(samples);
    if (!fading) {
        if (gain > 0)
            scaleSamples(bytes, size_t(frames) * format.nChannels, gain);
        return;
    }
    for (uint32_t i = 0; i < frames; ++i) {
        double f = fadeFactor(timeOf(i), cut);
        if (gain > 0)
            f *= gain;
        scaleSamples(bytes + size_t(i) * blockAlign, format.nChannels, f);
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
