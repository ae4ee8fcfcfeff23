// EBU R128 (ITU-R BS.1770) integrated loudness and true peak of 16-bit PCM, measured block by block.
#pragma once

#include "util/WinTypes.h"

#include <cstdint>
#include <vector>

struct ebur128_state_s;

// The loudness and the true peak of what a meter has been given; both -infinity for silence.
struct LoudnessFigures {
    double loudness; // LUFS
    double truePeak; // dBTP, the highest of the channels
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
    ebur128_state_s* m_state = nullptr;
    unsigned m_channels;
    std::vector<int16_t> m_frames; // the block in host byte order
};

// The linear gain that brings a measured loudness to target (LUFS) without lifting its true peak
// above ceiling (dBTP): the lower of the two. 0 (no gain) when the measurement found no sound.
double loudnessGain(const LoudnessFigures& measured, double target, double ceiling);
