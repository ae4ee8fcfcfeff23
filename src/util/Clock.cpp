// The wall clock: milliseconds since 1970, local time, and elapsed-time accounting.
#include "util/Clock.h"

#include <ctime>

qint64 GetCurrentTimeMs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

DateTimeValue GetLocalTimeValue() {
    return LocalTimeFromMs(GetCurrentTimeMs());
}

DateTimeValue LocalTimeFromMs(qint64 msSinceEpoch) {
    // Floor division, so that moments before 1970 keep a millisecond part from 0 to 999.
    qint64 seconds = msSinceEpoch / 1000;
    int millisecond = int(msSinceEpoch % 1000);
    if (millisecond < 0) {
        millisecond += 1000;
        --seconds;
    }
    const time_t t = time_t(seconds);
    tm local{};
    localtime_r(&t, &local);
    DateTimeValue value;
    value.year = local.tm_year + 1900;
    value.month = local.tm_mon + 1;
    value.day = local.tm_mday;
    value.hour = local.tm_hour;
    value.minute = local.tm_min;
    value.second = local.tm_sec;
    value.millisecond = millisecond;
    return value;
}

void AddElapsedTime(qint64& startMs, std::span<qint64> accumulators, int slot) {
    Q_ASSERT(slot >= 0 && size_t(slot) < accumulators.size());
    const qint64 now = GetCurrentTimeMs();
    accumulators[size_t(slot)] += now - startMs;
    startMs = now;
}
