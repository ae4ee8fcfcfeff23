// Shaping of the ringtone's samples (fades and gain) and the encoder settings it is written with.
#pragma once

#include "encode/CutInfo.h"
#include "encode/EncoderParams.h"
#include "util/WinTypes.h"

#include <cstdint>

// Fades shorter than this many milliseconds are not applied.
constexpr qint64 kShortestFade = 100;

// The fade gain at time t (milliseconds): linear from 0 to 1 over the fade-in, from 1 to 0 over
// the fade-out, 1 elsewhere and for fades under 100 ms.
double fadeFactor(qint64 t, const CCutInfo& cut);

// Scales one block of 16-bit PCM in place by the fade gain of each frame's time, times gain when
// gain > 0. startTime is the time of the first byte of the cut; bytesDone the bytes of the cut
// that came before this block. Results beyond 16 bits are clipped.
void applyFades(void* samples, uint32_t byteCount, qint64 startTime, uint64_t bytesDone,
                const CCutInfo& cut, const WAVEFORMATEX& format, double gain);

// The OGG encoder settings for the configured BitRate and the work WAV's format: below 32 the
// value is a quality (clamped to -1..2), otherwise a nominal bitrate in kbit/s (at most 128).
EncoderParams encoderParamsFromBitRate(int bitRate, const WAVEFORMATEX& format);
