// A local calendar time or a duration as seven whole-number fields.
#pragma once

#include <QtGlobal>

// A local calendar time; or a duration, with year and month 0 and day counting whole days
// (0 for anything shorter than 24 hours).
struct DateTimeValue {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;

    friend bool operator==(const DateTimeValue&, const DateTimeValue&) = default;
};

// The duration of a count of milliseconds (a negative count is taken as 0).
constexpr DateTimeValue DurationFromMs(qint64 ms) {
    if (ms < 0)
        ms = 0;
    constexpr qint64 kDayMs = 24 * 3600 * 1000;
    DateTimeValue d;
    d.day = int(ms / kDayMs);
    d.hour = int(ms % kDayMs / 3600000);
    d.minute = int(ms % 3600000 / 60000);
    d.second = int(ms % 60000 / 1000);
    d.millisecond = int(ms % 1000);
    return d;
}
