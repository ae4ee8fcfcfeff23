// One vertical level meter: a green, yellow and red bar in decibels, the falling peak mark, and a
// clip indicator above the bar.
#pragma once

#include "audio/LevelMeterState.h"

#include <QWidget>

#include <functional>

// Touched only on the user thread: SetLevel computes and schedules a repaint.
class CAudioLevelMeter : public QWidget {
    Q_OBJECT
public:
    // Milliseconds of a steady clock, for the clip indicator's hold.
    using Clock = std::function<int64_t()>;

    explicit CAudioLevelMeter(QWidget* parent = nullptr);

    // Sets the decibel range.
    void SetRange(double floorDb, double topDb);
    // Takes the largest absolute sample of a block share capture buffers long.
    void SetLevel(int amplitude, double share = 1.0);
    // Replaces the clock (tests).
    void setClock(Clock clock) { m_clock = std::move(clock); }
    const CLevelMeterState& state() const { return m_state; }
    // Whether the clip indicator is lit now.
    bool clipLit() const { return m_state.ClipLit(m_clock()); }

    QSize sizeHint() const override { return QSize(16, 140); }
    QSize minimumSizeHint() const override { return QSize(10, 60); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Draws the meter.
    void Draw(QPainter& painter, const QRect& area);
    // The y of a decibel value inside the bar's rectangle (floor at the bottom).
    int YOf(double db, const QRect& bar) const;

    CLevelMeterState m_state;
    Clock m_clock;
};
