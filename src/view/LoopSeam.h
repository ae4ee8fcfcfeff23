// The loop-seam preview: the end of the ringtone running into its start, as a phone repeats it.
#pragma once

#include "encode/CutInfo.h"

#include <QString>

#include <algorithm>

// Lengths of the two sides of the seam.
class CLoopSeam {
public:
    // Milliseconds taken from each end of the selection.
    static constexpr qint64 kSideMs = 2000;
    // The side length for a selection: kSideMs, or the whole selection when it is shorter.
    static qint64 sideLength(const CCutInfo& cut) { return std::min(kSideMs, cut.length()); }
};

// Writes outFile, a 16-bit PCM WAV of wavFile's format: the last side of cut followed by its first
// side, with the selection's fades and gain (> 0; 0 or less: none) applied as the ringtone gets
// them. Streams in blocks. False when cut is not valid, wavFile is not 16-bit PCM, or reading or
// writing fails (traced); no file is left behind then.
bool MakeLoopSeamWav(const QString& wavFile, const CCutInfo& cut, const QString& outFile,
                     double gain);
