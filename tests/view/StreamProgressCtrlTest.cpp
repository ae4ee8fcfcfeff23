// Tests of the waveform view's time model and position logic: conversions, zoom, scroll, panning.
#include "view/StreamProgressCtrl.h"

#include "app/ConfigFile.h"
#include "support/CutTestSupport.h"
#include "support/TraceCapture.h"

#include <gtest/gtest.h>

#include <random>

using namespace Qt::StringLiterals;

namespace {
struct Range {
    qint64 begin, end;
    bool operator==(const Range&) const = default;
};

// A control and its model on the program's default settings (a store that never touches
// config.ini), the time rectangle on rows 20..178.
class StreamProgressCtrlTest : public ::testing::Test {
protected:
    // Stream [0, length] with [begin, begin + span] visible on columns x0..x1.
    void show(qint32 length, qint64 begin, qint32 span, int x0 = 0, int x1 = 1000) {
        m.setSaved(span, true);
        m.setSaved(length, false);
        m.scroll(begin);
        m.setPixelRect(x0, 20, x1, 178);
    }
    Range visible() const { return {m.visibleBegin(), m.visibleEnd()}; }

    ConfigFile config{false};
    CStreamProgressCtrl c{config};
    CStreamProgressCtrlBase& m = c.model();
};
} // namespace

TEST_F(StreamProgressCtrlTest, ConversionsAndZoomHoldOverRandomRangesAndRectangles) {
    std::mt19937 random(12);
    const auto draw = [&random](qint64 low, qint64 high) {
        return std::uniform_int_distribution<qint64>(low, high)(random);
    };
    for (int round = 0; round < 2000; ++round) {
        const qint32 length = qint32(draw(2, 3600000)), span = qint32(draw(2, length));
        const qint64 begin = draw(0, length - span);
        const int x0 = int(draw(-50, 500)), x1 = x0 + int(draw(1, 3000));
        show(length, begin, span, x0, x1);
        ASSERT_EQ(visible(), (Range{begin, begin + span}));
        SCOPED_TRACE(QString::asprintf("length %d span %d begin %lld columns %d..%d", length, span,
                                       static_cast<long long>(begin), x0, x1)
                         .toStdString());
        // time -> column -> time lands within one column's span of the time.
        for (int i = 0; i < 50; ++i) {
            const qint64 t = draw(begin, begin + span - 1);
            const int x = m.timeToPixel(t, true);
            ASSERT_TRUE(x >= x0 && x <= x1) << x;
            ASSERT_LE(std::abs(double(m.pixelToTime(x) - t)), double(span) / (x1 - x0) + 1) << t;
        }
        // pixelToTime never runs backwards and stays inside the stream.
        qint64 last = 0;
        for (int x = x0 - 3; x <= x1 + 3; x += 1 + (x1 - x0) / 500) {
            const qint64 t = m.pixelToTime(x);
            ASSERT_TRUE(t >= last && t < length) << x;
            last = t;
        }
        // Zooming in at the centre of a span divisible by 4, then out, gives the range back.
        const qint64 quarter = draw(3000, 200000);
        show(3000000, 1000000, qint32(4 * quarter), x0, x1);
        m.zoomIn(1000000 + 2 * quarter);
        ASSERT_EQ(visible(), (Range{1000000 + quarter, 1000000 + 3 * quarter}));
        EXPECT_TRUE(m.zoomOut(0));
        ASSERT_EQ(visible(), (Range{1000000, 1000000 + 4 * quarter}));
    }
}

TEST_F(StreamProgressCtrlTest, ZoomInStopsNearTheMinimumAndScalesTheLargerSideFromThePosition) {
    EXPECT_EQ(m.minZoomSpan(), 6000);
    show(100000, 10000, 6049);
    EXPECT_FALSE(m.canZoomIn());
    m.zoomIn(12000);
    EXPECT_EQ(visible(), (Range{10000, 16049}));
    show(100000, 10000, 6050);
    m.zoomIn(13000);
    EXPECT_EQ(visible(), (Range{10024, 16024})); // end: 13000 + trunc(3050 / (6050 / 6000))
    // {position, range after one zoom-in of [1000, 21001]}: the new span is 10000.
    const struct {
        qint64 t;
        Range after;
    } cases[] = {{20000, {10500, 20500}}, {2001, {1501, 11501}}, {11000, {6000, 16000}}};
    for (const auto& k : cases) {
        show(100000, 1000, 20001);
        m.zoomIn(k.t);
        EXPECT_EQ(visible(), k.after) << k.t;
    }
    // A position past the stream end leaves a span of 1 ms, which zooming out widens by 10 ms
    // on each side before the stream cuts it.
    config.SetMinZoomSec(1);
    CStreamProgressCtrlBase narrow(config);
    narrow.setSaved(10000, true);
    narrow.zoomIn(19998);
    EXPECT_EQ((Range{narrow.visibleBegin(), narrow.visibleEnd()}), (Range{9999, 10000}));
    EXPECT_TRUE(narrow.zoomOut(9999));
    EXPECT_EQ(narrow.visibleBegin(), 9989);
    EXPECT_TRUE(narrow.zoomAll() && !narrow.zoomAll() && !narrow.isZoomed());
    // Far past the end the range turns over; columns then stay at the left edge.
    narrow.zoomIn(100000);
    EXPECT_EQ((Range{narrow.visibleBegin(), narrow.visibleEnd()}), (Range{50000, 10000}));
    EXPECT_EQ(narrow.timeToPixel(20000, false), 0);
}

TEST_F(StreamProgressCtrlTest, ScrollAndSetSavedKeepTheViewInsideTheStream) {
    show(100000, 0, 20000);
    EXPECT_EQ(m.scrollLeft(25), 0);
    EXPECT_EQ(m.scrollRight(25), 5000);
    EXPECT_EQ(m.scrollLeft(10), -2000);
    EXPECT_EQ(m.scrollLeft(25), -3000);
    EXPECT_EQ(m.scroll(90000), 80000);
    EXPECT_EQ(m.scrollRight(25), 0);
    EXPECT_EQ(m.scroll(-1000), -1000);
    EXPECT_EQ(m.goToBegin(), 79000);
    EXPECT_EQ(visible(), (Range{0, 20000}));

    for (const bool reset : {false, true}) {
        show(100000, 20000, 10000);
        EXPECT_TRUE(m.setSaved(0, reset));
        EXPECT_EQ(visible(), (Range{0, 1}));
        EXPECT_EQ(m.streamEnd(), 1);
    }
    EXPECT_TRUE(m.setSaved(40000, false)); // the first length after empty shows all of it
    EXPECT_EQ(visible(), (Range{0, 40000}));
    // {new length, range after, changed} from [20000, 30000] of 100000.
    const struct {
        qint32 length;
        Range after;
        bool changed;
    } cases[] = {{200000, {20000, 30000}, false},
                 {25000, {20000, 25000}, true},
                 {15000, {5000, 15000}, true}};
    for (const auto& k : cases) {
        show(100000, 20000, 10000);
        EXPECT_EQ(m.setSaved(k.length, false), k.changed) << k.length;
        EXPECT_EQ(visible(), k.after) << k.length;
    }
}

TEST_F(StreamProgressCtrlTest, EdgeColumnsClampAndTheRightColumnGivesTheLastMillisecond) {
    show(60000, 0, 60000, 1100, 100); // given right to left: stored normalised
    EXPECT_EQ(m.pixelRect(), (ViewRect{100, 20, 1100, 178}));
    EXPECT_EQ(m.pixelToTime(1100), 59999);
    EXPECT_EQ(m.pixelToTime(5000), 59999);
    EXPECT_EQ(m.pixelToTime(-50), 0);
    EXPECT_EQ(m.timeToPixel(-5, true), 100);
    EXPECT_EQ(m.timeToPixel(59999, true), 1100);
    EXPECT_EQ(m.timeToPixel(59999, false), 1099);
    EXPECT_EQ(m.timeToPixel(90000, false), 1600);
    EXPECT_EQ(m.clampX(99) + m.clampX(1101), 100 + 1100);
    EXPECT_TRUE(m.contains(1100, 178) && !m.contains(1101, 100));
    m.setPixelRect(7, 0, 7, 10);
    EXPECT_EQ(m.pixelToTime(500), 0); // a rectangle one column wide shows the visible begin
}

TEST_F(StreamProgressCtrlTest, LogarithmicScaleAndItsSettings) {
    ASSERT_TRUE(m.isLogarithmic());
    EXPECT_EQ(m.transformValue(23), 0);
    EXPECT_EQ(m.transformValue(-23), 0);
    EXPECT_NEAR(m.transformValue(24), 1.789, 0.001);
    EXPECT_NEAR(m.transformValue(127), 127.41, 0.01);
    EXPECT_NEAR(m.transformValue(-128), -128.00, 0.01);
    EXPECT_EQ(m.valueOffset(127, 70 / 128.0), 69);
    EXPECT_EQ(m.valueOffset(-128, 70 / 128.0), -70); // -128 lies just beyond full scale
    m.setLogarithmic(false);
    EXPECT_EQ(m.valueOffset(-77, 0.5), -38);
    // Read when the model is built: a minimum zoom below 1 s becomes 6 s; the parameters move
    // the scale; nonsense parameters draw a flat line.
    config.SetMinZoomSec(0);
    config.SetLogViewParam_X0(1000);
    config.SetLogViewParam_X1(11000);
    config.SetLogViewParam_S(2);
    const CStreamProgressCtrlBase custom(config);
    EXPECT_EQ(custom.minZoomSpan(), 6000);
    EXPECT_DOUBLE_EQ(custom.logOffset(), 8.0);
    EXPECT_NEAR(custom.transformValue(127),
                128.0 * std::log10(31512.0 / 10000) / std::log10(31767.0 / 10000), 1e-9);
    config.SetLogViewParam_X1(500);
    EXPECT_EQ(CStreamProgressCtrlBase(config).valueOffset(100, 1.0), 0);
}

TEST_F(StreamProgressCtrlTest, NegativeTimesWriteTheCheckLineAndAreOtherwiseUsedAsGiven) {
    TraceCapture trace(TRACE_ERROR);
    show(100000, 0, 100000);
    m.zoomIn(-7);
    m.zoomOut(-1234567890123);
    EXPECT_TRUE(trace.hasLine("ERR", u"negative time values in 'zoomIn time' : -7 555"_s));
    EXPECT_TRUE(
        trace.hasLine("ERR", u"negative time values in 'zoomOut time' : -1234567890123 555"_s));
    EXPECT_EQ(trace.lines().size(), 2);
    // In: the end scaled from -7 (-7 + 50003), the begin cut at 0; out: 24998 more at the end.
    EXPECT_EQ(visible(), (Range{0, 74994}));
}

TEST_F(StreamProgressCtrlTest, ControlPositionScrollAreasAndPanningDrag) {
    constexpr int left = CStreamProgressCtrl::kScrollLeftPoint;
    constexpr int right = CStreamProgressCtrl::kScrollRightPoint;
    c.setSaved(100000, true);
    c.setRect(100, 20, 1100, 178);
    c.setPositionArea({100, 0, 1100, 19});
    c.setPosition(50000);
    c.zoomIn(); // [25000, 75000] around 50000
    EXPECT_EQ(c.visibleBegin(), 25000);
    EXPECT_EQ(c.getPositionX(), 600);
    c.goToBegin();
    EXPECT_EQ(c.getPositionX(), 1100); // past the visible end: the right column
    // The scroll-left area at the start puts the position at the stream's begin.
    EXPECT_EQ(c.onLButtonDown(left, left), CStreamProgressCtrl::HitScrollLeft);
    EXPECT_EQ(c.getPosition(), 0);
    EXPECT_EQ(c.onLButtonDblClk(right, right), CStreamProgressCtrl::HitScrollRight);
    EXPECT_EQ(c.visibleBegin(), 12500);
    EXPECT_EQ(c.getPosition(), 12500);
    c.scroll(100000);
    c.hitScroll(right, right);
    EXPECT_EQ(c.getPosition(), 99999);

    // The position area moves the position; a press in the time rectangle starts panning, which
    // begins at 11 columns (50 ms each) and shows later times as the pointer moves left.
    c.scroll(-40000); // [10000, 60000]
    EXPECT_EQ(c.onLButtonDown(300, 5), CStreamProgressCtrl::HitPosition);
    EXPECT_EQ(c.getPosition(), 20000);
    EXPECT_EQ(c.onLButtonDown(600, 100), CStreamProgressCtrl::HitPan);
    EXPECT_EQ(c.onMouseMove(590, 100), 0);
    EXPECT_EQ(c.onMouseMove(589, 100), 1);
    EXPECT_EQ(c.visibleBegin(), 10550);
    EXPECT_EQ(c.getPosition(), 20550);
    c.onLButtonUp();
    EXPECT_EQ(c.onMouseMove(100, 100), 0);
    EXPECT_EQ(c.onLButtonDown(50, 100), CStreamProgressCtrl::HitNothing);
}

TEST_F(StreamProgressCtrlTest, EnsureVisibleAndSelectionPixels) {
    // {visible begin before, t, scrolled, visible begin after, position after}, 10 s of 100 s.
    const struct {
        qint64 begin, t;
        bool scrolled;
        qint64 beginAfter, position;
    } cases[] = {{0, 9999, false, 0, 9999},           {0, 15000, true, 9000, 15000},
                 {0, 50000, true, 40000, 49999},      {50000, 1000, true, 1000, 1000},
                 {90000, 95000, false, 90000, 95000}, {90000, 100000, true, 90000, 99999}};
    c.setRect(0, 20, 1000, 178);
    for (const auto& k : cases) {
        show(100000, k.begin, 10000);
        EXPECT_EQ(c.ensureVisible(k.t), k.scrolled) << k.t;
        EXPECT_EQ(c.visibleBegin(), k.beginAfter) << k.t;
        EXPECT_EQ(c.getPosition(), k.position) << k.t;
        EXPECT_EQ(c.getPositionX(), c.timeToPixel(k.position, true));
    }

    EXPECT_FALSE(c.getSelectionPixels());
    CCutInfo cut = testsupport::Cut(20000, 45000);
    c.setSelection(cut);
    show(100000, 0, 100000);
    EXPECT_EQ(c.getSelectionPixels(), (ViewRect{200, 21, 450, 178}));
    show(100000, 40000, 10000);
    EXPECT_EQ(c.getSelectionPixels(), (ViewRect{0, 21, 500, 178}));
    show(100000, 45000, 10000);
    EXPECT_FALSE(c.getSelectionPixels()); // ends where the view begins
    show(100000, 0, 100000, 0, 10);
    cut.setEnd(21000);
    c.setSelection(cut);
    EXPECT_EQ(c.getSelectionPixels(), (ViewRect{2, 21, 3, 178})); // one column at least
}
