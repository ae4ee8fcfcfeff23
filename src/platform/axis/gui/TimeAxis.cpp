#include "platform/axis/gui/TimeAxis.h"

#include "platform/axis/AxisMode.h"

CTimeAxis::CTimeAxis(const QFont& font, const QPen& axisPen, const QPen& textPen, float labelGap)
    : CBaseAxis(font, axisPen, textPen, labelGap) {}

void CTimeAxis::SetBorders(CQTime begin, CQTime end) {
    m_begin = begin;
    m_end = end;
}

AxisLayout CTimeAxis::MakeLayout(int left, int right, const CTimeScale::TextWidth& textWidth,
                                 int gap) const {
    return CTimeScale::Layout(m_begin.ElapsedSince2000(), m_end.ElapsedSince2000(), left, right,
                              textWidth, gap, Axis_GetMode());
}
