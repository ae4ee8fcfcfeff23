// A point of calendar time as milliseconds since 1970-01-01 00:00 local time, with its date parts.
#pragma once

#include <QtGlobal>

// Days are counted through years of 366 days every fourth year from 2000 and 365 otherwise.
class CQTime {
public:
    static constexpr qint64 kMsecsPerDay = 86400000;
    // 2000-01-01 00:00:00.000, counted from 1970-01-01 00:00.
    static constexpr qint64 kMsecs2000 = 10957 * kMsecsPerDay;

    // The calendar parts of a time.
    struct Parts {
        int year = 2000;
        int month = 1; // 1 to 12
        int day = 1;   // 1 to 31
        int hour = 0;
        int minute = 0;
        int second = 0;
        int msec = 0;
        bool operator==(const Parts&) const = default;
    };

    CQTime() = default;
    explicit CQTime(qint64 msecs) : m_msecs(msecs) {}
    // 2000-01-01 00:00:00.000 plus the given milliseconds.
    static CQTime FromElapsedSince2000(qint64 elapsed);
    // The time of the given calendar parts; parts out of range carry into the next field.
    static CQTime FromParts(const Parts& parts);

    // Milliseconds since 1970-01-01 00:00.
    qint64 GetMsecs() const { return m_msecs; }
    // Milliseconds since 2000-01-01 00:00.
    qint64 ElapsedSince2000() const { return m_msecs - kMsecs2000; }
    // Year, month, day and time of day.
    Parts GetParts() const;
    bool operator==(const CQTime&) const = default;
    auto operator<=>(const CQTime&) const = default;

    // Days in the year by the every-fourth-year rule.
    static int DaysInYear(int year);
    // Days in the month (1 to 12) of the year.
    static int DaysInMonth(int year, int month);

private:
    qint64 m_msecs = kMsecs2000;
};
