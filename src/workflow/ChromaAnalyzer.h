// Chroma (the energy of the twelve pitch classes) of 16-bit PCM, one vector per time segment.
#pragma once

#include "util/WinTypes.h"

#include <array>
#include <complex>
#include <cstdint>
#include <vector>

// Takes the work WAV block by block: the channels are mixed to mono and averaged down to about
// 11 kHz, cut into 1024-sample Hann-windowed frames whose spectra (150 Hz to 5 kHz) are folded
// onto the pitch classes and summed per segment. Segment k covers the input frames from
// k * segmentMs to (k + 1) * segmentMs; the last partial frame of a segment is dropped.
class CChromaAnalyzer {
public:
    using Chroma = std::array<float, 12>;
    static constexpr int kFftSize = 1024;

    CChromaAnalyzer(const WAVEFORMATEX& format, int64_t segmentMs);

    // Adds the whole frames of bytes of interleaved 16-bit little-endian PCM.
    void add(const uint8_t* pcm, uint32_t bytes);
    // Closes the last segment and gives all of them, each scaled to length 1 (0 when silent).
    std::vector<Chroma> finish();

private:
    void addSample(float sample);
    void transformFrame();
    void closeSegment();

    int m_channels;
    int m_decimation;        // input frames averaged into one sample
    int64_t m_segmentFrames; // input frames per segment
    int64_t m_frameInSegment = 0;
    float m_sum = 0; // of the samples being averaged
    int m_summed = 0;
    std::vector<float> m_frame;       // the analysis frame being filled
    std::vector<float> m_window;      // Hann
    std::vector<int8_t> m_pitchClass; // of each spectrum bin; -1 outside the range
    std::vector<std::complex<float>> m_spectrum;
    Chroma m_current{};
    std::vector<Chroma> m_segments;
};
