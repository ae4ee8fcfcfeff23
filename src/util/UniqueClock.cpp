// A local clock that never hands out the same time twice in one process, and names made from it.
#include "util/UniqueClock.h"

#include "util/Clock.h"

#include <chrono>
#include <mutex>
#include <thread>

namespace {
// The last time the unique clock handed out, and the lock under which it is read, waited on and
// replaced.
struct UniqueClockState {
    std::mutex lock;
    DateTimeValue last;
};
constinit UniqueClockState g_uniqueClock;
} // namespace

DateTimeValue GetUniqueLocalTime() {
    std::lock_guard guard(g_uniqueClock.lock);
    DateTimeValue now = GetLocalTimeValue();
    // The sleep happens under the lock, so concurrent callers queue up behind it.
    while (now == g_uniqueClock.last) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        now = GetLocalTimeValue();
    }
    g_uniqueClock.last = now;
    return now;
}

QString UniqueTimeBasedName() {
    const DateTimeValue t = GetUniqueLocalTime();
    return QString::asprintf("%04d%02d%02d_%02d%02d%02d_%03d", t.year, t.month, t.day, t.hour,
                             t.minute, t.second, t.millisecond);
}
