// Finds where the work WAV's signal rises through zero near a time, for click-free selection edges.
#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// The millisecond nearest to t (within reach ms, the earlier on a tie) that starts at a rising zero
// crossing of wavFile: the first millisecond whose first frame is at or after a frame with a
// sample >= 0 that follows one < 0. Stereo counts the sum of both channels. Reads only the frames
// around t; 8- and 16-bit PCM, mono or stereo. None when there is no crossing or the file cannot be
// read (the reason goes to the trace log).
std::optional<qint64> FindRisingZeroCrossing(const QString& wavFile, qint64 t, qint64 reach);
