// EBU R128 loudness and true peak through libebur128.
#include "encode/LoudnessMeter.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <ebur128.h>
#include <limits>
#include <new>

CLoudnessMeter::CLoudnessMeter(const WAVEFORMATEX& format) : m_channels(format.nChannels) {
    m_state = ebur128_init(m_channels, format.nSamplesPerSec,
                           EBUR128_MODE_I | EBUR128_MODE_TRUE_PEAK);
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
    for (unsigned channel = 0; channel < m_channels; ++channel) {
        double channelPeak = 0;
        if (ebur128_true_peak(m_state, channel, &channelPeak) == EBUR128_SUCCESS)
            peak = std::max(peak, channelPeak);
    }
    return {loudness, peak > 0 ? 20 * std::log10(peak) : kSilence};
}

double loudnessGain(const LoudnessFigures& measured, double target, double ceiling) {
    if (!std::isfinite(measured.loudness) || !std::isfinite(measured.truePeak))
        return 0.0;
    const double decibels = std::min(target - measured.loudness, ceiling - measured.truePeak);
    return std::pow(10.0, decibels / 20.0);
}
