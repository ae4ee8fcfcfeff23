// EBU R128 (ITU-R BS.1770) integrated loudness and true peak of 16-bit PCM, measured block by
// block.
#pragma once

#include "util/WinTypes.h"

#include <QString>
#include <cstdint>
#include <ebur128.h>
#include <vector>

// The loudness and the peaks of what a meter has been given; all -infinity for silence.
struct LoudnessFigures {
    double loudness;   // LUFS
    double truePeak;   // dBTP, the highest of the channels
    double samplePeak; // dBFS, the highest sample of the channels
};

// Takes interleaved 16-bit little-endian PCM of one or two channels in blocks of any size; memory
// does not grow with the input (libebur128 keeps a histogram of the gating blocks).
class CLoudnessMeter {
public:
    // A meter for the channels and sample rate of format; throws std::bad_alloc when libebur128
    // cannot set one up.
    explicit CLoudnessMeter(const WAVEFORMATEX& format);
    ~CLoudnessMeter();
    CLoudnessMeter(const CLoudnessMeter&) = delete;
    CLoudnessMeter& operator=(const CLoudnessMeter&) = delete;

    // Adds the whole frames of byteCount bytes of samples.
    void add(const void* samples, uint32_t byteCount);
    // The integrated loudness and the true peak so far.
    LoudnessFigures figures() const;

private:
    ebur128_state* m_state = nullptr;
    unsigned m_channels;
    std::vector<int16_t> m_frames; // the block in host byte order
};

// The linear gain that brings a measured loudness to target (LUFS) without lifting its true peak
// above ceiling (dBTP) nor clipping a sample: the lowest of the three. 0 (no gain) when the
// measurement found no sound.
double loudnessGain(const LoudnessFigures& measured, double target, double ceiling);
// The highest gain at which no 16-bit sample of what was measured clips (a sample scaled by it
// and cut to an integer stays within full scale); 0 for silence.
double clipFreeGain(const LoudnessFigures& measured);

// The gain to encode with again when a lossy encoding made with gain missed: its loudness more
// than a tenth of an LU away from target while its true peak is not near the ceiling, or its true
// peak within a twentieth of a dB of the ceiling or above. Gain corrected by the difference (aiming
// a tenth of a dB under the ceiling) but never above limit, so that no sample of the input clips;
// 0 when the encoding is good as it is or the limit leaves nothing to correct.
double correctedGain(double gain, const LoudnessFigures& made, double target, double ceiling,
                     double limit);

// Decodes the OGG Vorbis file at path and measures it; false when it cannot be read.
bool measureOggFile(const QString& path, LoudnessFigures& figures);
