// Tests of the unique local clock and the time-based file names made from it.
#include "util/UniqueClock.h"
#include "app/TracedFiles.h"
#include "support/TraceCapture.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

#include <set>
#include <thread>
#include <tuple>
#include <vector>

using namespace Qt::StringLiterals;

namespace {
using Stamp = std::tuple<int, int, int, int, int, int, int>;
Stamp StampOf(const DateTimeValue& t) {
    return {t.year, t.month, t.day, t.hour, t.minute, t.second, t.millisecond};
}
} // namespace

TEST(UniqueClockTest, TwoThreadsInATightLoopGetDistinctRisingTimes) {
    constexpr int kCalls = 150;
    std::vector<DateTimeValue> first(kCalls), second(kCalls);
    auto run = [](std::vector<DateTimeValue>& out) {
        for (DateTimeValue& value : out)
            value = GetUniqueLocalTime();
    };
    std::thread a(run, std::ref(first));
    std::thread b(run, std::ref(second));
    a.join();
    b.join();

    std::set<Stamp> all;
    for (const auto* sequence : {&first, &second}) {
        for (int i = 0; i < kCalls; ++i) {
            const DateTimeValue& t = (*sequence)[i];
            ASSERT_GE(t.month, 1);
            ASSERT_LE(t.month, 12);
            ASSERT_GE(t.millisecond, 0);
            ASSERT_LE(t.millisecond, 999);
            // Each thread's stamps rise by whole milliseconds, so they are at least 1 ms apart.
            if (i > 0) {
                ASSERT_LT(StampOf((*sequence)[i - 1]), StampOf(t)) << "call " << i;
            }
            all.insert(StampOf(t));
        }
    }
    EXPECT_EQ(all.size(), size_t(2 * kCalls));
}

TEST(UniqueClockTest, FileNamesDifferAndAreTraced) {
    TraceCapture trace(TRACE_DEBUG);
    const QString a = GetUniqueTimeBasedFileName();
    const QString b = GetUniqueTimeBasedFileName();
    EXPECT_NE(a, b);
    const QRegularExpression form(u"^\\d{8}_\\d{6}_\\d{3}$"_s);
    EXPECT_TRUE(form.match(a).hasMatch()) << a.toStdString();
    EXPECT_TRUE(form.match(b).hasMatch()) << b.toStdString();
    EXPECT_TRUE(trace.hasLine("DBG", u"GetUniqueTimeBasedFileName(): "_s + a));
    EXPECT_TRUE(trace.hasLine("DBG", u"GetUniqueTimeBasedFileName(): "_s + b));
}
