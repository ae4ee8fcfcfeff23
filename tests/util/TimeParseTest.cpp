// Times typed by a person: plain milliseconds or clock forms.
#include "util/TimeParse.h"

#include <gtest/gtest.h>

TEST(TimeParse, AcceptsMillisecondsAndClockFormsAndRefusesAnythingElse) {
    const std::pair<const char*, qint64> good[] = {
        {"0", 0},
        {"15000", 15000},
        {"0:05", 5000},
        {"1:05", 65000},
        {"10:00.5", 600500},
        {"10:00.05", 600050},
        {"0:00.123", 123},
        {"01:02:03.5", 3723500},
        {"90:00", 5400000}, // minutes may run past 59 when no hours are given
    };
    for (const auto& [text, expected] : good) {
        qint64 ms = -1;
        EXPECT_TRUE(ParseMilliseconds(text, ms)) << text;
        EXPECT_EQ(ms, expected) << text;
    }
    // Anything else is refused and leaves the value.
    for (const char* text :
         {"", "-5", "1:60", "1:75:00", "abc", "1.5", "1:2:3:4", "0:05.1234", " 5", "5s", ":30"}) {
        qint64 ms = 42;
        EXPECT_FALSE(ParseMilliseconds(text, ms)) << text;
        EXPECT_EQ(ms, 42) << text;
    }
}
