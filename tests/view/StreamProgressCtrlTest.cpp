// Tests of the waveform view's time model and position logic: conversions, zoom, scroll, panning.
#include "view/StreamProgressCtrl.h"

#include "app/ConfigFile.h"
#include "support/TraceCapture.h"

#include <gtest/gtest.h>

#include <random>

using namespace Qt::StringLiterals;

namespace {
// Stream [0, length] with [begin, begin + span] visible on columns x0..x1 (rows 20..178).
void Show(CStreamProgressCtrlBase& m, qint32 length, qint64 begin, qint32 span, int x0, int x1) {
    m.setSaved(span, true);
    m.setSaved(length, false);
    m.scroll(begin);
    m.setPixelRect(x0, 20, x1, 178);
}

// The program's default settings in a store that never touches config.ini.
struct DefaultConfig {
    ConfigFile config{false};
};

struct Range {
    qint64 begin, end;
    bool operator==(const Range&) const = default;
};
Range Visible(const CStreamProgressCtrlBase& m) {
    return {m.visibleBegin(), m.visibleEnd()};
}
} // namespace

TEST(StreamProgressCtrlTest, ConversionsHoldOverRandomRangesAndRectangles) {
    DefaultConfig defaults;
    std::mt19937 random(12);
    for (int round = 0; round < 2000; ++round) {
        CStreamProgressCtrlBase m(defaults.config);
        const qint32 length = std::uniform_int_distribution<qint32>(2, 3600000)(random);
        const qint32 span = std::uniform_int_distribution<qint32>(2, length)(random);
        const qint64 begin = std::uniform_int_distribution<qint64>(0, length - span)(random);
        const int x0 = std::uniform_int_distribution<int>(-50, 500)(random);
        const int x1 = x0 + std::uniform_int_distribution<int>(1, 3000)(random);
        Show(m, length, begin, span, x0, x1);
        ASSERT_EQ(Visible(m), (Range{begin, begin + span}));
        SCOPED_TRACE(QString::asprintf("length %d span %d begin %lld columns %d..%d", length, span,
                                       static_cast<long long>(begin), x0, x1)
                         .toStdString());

        // time -> column -> time lands within one column's span of the time.
        const double columnSpan = double(span) / (x1 - x0);
        for (int i = 0; i < 50; ++i) {
            const qint64 t = std::uniform_int_distribution<qint64>(begin, begin + span - 1)(random);
            const int x = m.timeToPixel(t, true);
            ASSERT_GE(x, x0);
            ASSERT_LE(x, x1);
            ASSERT_LE(std::abs(double(m.pixelToTime(x) - t)), columnSpan + 1) << t;
        }
        // pixelToTime never runs backwards and stays inside the stream.
        qint64 last = -1;
        for (int x = x0 - 3; x <= x1 + 3; x += 1 + (x1 - x0) / 500) {
            const qint64 t = m.pixelToTime(x);
            ASSERT_GE(t, last);
            ASSERT_GE(t, 0);
            ASSERT_LT(t, length);
            last = t;
        }
        // Zooming in at the centre of a span divisible by 4, then out, gives the range back.
        const qint64 quarter = std::uniform_int_distribution<qint64>(3000, 200000)(random);
        const qint32 wide = 1000000;
        Show(m, 3 * wide, wide, qint32(4 * quarter), x0, x1);
        const Range before = Visible(m);
        m.zoomIn(wide + 2 * quarter);
        ASSERT_EQ(m.visibleEnd() - m.visibleBegin(), 2 * quarter);
        EXPECT_TRUE(m.zoomOut(0));
        ASSERT_EQ(Visible(m), before);
    }
}

TEST(StreamProgressCtrlTest, ZoomInStopsNearTheMinimumAndScalesBothSidesFromThePosition) {
    DefaultConfig defaults;
    CStreamProgressCtrlBase m(defaults.config);
    EXPECT_EQ(m.minZoomSpan(), 6000);
    Show(m, 100000, 10000, 6049, 0, 1000);
    EXPECT_FALSE(m.canZoomIn());
    m.zoomIn(12000);
    EXPECT_EQ(Visible(m), (Range{10000, 16049}));
    Show(m, 100000, 10000, 6050, 0, 1000);
    m.zoomIn(13000);
    EXPECT_EQ(m.visibleEnd() - m.visibleBegin(), 6000);

    // {position, begin, end after one zoom-in of [1000, 21001]}: the larger side is scaled from
    // the position, the smaller follows from the new span of 10000.
    const struct {
        qint64 t;
        Range after;
    } cases[] = {{20000, {10500, 20500}}, {2001, {1501, 11501}}, {11000, {6000, 16000}}};
    for (const auto& c : cases) {
        Show(m, 100000, 1000, 20001, 0, 1000);
        m.zoomIn(c.t);
        EXPECT_EQ(Visible(m), c.after) << c.t;
    }

    // A zoom at a position past the stream end is cut off by the stream: a span of 1 ms, which
    // zooming out widens by 10 ms on each side before the stream cuts it again.
    ConfigFile oneSecond(false);
    oneSecond.SetMinZoomSec(1);
    CStreamProgressCtrlBase narrow(oneSecond);
    Show(narrow, 10000, 0, 10000, 0, 1000);
    narrow.zoomIn(19998);
    EXPECT_EQ(Visible(narrow), (Range{9999, 10000}));
    EXPECT_TRUE(narrow.zoomOut(9999));
    EXPECT_EQ(Visible(narrow), (Range{9989, 10000}));
    EXPECT_TRUE(narrow.zoomAll());
    EXPECT_FALSE(narrow.zoomAll());
    EXPECT_FALSE(narrow.isZoomed());
}

TEST(StreamProgressCtrlTest, ScrollingStaysInsideTheStreamAndReportsTheShiftMade) {
    DefaultConfig defaults;
    CStreamProgressCtrlBase m(defaults.config);
    Show(m, 100000, 0, 20000, 0, 1000);
    EXPECT_EQ(m.scrollLeft(25), 0);
    EXPECT_EQ(Visible(m), (Range{0, 20000}));
    EXPECT_EQ(m.scrollRight(25), 5000);
    EXPECT_EQ(m.scrollLeft(10), -2000);
    EXPECT_EQ(Visible(m), (Range{3000, 23000}));
    EXPECT_EQ(m.scrollLeft(25), -3000);
    EXPECT_EQ(m.scroll(90000), 80000);
    EXPECT_EQ(Visible(m), (Range{80000, 100000}));
    EXPECT_EQ(m.scrollRight(25), 0);
    EXPECT_EQ(m.scroll(-1000), -1000);
    EXPECT_EQ(m.goToBegin(), 79000);
    EXPECT_EQ(Visible(m), (Range{0, 20000}));
    EXPECT_EQ(m.goToBegin(), 0);
}

TEST(StreamProgressCtrlTest, SetSavedKeepsTheViewSensibleAsTheStreamChanges) {
    DefaultConfig defaults;
    CStreamProgressCtrlBase m(defaults.config);
    for (const bool reset : {false, true}) {
        Show(m, 100000, 20000, 10000, 0, 1000);
        EXPECT_TRUE(m.setSaved(0, reset));
        EXPECT_EQ(Visible(m), (Range{0, 1}));
        EXPECT_EQ(m.streamEnd(), 1);
        EXPECT_EQ(m.savedLength(), 0);
    }
    // The first length after the empty state shows the whole stream.
    EXPECT_TRUE(m.setSaved(40000, false));
    EXPECT_EQ(Visible(m), (Range{0, 40000}));
    // {new length, visible range after} from [20000, 30000] of 100000.
    const struct {
        qint32 length;
        Range after;
        bool changed;
    } cases[] = {{100000, {20000, 30000}, false},
                 {200000, {20000, 30000}, false},
                 {25000, {20000, 25000}, true},
                 {15000, {5000, 15000}, true}};
    for (const auto& c : cases) {
        Show(m, 100000, 20000, 10000, 0, 1000);
        EXPECT_EQ(m.setSaved(c.length, false), c.changed) << c.length;
        EXPECT_EQ(Visible(m), c.after) << c.length;
        EXPECT_EQ(m.streamEnd(), c.length);
    }
    EXPECT_TRUE(m.setSaved(15000, true));
    EXPECT_EQ(Visible(m), (Range{0, 15000}));
}

TEST(StreamProgressCtrlTest, EdgeColumnsClampAndTheRightColumnGivesTheLastMillisecond) {
    DefaultConfig defaults;
    CStreamProgressCtrlBase m(defaults.config);
    Show(m, 60000, 0, 60000, 1100, 100); // given right to left: stored normalised
    EXPECT_EQ(m.pixelRect(), (ViewRect{100, 20, 1100, 178}));
    EXPECT_EQ(m.pixelToTime(1100), 59999);
    EXPECT_EQ(m.pixelToTime(5000), 59999);
    EXPECT_EQ(m.pixelToTime(100), 0);
    EXPECT_EQ(m.pixelToTime(-50), 0);
    EXPECT_EQ(m.timeToPixel(-5, true), 100);
    EXPECT_EQ(m.timeToPixel(59999, true), 1100);
    EXPECT_EQ(m.timeToPixel(59999, false), 1099);
    EXPECT_EQ(m.timeToPixel(90000, false), 1600);
    EXPECT_EQ(m.clampX(99), 100);
    EXPECT_EQ(m.clampX(1101), 1100);
    EXPECT_TRUE(m.contains(1100, 178));
    EXPECT_FALSE(m.contains(1101, 100));
    m.setPixelRect(7, 0, 7, 10);
    EXPECT_EQ(m.pixelToTime(500), 0); // a rectangle one column wide shows the visible begin
}

TEST(StreamProgressCtrlTest, LogarithmicScaleAndItsSettings) {
    DefaultConfig defaults;
    CStreamProgressCtrlBase m(defaults.config);
    ASSERT_TRUE(m.isLogarithmic());
    EXPECT_EQ(m.transformValue(23), 0);
    EXPECT_EQ(m.transformValue(-23), 0);
    EXPECT_NEAR(m.transformValue(24), 1.789, 0.001);
    EXPECT_NEAR(m.transformValue(127), 127.41, 0.01);
    EXPECT_NEAR(m.transformValue(-128), -128.00, 0.01);
    EXPECT_EQ(m.valueOffset(127, 70 / 128.0), 69);
    EXPECT_EQ(m.valueOffset(-128, 70 / 128.0), -70); // -128 lies just beyond full scale
    m.setLogarithmic(false);
    EXPECT_EQ(m.transformValue(-77), -77);
    EXPECT_EQ(m.valueOffset(-77, 0.5), -38);

    // Settings read when the model is built: a minimum zoom below 1 s is repaired to 6 s; the
    // log parameters move the scale's offset and gain; nonsense parameters draw a flat line.
    ConfigFile config(false);
    config.SetMinZoomSec(0);
    config.SetLogViewParam_X0(1000);
    config.SetLogViewParam_X1(11000);
    config.SetLogViewParam_S(2);
    const CStreamProgressCtrlBase custom(config);
    EXPECT_EQ(custom.minZoomSpan(), 6000);
    EXPECT_EQ(config.GetMinZoomSec(), 6);
    EXPECT_DOUBLE_EQ(custom.logOffset(), 8.0);
    EXPECT_NEAR(custom.logGain(), 128 / (2 * std::log10(31767.0) - 8), 1e-9);
    EXPECT_NEAR(custom.transformValue(127),
                128.0 * std::log10(31512.0 / 10000) / std::log10(31767.0 / 10000), 1e-9);
    config.SetLogViewParam_X0(7000);
    config.SetLogViewParam_X1(5000);
    const CStreamProgressCtrlBase broken(config);
    EXPECT_EQ(broken.valueOffset(100, 1.0), 0);
}

TEST(StreamProgressCtrlTest, NegativeTimesWriteTheCheckLineAndAreOtherwiseUsedAsGiven) {
    TraceCapture trace(TRACE_ERROR);
    DefaultConfig defaults;
    CStreamProgressCtrlBase m(defaults.config);
    Show(m, 100000, 0, 100000, 0, 1000);
    m.zoomIn(-7);
    m.zoomOut(-1234567890123);
    EXPECT_TRUE(trace.hasLine("ERR", u"negative time values in 'zoomIn time' : -7 555"_s));
    EXPECT_TRUE(
        trace.hasLine("ERR", u"negative time values in 'zoomOut time' : -1234567890123 555"_s));
    EXPECT_EQ(trace.lines().size(), 2);
    // In: the end scaled from -7 (-7 + 50003), the begin cut at 0; out: 24998 more at the end.
    EXPECT_EQ(Visible(m), (Range{0, 74994}));
}

TEST(StreamProgressCtrlTest, ControlPositionScrollAreasAndPanningDrag) {
    DefaultConfig defaults;
    CStreamProgressCtrl c(defaults.config);
    c.setSaved(100000, true);
    c.setRect(100, 20, 1100, 178);
    c.setPositionArea({100, 0, 1100, 19});
    c.setPosition(50000);
    EXPECT_EQ(c.getPositionX(), 600);

    // The scroll-left area at the start puts the position at the stream's begin.
    c.model().scroll(0);
    c.zoomIn(); // [25000, 75000] around 50000
    EXPECT_EQ(c.visibleBegin(), 25000);
    EXPECT_EQ(c.getPositionX(), 600);
    c.goToBegin();
    EXPECT_EQ(c.getPositionX(), 1100); // past the visible end: the right column
    EXPECT_EQ(c.onLButtonDown(CStreamProgressCtrl::kScrollLeftPoint,
                              CStreamProgressCtrl::kScrollLeftPoint),
              CStreamProgressCtrl::HitScrollLeft);
    EXPECT_EQ(c.getPosition(), 0);
    EXPECT_EQ(c.onLButtonDblClk(CStreamProgressCtrl::kScrollRightPoint,
                                CStreamProgressCtrl::kScrollRightPoint),
              CStreamProgressCtrl::HitScrollRight);
    EXPECT_EQ(c.visibleBegin(), 12500);
    EXPECT_EQ(c.getPosition(), 12500);
    c.scroll(100000);
    c.hitScroll(CStreamProgressCtrl::kScrollRightPoint, CStreamProgressCtrl::kScrollRightPoint);
    EXPECT_EQ(c.getPosition(), 99999);

    // The position area moves the position; a press in the time rectangle starts panning, which
    // begins at 11 columns (50 ms each) and shows later times as the pointer moves left.
    c.scroll(-40000); // [10000, 60000]
    EXPECT_EQ(c.onLButtonDown(300, 5), CStreamProgressCtrl::HitPosition);
    EXPECT_EQ(c.getPosition(), 20000);
    EXPECT_EQ(c.onLButtonDown(600, 100), CStreamProgressCtrl::HitPan);
    EXPECT_EQ(c.onMouseMove(590, 100), 0);
    EXPECT_EQ(c.visibleBegin(), 10000);
    EXPECT_EQ(c.onMouseMove(589, 100), 1);
    EXPECT_EQ(c.visibleBegin(), 10550);
    EXPECT_EQ(c.getPosition(), 20550);
    c.onLButtonUp();
    EXPECT_EQ(c.onMouseMove(100, 100), 0);
    EXPECT_EQ(c.onLButtonDown(50, 100), CStreamProgressCtrl::HitNothing);
}

TEST(StreamProgressCtrlTest, EnsureVisibleScrollsOnlyWhenThePositionLeavesTheView) {
    DefaultConfig defaults;
    CStreamProgressCtrl c(defaults.config);
    c.setRect(0, 20, 1000, 178);
    // {visible begin before, t, scrolled, visible begin after, position after} in [0, 100000]
    // with 10000 visible.
    const struct {
        qint64 begin, t;
        bool scrolled;
        qint64 beginAfter, position;
    } cases[] = {{0, 9999, false, 0, 9999},           {0, 15000, true, 9000, 15000},
                 {0, 50000, true, 40000, 49999},      {50000, 1000, true, 1000, 1000},
                 {90000, 95000, false, 90000, 95000}, {90000, 100000, true, 90000, 99999}};
    for (const auto& k : cases) {
        Show(c.model(), 100000, k.begin, 10000, 0, 1000);
        EXPECT_EQ(c.ensureVisible(k.t), k.scrolled) << k.t;
        EXPECT_EQ(c.visibleBegin(), k.beginAfter) << k.t;
        EXPECT_EQ(c.getPosition(), k.position) << k.t;
        EXPECT_EQ(c.getPositionX(), c.timeToPixel(k.position, true));
    }
}

TEST(StreamProgressCtrlTest, SelectionPixelsCoverItsVisiblePart) {
    DefaultConfig defaults;
    CStreamProgressCtrl c(defaults.config);
    c.setSaved(100000, true);
    c.setRect(0, 20, 1000, 178);
    EXPECT_FALSE(c.getSelectionPixels());
    CCutInfo cut;
    const auto select = [&](qint64 start, qint64 end) {
        cut.setStart(start);
        cut.setEnd(end);
        cut.validate();
        c.setSelection(cut);
    };
    select(20000, 45000);
    ASSERT_TRUE(c.hasSelection());
    EXPECT_EQ(c.getSelectionPixels(), (ViewRect{200, 21, 450, 178}));
    c.model().setSaved(100000, false);
    Show(c.model(), 100000, 40000, 10000, 0, 1000);
    EXPECT_EQ(c.getSelectionPixels(), (ViewRect{0, 21, 500, 178}));
    Show(c.model(), 100000, 45000, 10000, 0, 1000);
    EXPECT_FALSE(c.getSelectionPixels()); // ends where the view begins
    Show(c.model(), 100000, 0, 100000, 0, 10);
    select(20000, 21000);
    EXPECT_EQ(c.getSelectionPixels(), (ViewRect{2, 21, 3, 178})); // one column at least
    c.setEmpty(false);
    EXPECT_FALSE(c.model().isEmpty());
}
