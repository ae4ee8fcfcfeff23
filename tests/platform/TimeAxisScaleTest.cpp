// Tests of the time axis arithmetic: calendar day counting, label texts and label spacing.
#include "platform/axis/AxisMode.h"
#include "platform/axis/QTime.h"
#include "platform/axis/TimeScale.h"

#include <gtest/gtest.h>

#include <random>

using namespace Qt::StringLiterals;

namespace {
constexpr qint64 kDay = CQTime::kMsecsPerDay;
// Labels of a monospaced font, 7 pixels a character.
int SevenPerChar(const QString& text) {
    return int(text.size()) * 7;
}
} // namespace

TEST(TimeAxisScaleTest, DaysCountFromTheYear2000ThroughLeapYears) {
    EXPECT_EQ(CQTime::FromElapsedSince2000(0).GetMsecs(), 946684800000);
    // {days after 2000-01-01, year, month, day}
    const struct {
        qint64 days;
        int year, month, day;
    } cases[] = {{30, 2000, 1, 31},        {31, 2000, 2, 1},       {59, 2000, 2, 29},
                 {60, 2000, 3, 1},         {365, 2000, 12, 31},    {366, 2001, 1, 1},
                 {366 + 58, 2001, 2, 28},  {366 + 59, 2001, 3, 1}, {1461, 2004, 1, 1},
                 {1461 + 59, 2004, 2, 29}, {-1, 1999, 12, 31},     {-366, 1998, 12, 31}};
    for (const auto& c : cases) {
        const CQTime::Parts parts = CQTime::FromElapsedSince2000(c.days * kDay).GetParts();
        EXPECT_EQ((CQTime::Parts{c.year, c.month, c.day, 0, 0, 0, 0}), parts) << c.days;
    }
    const qint64 time = ((13 * 60 + 45) * 60 + 7) * 1000 + 89;
    const CQTime t = CQTime::FromElapsedSince2000(59 * kDay + time);
    EXPECT_EQ(t.GetParts(), (CQTime::Parts{2000, 2, 29, 13, 45, 7, 89}));
    EXPECT_EQ(t.ElapsedSince2000(), 59 * kDay + time);

    std::mt19937_64 random(3);
    for (int i = 0; i < 2000; ++i) {
        const qint64 elapsed =
            std::uniform_int_distribution<qint64>(-40 * 366 * kDay, 90 * 366 * kDay)(random);
        const CQTime::Parts parts = CQTime::FromElapsedSince2000(elapsed).GetParts();
        ASSERT_EQ(CQTime::FromParts(parts).ElapsedSince2000(), elapsed);
        ASSERT_LE(parts.day, CQTime::DaysInMonth(parts.year, parts.month));
    }
}

TEST(TimeAxisScaleTest, LabelsShowElapsedTimeWithTheDigitsTheStepNeeds) {
    const struct {
        qint64 t, step;
        bool hours;
        int mode;
        QString text;
    } cases[] = {
        {0, 1000, false, 0, u"0:00"_s},
        {3540000, 60000, false, 0, u"59:00"_s},
        {65500, 500, false, 0, u"1:05.5"_s},
        {65250, 50, false, 0, u"1:05.25"_s},
        {65007, 1, false, 0, u"1:05.007"_s},
        {3725000, 1000, true, 0, u"1:02:05"_s},
        {36000000 + 120, 20, true, 0, u"10:00:00.12"_s},
        {-1500, 500, false, 0, u"-0:01.5"_s},
        {13 * 3600000 + 5 * 60000, 1000, true, 1, u"13:05:00"_s},
        {kDay + 1200, 200, true, 1, u"00:00:01.2"_s},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CTimeScale::FormatLabel(c.t, c.step, c.hours, c.mode), c.text) << c.t;

    // The process-wide mode starts at 0; the time axis reads it.
    EXPECT_EQ(Axis_GetMode(), 0);
    Axis_SetMode(1);
    EXPECT_EQ(Axis_GetMode(), 1);
    Axis_SetMode(0);
}

TEST(TimeAxisScaleTest, TheFinestStepWhoseLabelsStayApartIsChosen) {
    // {begin, end, right column, step, first label, last label, ticks}
    const struct {
        qint64 begin, end;
        int right;
        qint64 step;
        QString first, last;
        size_t ticks;
    } cases[] = {
        // The first label, moved inwards to column 0, needs a label width and the gap before
        // the next label's centre: 28 + 17 + 14 px for "0:30", more than 30 s give (50 px).
        {0, 600000, 1000, 60000, u"0:00"_s, u"10:00"_s, 61},       // small ticks every 10 s
        {0, 2000, 1000, 200, u"0:00.0"_s, u"0:02.0"_s, 101},       // 20 ms, 10 px apart
        {0, 7200000, 800, 900000, u"0:00:00"_s, u"2:00:00"_s, 25}, // small ticks every 5 min
        {1234, 1240, 600, 2, u"0:01.234"_s, u"0:01.240"_s, 7},
    };
    for (const auto& c : cases) {
        const AxisLayout layout = CTimeScale::Layout(c.begin, c.end, 0, c.right, SevenPerChar, 17);
        EXPECT_EQ(layout.step, c.step) << c.end;
        ASSERT_FALSE(layout.labels.empty());
        EXPECT_EQ(layout.labels.front().text, c.first);
        EXPECT_EQ(layout.labels.back().text, c.last);
        EXPECT_EQ(layout.ticks.size(), c.ticks) << c.end;
    }
    // Edge labels are moved inwards: "10:00" ends at the last column.
    const AxisLayout tenMinutes = CTimeScale::Layout(0, 600000, 0, 1000, SevenPerChar, 17);
    EXPECT_EQ(tenMinutes.labels.back().left, 966);
    EXPECT_EQ(tenMinutes.labels.front().left, 0);
    EXPECT_EQ(tenMinutes.ticks[2].kind, AxisTickKind::Small);
    EXPECT_EQ(tenMinutes.ticks[3].kind, AxisTickKind::Middle); // 30 s
    EXPECT_EQ(tenMinutes.ticks[6].x, 100);                     // 1 min, big
    // Away from the edges 30 s fit: 50 px apart, 22 px between two 28 px labels.
    EXPECT_EQ(CTimeScale::Layout(100000, 400000, 0, 500, SevenPerChar, 17).step, 30000);
    EXPECT_TRUE(CTimeScale::Layout(5, 5, 0, 100, SevenPerChar, 17).ticks.empty());
}

TEST(TimeAxisScaleTest, LabelsNeverOverlapOverRandomRangesAndWidths) {
    std::mt19937_64 random(8);
    for (int round = 0; round < 3000; ++round) {
        const qint64 begin = std::uniform_int_distribution<qint64>(0, 4 * 3600000)(random);
        const qint64 span = std::uniform_int_distribution<qint64>(2, 5 * 3600000)(random);
        const int left = std::uniform_int_distribution<int>(0, 100)(random);
        const int right = left + std::uniform_int_distribution<int>(30, 3000)(random);
        const int gap = std::uniform_int_distribution<int>(0, 30)(random);
        const AxisLayout layout =
            CTimeScale::Layout(begin, begin + span, left, right, SevenPerChar, gap);
        SCOPED_TRACE(QString::asprintf("%lld + %lld on %d..%d gap %d", (long long)begin,
                                       (long long)span, left, right, gap)
                         .toStdString());
        ASSERT_GT(layout.step, 0);
        for (size_t i = 1; i < layout.labels.size(); ++i) {
            const AxisLabel& a = layout.labels[i - 1];
            ASSERT_GE(layout.labels[i].left - (a.left + a.width), gap) << a.text.toStdString();
        }
        // Every big tick has its label, inside the columns where it is narrower than they are.
        size_t labelled = 0;
        for (size_t i = 0; i < layout.ticks.size(); ++i) {
            const AxisTick& tick = layout.ticks[i];
            ASSERT_GE(tick.x, left);
            ASSERT_LE(tick.x, right);
            ASSERT_EQ(tick.kind == AxisTickKind::Big, tick.time % layout.step == 0);
            if (i > 0)
                ASSERT_GE(tick.x, layout.ticks[i - 1].x);
            if (tick.kind != AxisTickKind::Big)
                continue;
            ASSERT_LT(labelled, layout.labels.size());
            const AxisLabel& label = layout.labels[labelled++];
            ASSERT_EQ(label.x, tick.x);
            ASSERT_GE(label.left, left);
            if (label.width <= right + 1 - left)
                ASSERT_LE(label.left + label.width, right + 1);
        }
        ASSERT_EQ(labelled, layout.labels.size());
    }
}
