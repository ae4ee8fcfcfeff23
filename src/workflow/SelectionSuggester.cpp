// Suggests the loudest repeated stretch of an input.
#include "workflow/SelectionSuggester.h"

#include "app/IOpProgress.h"
#include "app/OpResult.h"
#include "app/OxaException.h"
#include "app/Trace.h"
#include "decode/WavReader.h"
#include "decode/ZeroCrossing.h"
#include "encode/DatValues.h"
#include "workflow/ChromaAnalyzer.h"

#include <algorithm>
#include <numeric>

namespace {
constexpr int64_t kReadBlock = 65536;
constexpr int64_t kDatChunkMs = 500000; // visualization values read at a time
constexpr float kRepeats = 0.6f;        // a best match this good means the input repeats
constexpr float kRepeatMargin = 0.1f;   // windows this close to the best match count as repeating
constexpr float kAsLoud = 0.5f;         // 3 dB: a segment this loud belongs to the part after it
constexpr float kSameSegment = 0.8f;    // similarity of a segment to its repetition's
constexpr int64_t kPartMs = 6000;       // windows that find the repeated part (its core)
constexpr float kSilent = 1e-3f;        // of the loudest segment's energy: no harmony to compare
constexpr int64_t kOnsetSpanMs = 200;   // energy compared before and after a possible onset
constexpr float kOnsetRise = 2.0f;      // an onset at least doubles the energy
constexpr int64_t kZeroCrossingReach = 20;

float Dot(const CChromaAnalyzer::Chroma& a, const CChromaAnalyzer::Chroma& b) {
    float sum = 0;
    for (size_t i = 0; i < a.size(); ++i)
        sum += a[i] * b[i];
    return sum;
}

// The mean square of values.
float MeanSquare(const int8_t* values, uint32_t count) {
    float sum = 0;
    for (uint32_t i = 0; i < count; ++i)
        sum += float(values[i]) * float(values[i]);
    return count ? sum / float(count) : 0.0f;
}
} // namespace

CSelectionSuggester::CSelectionSuggester(QString wavFile, QString datFile, int64_t duration)
    : m_wavFile(std::move(wavFile)), m_datFile(std::move(datFile)), m_duration(duration) {
    // Whole 10 ms steps, long enough that the segments stay within kMaxSegments.
    const int64_t needed = (duration + int64_t(kMaxSegments) - 1) / int64_t(kMaxSegments);
    m_segmentMs = std::max(kSegmentMs, (needed + 9) / 10 * 10);
}

std::vector<float> CSelectionSuggester::segmentEnergies() const {
    const size_t count = size_t((m_duration + m_segmentMs - 1) / m_segmentMs);
    std::vector<float> sums(count, 0.0f);
    std::vector<uint32_t> values(count, 0);
    CDatValues dat;
    dat.setSource(m_datFile, m_duration);
    for (int64_t from = 0; from < m_duration; from += kDatChunkMs) {
        uint32_t got = 0;
        const int8_t* chunk = dat.getDatValues(from, std::min(from + kDatChunkMs, m_duration), got);
        for (uint32_t i = 0; i < got; ++i) {
            const size_t segment = size_t((from + int64_t(i) * 10) / m_segmentMs);
            if (segment < count) {
                sums[segment] += float(chunk[i]) * float(chunk[i]);
                ++values[segment];
            }
        }
    }
    for (size_t i = 0; i < count; ++i)
        sums[i] = values[i] ? sums[i] / float(values[i]) : 0.0f;
    return sums;
}

std::vector<float>
CSelectionSuggester::repetitionScores(const std::vector<CChromaAnalyzer::Chroma>& chroma,
                                      size_t window) {
    const size_t n = chroma.size();
    std::vector<float> scores(n - window + 1, 0.0f);
    std::vector<float> diagonal(n);
    for (size_t lag = window; lag + window <= n; ++lag) {
        for (size_t i = 0; i + lag < n; ++i)
            diagonal[i] = Dot(chroma[i], chroma[i + lag]);
        float sum = std::accumulate(diagonal.begin(), diagonal.begin() + ptrdiff_t(window), 0.0f);
        for (size_t i = 0; i + lag + window <= n; ++i) {
            const float mean = sum / float(window);
            scores[i] = std::max(scores[i], mean);
            scores[i + lag] = std::max(scores[i + lag], mean);
            if (i + lag + window < n)
                sum += diagonal[i + window] - diagonal[i];
        }
    }
    return scores;
}

ptrdiff_t CSelectionSuggester::bestLag(const std::vector<CChromaAnalyzer::Chroma>& chroma,
                                       size_t start, size_t window) {
    const ptrdiff_t n = ptrdiff_t(chroma.size());
    ptrdiff_t best = 0;
    float bestScore = -1;
    for (ptrdiff_t lag = -n; lag < n; ++lag) {
        const ptrdiff_t other = ptrdiff_t(start) + lag;
        if (size_t(std::abs(lag)) < window || other < 0 || other + ptrdiff_t(window) > n)
            continue;
        float score = 0;
        for (size_t k = 0; k < window; ++k)
            score += Dot(chroma[start + k], chroma[size_t(other) + k]);
        if (score > bestScore) {
            bestScore = score;
            best = lag;
        }
    }
    return best;
}

int64_t CSelectionSuggester::onsetNear(int64_t t) const {
    CDatValues dat;
    dat.setSource(m_datFile, m_duration);
    const int64_t from = std::max<int64_t>(0, t - m_segmentMs - kOnsetSpanMs);
    uint32_t count = 0;
    const int8_t* values = dat.getDatValues(from, t + m_segmentMs + kOnsetSpanMs, count);
    const uint32_t span = uint32_t(kOnsetSpanMs / 10);
    int64_t best = t;
    float bestRise = kOnsetRise;
    for (uint32_t i = span; i + span <= count; ++i) {
        const int64_t at = from + int64_t(i) * 10;
        if (at < t - m_segmentMs || at > t + m_segmentMs)
            continue;
        const float rise =
            (MeanSquare(values + i, span) + 1) / (MeanSquare(values + i - span, span) + 1);
        if (rise > bestRise) {
            bestRise = rise;
            best = at;
        }
    }
    return best;
}

int CSelectionSuggester::suggest(int64_t length, IOpProgress& progress, CCutInfo& cut) {
    if (m_duration < CCutInfo::kMinLength)
        return OpFailed;
    length = std::clamp<int64_t>(length, CCutInfo::kMinLength,
                                 std::min<int64_t>(CCutInfo::kMaxLength, m_duration));
    std::vector<float> energy = segmentEnergies();
    std::vector<CChromaAnalyzer::Chroma> chroma;
    try {
        CWavReader reader(m_wavFile);
        CChromaAnalyzer analyzer(*reader.getFormat(), m_segmentMs);
        progress.SetRange(uint32_t(std::min<int64_t>(reader.getDataSize(), UINT32_MAX)));
        std::vector<uint8_t> block(kReadBlock);
        int64_t done = 0;
        for (int64_t got = 0; (got = reader.read(block.data(), kReadBlock)) > 0;) {
            if (progress.IsCanceled())
                return OpCancelled;
            analyzer.add(block.data(), uint32_t(got));
            done += got;
            progress.SetPos(uint32_t(std::min<int64_t>(done, UINT32_MAX)));
        }
        chroma = analyzer.finish();
    } catch (const COxaException& e) {
        Trace(TRACE_ERROR, "no suggestion: %s", e.traceMessage());
        return OpFailed;
    }
    chroma.resize(energy.size());
    const float loudest = energy.empty() ? 0.0f : *std::max_element(energy.begin(), energy.end());
    if (loudest <= 0) {
        Trace(TRACE_ERROR, "no suggestion: the visualization values are silent or unreadable");
        return OpFailed;
    }
    for (size_t i = 0; i < energy.size(); ++i) {
        if (energy[i] <= loudest * kSilent)
            chroma[i] = {};
    }

    // The repeated part is found with windows shorter than a chorus, whatever the length asked.
    const size_t window =
        std::clamp<size_t>(size_t(std::min(length, kPartMs) / m_segmentMs), 1, energy.size());
    const std::vector<float> repeats = repetitionScores(chroma, window);
    const float bestRepeat = *std::max_element(repeats.begin(), repeats.end());
    const float threshold = bestRepeat >= kRepeats ? bestRepeat - kRepeatMargin : 0.0f;
    std::vector<float> loudness(repeats.size());
    float sum = std::accumulate(energy.begin(), energy.begin() + ptrdiff_t(window), 0.0f);
    for (size_t i = 0; i < loudness.size(); ++i) {
        loudness[i] = sum / float(window);
        if (i + window < energy.size())
            sum += energy[i + window] - energy[i];
    }
    // The loudest repeating window, preferring those from which the whole ringtone fits.
    const auto fits = [&](size_t i) { return int64_t(i) * m_segmentMs + length <= m_duration; };
    size_t best = 0;
    for (size_t i = 0; i < loudness.size(); ++i) {
        const auto rank = [&](size_t w) { return (repeats[w] >= threshold) * 2 + fits(w); };
        if (rank(i) > rank(best) || (rank(i) == rank(best) && loudness[i] > loudness[best]))
            best = i;
    }
    // Where the part begins: past leading segments that do not match the repetition's (the
    // window may reach into the part before), then back over the segments before that still
    // match and are about as loud.
    const ptrdiff_t lag = bestLag(chroma, best, window);
    const auto matches = [&](size_t segment) {
        const ptrdiff_t other = ptrdiff_t(segment) + lag;
        return lag != 0 && other >= 0 && size_t(other) < chroma.size() &&
               Dot(chroma[segment], chroma[size_t(other)]) >= kSameSegment;
    };
    size_t start = best;
    while (start + 1 < best + window && start + 1 < energy.size() && !matches(start))
        ++start;
    const size_t first = start;
    const size_t reach = size_t(CCutInfo::kMaxLength / m_segmentMs);
    while (start > 0 && first - start < reach && matches(start - 1) &&
           energy[start - 1] >= kAsLoud * loudness[best])
        --start;
    Trace(TRACE_INFO, "suggestion: segment %d of %d ms (repeats %.2f, best %.2f)", int(start),
          int(m_segmentMs), double(repeats[start]), double(bestRepeat));

    int64_t startMs = onsetNear(int64_t(start) * m_segmentMs);
    startMs = FindRisingZeroCrossing(m_wavFile, startMs, kZeroCrossingReach).value_or(startMs);
    startMs = std::clamp<int64_t>(startMs, 0, m_duration - length);
    cut.reset();
    cut.setStart(startMs);
    cut.setEnd(startMs + length);
    cut.setFadeIn(kFadeIn);
    cut.setFadeOut(kFadeOut);
    cut.validate();
    return cut.isValid() ? OpSuccess : OpFailed;
}
