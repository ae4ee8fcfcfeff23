// Tests of the date, time and duration text forms and of the local-time conversion.
#include "util/DateTimeText.h"
#include "util/Clock.h"

#include <QDateTime>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {
DateTimeValue Time(int hour, int minute, int second, int millisecond = 0) {
    DateTimeValue t;
    t.hour = hour;
    t.minute = minute;
    t.second = second;
    t.millisecond = millisecond;
    return t;
}
} // namespace

TEST(DateTimeTextTest, CalendarAndClockForms) {
    const DateTimeValue t{2008, 11, 6, 5, 1, 9, 42};
    EXPECT_EQ(FormatDateSlashes(t), u"06/11/2008 "_s);
    EXPECT_EQ(FormatDateDots(t), u"06.11.2008 "_s);
    EXPECT_EQ(FormatTimeMs(t), u"05:01:09.042"_s);
    EXPECT_EQ(FormatTime(t), u"05:01:09"_s);
    EXPECT_EQ(FormatFileNameStamp(t), u"06_11_2008-05_01_09"_s);
    // Hours and minutes round up above thirty seconds.
    EXPECT_EQ(FormatHoursMinutes(Time(10, 15, 31)), u"10:16"_s);
    EXPECT_EQ(FormatHoursMinutes(Time(10, 15, 30, 999)), u"10:15"_s);
    EXPECT_EQ(FormatHoursMinutes(Time(10, 59, 45)), u"11:00"_s);
}

TEST(DateTimeTextTest, DurationsWithTenthsOrInMinutesAndOverADay) {
    EXPECT_EQ(FormatDurationTenths(Time(0, 2, 5, 987)), u"02:05:9"_s);
    EXPECT_EQ(FormatDurationTenths(Time(1, 2, 5, 50)), u"01:02:05.0"_s);
    EXPECT_EQ(FormatDurationTenths(Time(12, 30, 7, 300)), u"12:30:07.3"_s);

    EXPECT_EQ(FormatDurationMinutes(Time(0, 2, 5)), u"2:05"_s);
    EXPECT_EQ(FormatDurationMinutes(Time(1, 2, 3)), u"62:03"_s);
    EXPECT_EQ(FormatDurationMinutes(DurationFromMs(86399999)), u"1439:59"_s);
    EXPECT_EQ(FormatDurationMinutes(DurationFromMs(86400000)), u"> 24h"_s);
    EXPECT_EQ(FormatDurationMinutes(DurationFromMs(-5)), u"0:00"_s);
    DateTimeValue withMonth = Time(0, 1, 0);
    withMonth.month = 1;
    EXPECT_EQ(FormatDurationMinutes(withMonth), u"> 24h"_s);
    DateTimeValue withYear = Time(0, 1, 0);
    withYear.year = 1;
    EXPECT_EQ(FormatDurationMinutes(withYear), u"> 24h"_s);

    const DateTimeValue d = DurationFromMs(2LL * 86400000 + 3 * 3600000 + 4 * 60000 + 5006);
    EXPECT_EQ(d, (DateTimeValue{0, 0, 2, 3, 4, 5, 6}));
}

TEST(DateTimeTextTest, LocalTimeAgreesWithQtIncludingBefore1970) {
    for (const qint64 ms : {qint64(0), qint64(-1), qint64(-1001), qint64(1227708679042),
                            qint64(1711846799999), GetCurrentTimeMs()}) {
        const QDateTime qt = QDateTime::fromMSecsSinceEpoch(ms).toLocalTime();
        const DateTimeValue ours = LocalTimeFromMs(ms);
        const DateTimeValue expected{qt.date().year(), qt.date().month(),  qt.date().day(),
                                     qt.time().hour(), qt.time().minute(), qt.time().second(),
                                     qt.time().msec()};
        EXPECT_EQ(ours, expected) << ms;
    }
}
