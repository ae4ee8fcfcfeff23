// The text forms of dates, times and durations that the program shows and writes.
#include "util/DateTimeText.h"

QString FormatDateSlashes(const DateTimeValue& t) {
    return QString::asprintf("%02d/%02d/%04d ", t.day, t.month, t.year);
}

QString FormatDateDots(const DateTimeValue& t) {
    return QString::asprintf("%02d.%02d.%04d ", t.day, t.month, t.year);
}

QString FormatTimeMs(const DateTimeValue& t) {
    return QString::asprintf("%02d:%02d:%02d.%03d", t.hour, t.minute, t.second, t.millisecond);
}

QString FormatTime(const DateTimeValue& t) {
    return QString::asprintf("%02d:%02d:%02d", t.hour, t.minute, t.second);
}

QString FormatHoursMinutes(const DateTimeValue& t) {
    int hour = t.hour;
    int minute = t.minute;
    if (t.second > 30 && ++minute == 60) {
        minute = 0;
        ++hour;
    }
    return QString::asprintf("%02d:%02d", hour, minute);
}

QString FormatDurationTenths(const DateTimeValue& t) {
    const int tenths = t.millisecond / 100;
    if (t.hour == 0)
        return QString::asprintf("%02d:%02d:%d", t.minute, t.second, tenths);
    return QString::asprintf("%02d:%02d:%02d.%d", t.hour, t.minute, t.second, tenths);
}

QString FormatDurationMinutes(const DateTimeValue& t) {
    if (t.year != 0 || t.month != 0 || t.day != 0)
        return QStringLiteral("> 24h");
    return QString::asprintf("%d:%02d", t.hour * 60 + t.minute, t.second);
}

QString FormatFileNameStamp(const DateTimeValue& t) {
    return QString::asprintf("%02d_%02d_%04d-%02d_%02d_%02d", t.day, t.month, t.year, t.hour,
                             t.minute, t.second);
}
