#include "platform/axis/QTime.h"

namespace {
constexpr int kDaysPer4Years = 366 + 3 * 365;

// Division rounding toward minus infinity.
qint64 FloorDiv(qint64 a, qint64 b) {
    const qint64 q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}
} // namespace

int CQTime::DaysInYear(int year) {
    return (year % 4 == 0) ? 366 : 365;
}

int CQTime::DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && DaysInYear(year) == 366)
        return 29;
    return kDays[month - 1];
}

CQTime CQTime::FromElapsedSince2000(qint64 elapsed) {
    // Splitting into calendar parts and joining them again gives back the same count: the
    // calendar maps each day count to one date and that date back to the count.
    return CQTime(kMsecs2000 + elapsed);
}

CQTime CQTime::FromParts(const Parts& parts) {
    const qint64 cycles = FloorDiv(parts.year - 2000, 4);
    qint64 days = cycles * kDaysPer4Years;
    for (int year = int(2000 + 4 * cycles); year < parts.year; ++year)
        days += DaysInYear(year);
    for (int month = 1; month < parts.month; ++month)
        days += DaysInMonth(parts.year, month);
    days += parts.day - 1;
    const qint64 time =
        ((qint64(parts.hour) * 60 + parts.minute) * 60 + parts.second) * 1000 + parts.msec;
    return CQTime(kMsecs2000 + days * kMsecsPerDay + time);
}

CQTime::Parts CQTime::GetParts() const {
    Parts parts;
    const qint64 elapsed = ElapsedSince2000();
    const qint64 days = FloorDiv(elapsed, kMsecsPerDay);
    qint64 rest = elapsed - days * kMsecsPerDay;
    parts.hour = int(rest / 3600000);
    rest %= 3600000;
    parts.minute = int(rest / 60000);
    rest %= 60000;
    parts.second = int(rest / 1000);
    parts.msec = int(rest % 1000);
    const qint64 cycles = FloorDiv(days, kDaysPer4Years);
    int left = int(days - cycles * kDaysPer4Years);
    int year = int(2000 + 4 * cycles);
    while (left >= DaysInYear(year))
        left -= DaysInYear(year++);
    int month = 1;
    while (left >= DaysInMonth(year, month))
        left -= DaysInMonth(year, month++);
    parts.year = year;
    parts.month = month;
    parts.day = left + 1;
    return parts;
}
