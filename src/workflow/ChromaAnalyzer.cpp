// Chroma of 16-bit PCM per time segment.
#include "workflow/ChromaAnalyzer.h"

#include <QtEndian>
#include <cmath>
#include <numbers>

namespace {
constexpr int kAnalysisRate = 11025;
constexpr double kLowest = 150.0;   // Hz; below, a bin spans more than a semitone
constexpr double kHighest = 5000.0; // Hz

// An in-place radix-2 FFT of a power-of-two number of points.
void Fft(std::vector<std::complex<float>>& data) {
    const size_t n = data.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(data[i], data[j]);
    }
    for (size_t length = 2; length <= n; length <<= 1) {
        const double angle = -2 * std::numbers::pi / double(length);
        const std::complex<float> step(float(std::cos(angle)), float(std::sin(angle)));
        for (size_t first = 0; first < n; first += length) {
            std::complex<float> twiddle(1.0f, 0.0f);
            for (size_t k = 0; k < length / 2; ++k) {
                const std::complex<float> odd = data[first + k + length / 2] * twiddle;
                data[first + k + length / 2] = data[first + k] - odd;
                data[first + k] += odd;
                twiddle *= step;
            }
        }
    }
}
} // namespace

CChromaAnalyzer::CChromaAnalyzer(const WAVEFORMATEX& format, int64_t segmentMs)
    : m_channels(std::max<int>(1, format.nChannels)),
      m_decimation(std::max<int>(1, int(format.nSamplesPerSec / kAnalysisRate))),
      m_segmentFrames(std::max<int64_t>(1, int64_t(format.nSamplesPerSec) * segmentMs / 1000)),
      m_window(kFftSize), m_pitchClass(kFftSize / 2, -1), m_spectrum(kFftSize) {
    m_frame.reserve(kFftSize);
    for (int i = 0; i < kFftSize; ++i)
        m_window[size_t(i)] = float(0.5 - 0.5 * std::cos(2 * std::numbers::pi * i / kFftSize));
    const double rate = double(format.nSamplesPerSec) / m_decimation;
    for (int bin = 1; bin < kFftSize / 2; ++bin) {
        const double frequency = bin * rate / kFftSize;
        if (frequency < kLowest || frequency > kHighest)
            continue;
        const long semitone = std::lround(12 * std::log2(frequency / 440.0));
        m_pitchClass[size_t(bin)] = int8_t(((semitone % 12) + 12) % 12);
    }
}

void CChromaAnalyzer::add(const uint8_t* pcm, uint32_t bytes) {
    const uint32_t frameBytes = uint32_t(2 * m_channels);
    const uint32_t frames = bytes / frameBytes;
    for (uint32_t i = 0; i < frames; ++i) {
        const uint8_t* frame = pcm + size_t(i) * frameBytes;
        float mono = qFromLittleEndian<int16_t>(frame);
        if (m_channels == 2)
            mono = (mono + qFromLittleEndian<int16_t>(frame + 2)) * 0.5f;
        m_sum += mono;
        if (++m_summed == m_decimation) {
            addSample(m_sum / float(m_decimation * 32768));
            m_sum = 0;
            m_summed = 0;
        }
        if (++m_frameInSegment == m_segmentFrames)
            closeSegment();
    }
}

void CChromaAnalyzer::addSample(float sample) {
    m_frame.push_back(sample);
    if (m_frame.size() == size_t(kFftSize))
        transformFrame();
}

void CChromaAnalyzer::transformFrame() {
    for (size_t i = 0; i < m_frame.size(); ++i)
        m_spectrum[i] = {m_frame[i] * m_window[i], 0.0f};
    m_frame.clear();
    Fft(m_spectrum);
    for (size_t bin = 1; bin < m_pitchClass.size(); ++bin) {
        if (m_pitchClass[bin] >= 0)
            m_current[size_t(m_pitchClass[bin])] += std::abs(m_spectrum[bin]);
    }
}

void CChromaAnalyzer::closeSegment() {
    float length = 0;
    for (const float value : m_current)
        length += value * value;
    length = std::sqrt(length);
    for (float& value : m_current)
        value = length > 1e-6f ? value / length : 0.0f;
    m_segments.push_back(m_current);
    m_current = {};
    m_frame.clear();
    m_frameInSegment = 0;
}

std::vector<CChromaAnalyzer::Chroma> CChromaAnalyzer::finish() {
    if (m_frameInSegment > 0)
        closeSegment();
    return std::move(m_segments);
}
