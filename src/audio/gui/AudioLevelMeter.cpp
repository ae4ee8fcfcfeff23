// One vertical level meter.
#include "audio/gui/AudioLevelMeter.h"

#include <QPainter>

#include <algorithm>
#include <chrono>

namespace {
const QColor kBackground(0, 0, 0);
const QColor kFrameOuter(64, 0, 0);
const QColor kFrameInner(96, 0, 0);
const QColor kGreen(0, 196, 0);
const QColor kYellow(196, 196, 0);
const QColor kRed(196, 0, 0);
const QColor kClipOff(48, 16, 16);
const QColor kClipOn(255, 40, 40);
constexpr int kClipHeight = 7;
constexpr int kGap = 3;

int64_t SteadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
} // namespace

CAudioLevelMeter::CAudioLevelMeter(QWidget* parent) : QWidget(parent), m_clock(&SteadyMs) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
}

void CAudioLevelMeter::SetRange(double floorDb, double topDb) {
    m_state.SetRange(floorDb, topDb);
    update();
}

void CAudioLevelMeter::SetLevel(int amplitude, double share) {
    m_state.SetLevel(amplitude, m_clock(), share);
    update();
}

int CAudioLevelMeter::YOf(double db, const QRect& bar) const {
    const double span = m_state.Top() - m_state.Floor();
    const double part =
        span > 0 ? (std::clamp(db, m_state.Floor(), m_state.Top()) - m_state.Floor()) / span : 0.0;
    return bar.bottom() + 1 - int(part * bar.height() + 0.5);
}

void CAudioLevelMeter::Draw(QPainter& painter, const QRect& area) {
    painter.fillRect(area, palette().window());
    // The clip indicator: a lamp above the bar.
    const QRect lamp(area.left(), area.top(), area.width(), kClipHeight);
    painter.fillRect(lamp, clipLit() ? kClipOn : kClipOff);
    painter.setPen(QPen(kFrameOuter, 1));
    painter.drawRect(lamp.adjusted(0, 0, -1, -1));

    const QRect frame(area.left(), lamp.bottom() + 1 + kGap, area.width(),
                      area.height() - kClipHeight - kGap);
    painter.fillRect(frame, kBackground);
    painter.setPen(QPen(kFrameOuter, 1));
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    painter.setPen(QPen(kFrameInner, 1));
    painter.drawRect(frame.adjusted(1, 1, -2, -2));
    const QRect bar = frame.adjusted(3, 3, -3, -3);

    const double current = std::max(m_state.Current(), m_state.Floor());
    const double first = CLevelMeterState::kFirstDb, second = CLevelMeterState::kSecondDb;
    const auto zone = [&](double from, double to, const QColor& colour) {
        const int top = YOf(to, bar), bottom = YOf(from, bar);
        if (bottom > top)
            painter.fillRect(QRect(bar.left(), top, bar.width(), bottom - top), colour);
    };
    zone(m_state.Floor(), std::min(current, first), kGreen);
    if (current > first)
        zone(first, std::min(current, second), kYellow);
    if (current > second)
        zone(second, std::min(current, m_state.Top()), kRed);

    const double peak = m_state.Peak();
    const QColor mark = peak > second ? kRed : peak > first ? kYellow : kGreen;
    const int y = std::min(YOf(peak, bar), bar.bottom());
    painter.setPen(QPen(mark, 2));
    painter.drawLine(bar.left(), y, bar.right(), y);
}

void CAudioLevelMeter::paintEvent(QPaintEvent*) {
    QPainter painter(this); // the window's backing store already buffers the drawing
    Draw(painter, rect());
}
