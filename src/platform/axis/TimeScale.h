// Tick marks and labels of a time axis: the step that keeps labels apart, and the label texts.
#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>
#include <vector>

// The three lengths of tick marks.
enum class AxisTickKind { Small, Middle, Big };

// A tick mark at column x.
struct AxisTick {
    int x = 0;
    AxisTickKind kind = AxisTickKind::Small;
    qint64 time = 0;
};

// A label of the big tick at column x: centred on it, or moved inwards to stay within the
// axis columns; left = its first column, width in pixels.
struct AxisLabel {
    int x = 0;
    int left = 0;
    int width = 0;
    QString text;
};

// What one axis draws for one range and width.
struct AxisLayout {
    qint64 step = 0; // milliseconds between labelled (big) ticks
    std::vector<AxisTick> ticks;
    std::vector<AxisLabel> labels;
};

// Chooses the tick steps for a time range mapped onto a column range.
class CTimeScale {
public:
    // Width in pixels of a label text as the axis font draws it.
    using TextWidth = std::function<int(const QString&)>;

    // Ticks and labels of the times [begin, end] (milliseconds) spread over the columns left to
    // right; the finest step of the ladder whose labels stay at least gap pixels apart. Mode 0
    // labels the elapsed time, other modes the time of day since 2000-01-01 00:00.
    static AxisLayout Layout(qint64 begin, qint64 end, int left, int right,
                             const TextWidth& textWidth, int gap, int mode = 0);
    // Label of time t for a step: "m:ss" or, with hours, "h:mm:ss"; steps below a second add
    // as many decimals as the step needs. Mode as in Layout.
    static QString FormatLabel(qint64 t, qint64 step, bool withHours, int mode = 0);
    // Column of time t: left + trunc((t - begin) / (end - begin) * (right - left)).
    static int ColumnOf(qint64 t, qint64 begin, qint64 end, int left, int right);
};
