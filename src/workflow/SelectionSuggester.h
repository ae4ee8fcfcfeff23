// Suggests the stretch of an input most worth ringing: its loudest repeated part (the chorus).
#pragma once

#include "encode/CutInfo.h"

#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

class IOpProgress;

// The method, on segments of 500 ms (longer for inputs over about an hour, so that at most
// kMaxSegments are kept whatever the length):
// 1. Loudness: the mean square of the visualization values (one per 10 ms) of each segment.
// 2. Harmony: the chroma of each segment from the work WAV, read once in blocks
//    (CChromaAnalyzer), each vector scaled to length 1.
// 3. Repetition: for every lag of at least a window (6 s, or the ringtone's length when shorter),
//    the cosine similarity of the segments that lie lag apart, averaged over a window along the
//    diagonal of the self-similarity matrix; a window's score is its best match elsewhere.
// 4. Choice: among the windows that repeat (score within 0.1 of the best, when the best is 0.6 or
//    more; otherwise all), the loudest; its start moves back over the segments before it as long
//    as they are about as loud (within 3 dB) and still match the segments before its best
//    repetition, so that it lands where that part (the chorus) begins.
// 5. Alignment: to the strongest rise of the visualization values' energy within a segment of
//    that start, then to the nearest rising zero crossing; fades of 200 ms in and 1 s out.
class CSelectionSuggester {
public:
    static constexpr int64_t kSegmentMs = 500;
    static constexpr size_t kMaxSegments = 8192;
    static constexpr qint32 kFadeIn = 200;
    static constexpr qint32 kFadeOut = 1000;

    // The work WAV and visualization file of an input of duration milliseconds.
    CSelectionSuggester(QString wavFile, QString datFile, int64_t duration);

    // Finds a stretch of length milliseconds (shortened to the input's length) and sets cut to
    // it. An OpResult: 1 cancelled, 2 when the input is too short or cannot be read (traced).
    int suggest(int64_t length, IOpProgress& progress, CCutInfo& cut);

private:
    // The mean square of the visualization values of each segment.
    std::vector<float> segmentEnergies() const;
    // Every window's best mean similarity to a window at least its length away.
    static std::vector<float> repetitionScores(const std::vector<std::array<float, 12>>& chroma,
                                               size_t window);
    // The lag (segments, either way) at which the window at start matches best; 0 for none.
    static ptrdiff_t bestLag(const std::vector<std::array<float, 12>>& chroma, size_t start,
                             size_t window);
    // The time (ms) near t where the energy of the visualization values rises most.
    int64_t onsetNear(int64_t t) const;

    QString m_wavFile;
    QString m_datFile;
    int64_t m_duration;
    int64_t m_segmentMs;
};
