// Tests of the date, time and duration text forms and of the local-time conversion.
#include "util/DateTimeText.h"
#include "util/Clock.h"

#include <QDateTime>
#include <gtest/gtest.h>

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

TEST(DateTimeTextTest, CalendarForms) {
    const DateTimeValue t{2008, 11, 6, 5, 1, 9, 42};
    EXPECT_EQ(FormatDateSlashes(t), QStringLiteral("06/11/2008 "));
    EXPECT_EQ(FormatDateDots(t), QStringLiteral("06.11.2008 "));
    EXPECT_EQ(FormatTimeMs(t), QStringLiteral("05:01:09.042"));
    EXPECT_EQ(FormatTime(t), QStringLiteral("05:01:09"));
    EXPECT_EQ(FormatFileNameStamp(t), QStringLiteral("06_11_2008-05_01_09"));
}

TEST(DateTimeTextTest, HoursAndMinutesRoundUpAboveThirtySeconds) {
    EXPECT_EQ(FormatHoursMinutes(Time(10, 15, 31)), QStringLiteral("10:16"));
    EXPECT_EQ(FormatHoursMinutes(Time(10, 15, 30, 999)), QStringLiteral("10:15"));
    EXPECT_EQ(FormatHoursMinutes(Time(9, 5, 0)), QStringLiteral("09:05"));
    EXPECT_EQ(FormatHoursMinutes(Time(10, 59, 45)), QStringLiteral("11:00"));
}

TEST(DateTimeTextTest, DurationWithTenthsBelowAndFromOneHour) {
    EXPECT_EQ(FormatDurationTenths(Time(0, 2, 5, 987)), QStringLiteral("02:05:9"));
    EXPECT_EQ(FormatDurationTenths(Time(0, 0, 0, 99)), QStringLiteral("00:00:0"));
    EXPECT_EQ(FormatDurationTenths(Time(1, 2, 5, 50)), QStringLiteral("01:02:05.0"));
    EXPECT_EQ(FormatDurationTenths(Time(12, 30, 7, 300)), QStringLiteral("12:30:07.3"));
}

TEST(DateTimeTextTest, DurationInMinutesAndOverADay) {
    EXPECT_EQ(FormatDurationMinutes(Time(0, 2, 5)), QStringLiteral("2:05"));
    EXPECT_EQ(FormatDurationMinutes(Time(1, 2, 3)), QStringLiteral("62:03"));
    EXPECT_EQ(FormatDurationMinutes(DurationFromMs(125000)), QStringLiteral("2:05"));
    EXPECT_EQ(FormatDurationMinutes(DurationFromMs(86399999)), QStringLiteral("1439:59"));
    EXPECT_EQ(FormatDurationMinutes(DurationFromMs(86400000)), QStringLiteral("> 24h"));
    EXPECT_EQ(FormatDurationMinutes(DurationFromMs(-5)), QStringLiteral("0:00"));
    DateTimeValue withMonth = Time(0, 1, 0);
    withMonth.month = 1;
    EXPECT_EQ(FormatDurationMinutes(withMonth), QStringLiteral("> 24h"));
    DateTimeValue withYear = Time(0, 1, 0);
    withYear.year = 1;
    EXPECT_EQ(FormatDurationMinutes(withYear), QStringLiteral("> 24h"));

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
