// The visualization file of a whole WAV file, and the peak that gives the normalization gain.
#pragma once

#include "app/UserText.h"

#include <QString>
#include <cstdint>

class CWavReader;
class IOpProgress;

// Writes the visualization file base + ".dat" from reader (16-bit PCM at the start of its data)
// and finds the peak. An OpResult 0, 1 or 2 (errorText tells why when known); the file is removed
// unless 0.
int createDatFile(CWavReader& reader, const QString& base, IOpProgress& progress, int& peak,
                  UserText& errorText);

// The largest absolute sample value of a block of 16-bit PCM (32768 for -32768).
int blockPeak(const void* data, uint32_t bytes);
