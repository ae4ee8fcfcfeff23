#include "platform/axis/TimeScale.h"

#include "platform/axis/QTime.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
// A step of the ladder: labelled step, small and middle tick steps (0: none).
struct Rung {
    qint64 step;
    qint64 small;
    qint64 middle;
};

constexpr qint64 kSecond = 1000;
constexpr qint64 kMinute = 60 * kSecond;
constexpr qint64 kHour = 60 * kMinute;

constexpr Rung kLadder[] = {
    {1, 0, 0},
    {2, 1, 0},
    {5, 1, 0},
    {10, 1, 5},
    {20, 2, 10},
    {50, 10, 0},
    {100, 10, 50},
    {200, 20, 100},
    {500, 100, 0},
    {kSecond, 100, 500},
    {2 * kSecond, 200, kSecond},
    {5 * kSecond, kSecond, 0},
    {10 * kSecond, kSecond, 5 * kSecond},
    {15 * kSecond, 5 * kSecond, 0},
    {30 * kSecond, 5 * kSecond, 15 * kSecond},
    {kMinute, 10 * kSecond, 30 * kSecond},
    {2 * kMinute, 20 * kSecond, kMinute},
    {5 * kMinute, kMinute, 0},
    {10 * kMinute, kMinute, 5 * kMinute},
    {15 * kMinute, 5 * kMinute, 0},
    {30 * kMinute, 5 * kMinute, 15 * kMinute},
    {kHour, 10 * kMinute, 30 * kMinute},
    {2 * kHour, 20 * kMinute, kHour},
    {3 * kHour, kHour, 0},
    {6 * kHour, kHour, 3 * kHour},
    {12 * kHour, kHour, 6 * kHour},
    {24 * kHour, 3 * kHour, 12 * kHour},
};

// Tick steps closer than this many pixels are left out.
constexpr double kMinTickSpacing = 2.0;

// The first multiple of step at or after t.
qint64 FirstMultiple(qint64 t, qint64 step) {
    const qint64 q = t / step;
    const qint64 m = q * step;
    return m < t ? m + step : m;
}

// The rung after the ladder's end: the previous one doubled.
Rung Next(const Rung& rung) {
    return {rung.step * 2, rung.step / 4, rung.step};
}

// Labels of one rung over the range; false as soon as two come closer than gap.
bool LabelsFit(const Rung& rung, qint64 begin, qint64 end, int left, int right,
               const CTimeScale::TextWidth& textWidth, int gap, bool withHours, int mode,
               std::vector<AxisLabel>& labels) {
    labels.clear();
    for (qint64 t = FirstMultiple(begin, rung.step); t <= end; t += rung.step) {
        AxisLabel label;
        label.text = CTimeScale::FormatLabel(t, rung.step, withHours, mode);
        label.width = textWidth(label.text);
        label.x = CTimeScale::ColumnOf(t, begin, end, left, right);
        // Centred on its tick, but moved inwards where it would stick out of the columns.
        label.left = std::max(left, std::min(label.x - label.width / 2, right + 1 - label.width));
        if (!labels.empty()) {
            const AxisLabel& before = labels.back();
            if (label.left - (before.left + before.width) < gap)
                return false;
        }
        labels.push_back(std::move(label));
    }
    return true;
}
} // namespace

int CTimeScale::ColumnOf(qint64 t, qint64 begin, qint64 end, int left, int right) {
    if (end == begin)
        return left;
    return left + int(std::trunc(double(t - begin) / double(end - begin) * double(right - left)));
}

QString CTimeScale::FormatLabel(qint64 t, qint64 step, bool withHours, int mode) {
    QString text;
    int hours, minutes, seconds, msec;
    if (mode != 0) {
        const CQTime::Parts parts = CQTime::FromElapsedSince2000(t).GetParts();
        hours = parts.hour;
        minutes = parts.minute;
        seconds = parts.second;
        msec = parts.msec;
        text = QString::asprintf("%02d:%02d:%02d", hours, minutes, seconds);
    } else {
        if (t < 0)
            text = QStringLiteral("-");
        const qint64 a = std::abs(t);
        hours = int(a / kHour);
        minutes = int(withHours ? a / kMinute % 60 : a / kMinute);
        seconds = int(a / kSecond % 60);
        msec = int(a % kSecond);
        text += withHours ? QString::asprintf("%d:%02d:%02d", hours, minutes, seconds)
                          : QString::asprintf("%d:%02d", minutes, seconds);
    }
    if (step % kSecond != 0) {
        const int digits = step % 100 == 0 ? 1 : step % 10 == 0 ? 2 : 3;
        const int divisor = digits == 1 ? 100 : digits == 2 ? 10 : 1;
        text += QString::asprintf(".%0*d", digits, msec / divisor);
    }
    return text;
}

AxisLayout CTimeScale::Layout(qint64 begin, qint64 end, int left, int right,
                              const TextWidth& textWidth, int gap, int mode) {
    AxisLayout layout;
    if (end <= begin || right <= left)
        return layout;
    const double pixelsPerMs = double(right - left) / double(end - begin);
    const bool withHours = end >= kHour;
    // A label needs at least a few columns: steps closer than that are not even measured.
    const double least = std::max(gap, 4);
    Rung rung = kLadder[0];
    for (size_t i = 0;; ++i) {
        rung = i < std::size(kLadder) ? kLadder[i] : Next(rung);
        if (rung.step * pixelsPerMs < least && rung.step <= end - begin)
            continue;
        // A step longer than the range has at most one label, which always fits.
        if (LabelsFit(rung, begin, end, left, right, textWidth, gap, withHours, mode,
                      layout.labels))
            break;
    }
    layout.step = rung.step;

    // Ticks at the finest step that is not too dense; each takes the class of its coarsest step.
    qint64 tickStep = rung.step;
    if (rung.middle != 0 && rung.middle * pixelsPerMs >= kMinTickSpacing)
        tickStep = rung.middle;
    if (rung.small != 0 && rung.small * pixelsPerMs >= kMinTickSpacing)
        tickStep = rung.small;
    for (qint64 t = FirstMultiple(begin, tickStep); t <= end; t += tickStep) {
        AxisTickKind kind = AxisTickKind::Small;
        if (t % rung.step == 0)
            kind = AxisTickKind::Big;
        else if (rung.middle != 0 && t % rung.middle == 0)
            kind = AxisTickKind::Middle;
        layout.ticks.push_back({ColumnOf(t, begin, end, left, right), kind, t});
    }
    return layout;
}
