// EBU R128 loudness and true peak through libebur128.
#include "encode/LoudnessMeter.h"

#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <ebur128.h>
#include <limits>
#include <new>
#include <vorbis/vorbisfile.h>

CLoudnessMeter::CLoudnessMeter(const WAVEFORMATEX& format) : m_channels(format.nChannels) {
    m_state = ebur128_init(m_channels, format.nSamplesPerSec,
                           EBUR128_MODE_I | EBUR128_MODE_TRUE_PEAK | EBUR128_MODE_SAMPLE_PEAK);
    if (!m_state)
        throw std::bad_alloc();
}

CLoudnessMeter::~CLoudnessMeter() {
    ebur128_destroy(&m_state);
}

void CLoudnessMeter::add(const void* samples, uint32_t byteCount) {
    const size_t frames = byteCount / (2 * m_channels);
    if (frames == 0)
        return;
    m_frames.resize(frames * m_channels);
    qFromLittleEndian<int16_t>(samples, qsizetype(m_frames.size()), m_frames.data());
    ebur128_add_frames_short(m_state, m_frames.data(), frames);
}

LoudnessFigures CLoudnessMeter::figures() const {
    constexpr double kSilence = -std::numeric_limits<double>::infinity();
    double loudness = kSilence;
    if (ebur128_loudness_global(m_state, &loudness) != EBUR128_SUCCESS)
        loudness = kSilence;
    double peak = 0;
    double samplePeak = 0;
    for (unsigned channel = 0; channel < m_channels; ++channel) {
        double channelPeak = 0;
        if (ebur128_true_peak(m_state, channel, &channelPeak) == EBUR128_SUCCESS)
            peak = std::max(peak, channelPeak);
        if (ebur128_sample_peak(m_state, channel, &channelPeak) == EBUR128_SUCCESS)
            samplePeak = std::max(samplePeak, channelPeak);
    }
    const auto decibels = [](double linear) {
        return linear > 0 ? 20 * std::log10(linear) : kSilence;
    };
    return {loudness, decibels(peak), decibels(samplePeak)};
}

double loudnessGain(const LoudnessFigures& measured, double target, double ceiling) {
    if (!std::isfinite(measured.loudness) || !std::isfinite(measured.truePeak))
        return 0.0;
    const double decibels = std::min(target - measured.loudness, ceiling - measured.truePeak);
    return std::min(std::pow(10.0, decibels / 20.0), clipFreeGain(measured));
}

double clipFreeGain(const LoudnessFigures& measured) {
    if (!std::isfinite(measured.samplePeak))
        return 0.0;
    // The meter reads a sample as its value over 32768; one more keeps the part that cutting a
    // faded sample to an integer dropped from clipping.
    const double largest = 32768.0 * std::pow(10.0, measured.samplePeak / 20.0);
    return 32767.0 / (largest + 1.0);
}

double correctedGain(double gain, const LoudnessFigures& made, double target, double ceiling,
                     double limit) {
    constexpr double kTolerance = 0.1; // LU and dB
    constexpr double kGuard = 0.05;    // dB kept from the ceiling, for other decoders' rounding
    constexpr double kNearCeiling = 0.3;
    if (gain <= 0 || !std::isfinite(made.loudness) || !std::isfinite(made.truePeak))
        return 0.0;
    const bool underCeiling = made.truePeak <= ceiling - kGuard;
    const bool onTarget = std::abs(made.loudness - target) <= kTolerance;
    const bool ceilingWins = made.truePeak >= ceiling - kNearCeiling && made.loudness < target;
    if (underCeiling && (onTarget || ceilingWins))
        return 0.0;
    const double decibels = std::min(target - made.loudness, ceiling - kTolerance - made.truePeak);
    const double corrected = std::min(gain * std::pow(10.0, decibels / 20.0), limit);
    return std::abs(corrected - gain) <= 1e-9 * gain ? 0.0 : corrected;
}

bool measureOggFile(const QString& path, LoudnessFigures& figures) {
    OggVorbis_File file;
    if (ov_fopen(QFile::encodeName(path).constData(), &file) != 0)
        return false;
    const vorbis_info* info = ov_info(&file, -1);
    WAVEFORMATEX format{};
    format.nChannels = uint16_t(info ? info->channels : 0);
    format.nSamplesPerSec = uint32_t(info ? info->rate : 0);
    bool ok = format.nChannels == 1 || format.nChannels == 2;
    if (ok) {
        CLoudnessMeter meter(format);
        std::vector<char> block(65536);
        int bitstream = 0;
        long got = 0;
        while ((got = ov_read(&file, block.data(), int(block.size()), 0, 2, 1, &bitstream)) > 0)
            meter.add(block.data(), uint32_t(got));
        ok = got == 0;
        figures = meter.figures();
    }
    ov_clear(&file);
    return ok;
}
