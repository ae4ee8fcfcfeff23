// The wall clock: milliseconds since 1970, local time, and elapsed-time accounting.
#pragma once

#include "util/DateTimeValue.h"

#include <QtGlobal>
#include <span>

// Seconds since 1970-01-01 UTC times 1000 plus the millisecond part.
qint64 GetCurrentTimeMs();
// The local time now, to the millisecond.
DateTimeValue GetLocalTimeValue();
// The local time of a moment given in milliseconds since 1970-01-01 UTC.
DateTimeValue LocalTimeFromMs(qint64 msSinceEpoch);
// Adds the time elapsed since startMs to accumulators[slot] and moves startMs to now.
void AddElapsedTime(qint64& startMs, std::span<qint64> accumulators, int slot = 0);
