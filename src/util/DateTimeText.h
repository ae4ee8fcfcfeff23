// The text forms of dates, times and durations that the program shows and writes.
#pragma once

#include "util/DateTimeValue.h"

#include <QString>

// "dd/mm/yyyy " (with one trailing blank).
QString FormatDateSlashes(const DateTimeValue& t);
// "dd.mm.yyyy " (with one trailing blank).
QString FormatDateDots(const DateTimeValue& t);
// "hh:mm:ss.mmm".
QString FormatTimeMs(const DateTimeValue& t);
// "hh:mm:ss".
QString FormatTime(const DateTimeValue& t);
// "hh:mm", the minute rounded up when the second is above 30 (10:15:31 gives "10:16", 10:15:30
// gives "10:15"); a minute rounded up to 60 carries into the hour (10:59:45 gives "11:00").
QString FormatHoursMinutes(const DateTimeValue& t);
// A duration with tenths of a second: "mm:ss:t" under one hour, "hh:mm:ss.t" from one hour on.
QString FormatDurationTenths(const DateTimeValue& t);
// A duration in minutes and seconds, "m:ss" (the minutes count the hours too), or "> 24h" when
// year, month or day is not 0.
QString FormatDurationMinutes(const DateTimeValue& t);
// "dd_mm_yyyy-hh_mm_ss", a stamp that can stand in a file name.
QString FormatFileNameStamp(const DateTimeValue& t);
