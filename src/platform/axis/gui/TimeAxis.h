// The time axis of the waveform view: labels the range between two CQTime borders.
#pragma once

#include "platform/axis/QTime.h"
#include "platform/axis/gui/BaseAxis.h"

// Ticks and labels of the time between its borders, in the mode Axis_SetMode chose.
class CTimeAxis : public CBaseAxis {
public:
    // Same arguments as CBaseAxis; the borders start as an empty range at 2000-01-01.
    CTimeAxis(const QFont& font, const QPen& axisPen, const QPen& textPen, float labelGap);

    // The times at the left and right column of the rectangle Paint is given.
    void SetBorders(CQTime begin, CQTime end);

protected:
    AxisLayout MakeLayout(int left, int right, const CTimeScale::TextWidth& textWidth,
                          int gap) const override;

private:
    CQTime m_begin;
    CQTime m_end;
};
