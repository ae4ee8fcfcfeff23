#include "platform/axis/gui/BaseAxis.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>

CBaseAxis::CBaseAxis(const QFont& font, const QPen& axisPen, const QPen& textPen, float labelGap) {
    SetAxisParams(font, axisPen, textPen, labelGap);
}

CBaseAxis::~CBaseAxis() = default;

void CBaseAxis::SetAxisParams(const QFont& font, const QPen& axisPen, const QPen& textPen,
                              float labelGap) {
    m_font = font;
    m_axisPen = axisPen;
    m_textPen = textPen;
    m_labelGap = labelGap;
}

void CBaseAxis::SetAxisParamsEx(int smallMark, int middleMark, int bigMark, int textY) {
    m_smallMark = smallMark;
    m_middleMark = middleMark;
    m_bigMark = bigMark;
    m_textY = textY;
}

void CBaseAxis::Paint(QPainter& painter, const QRect& rect, const QRect& clip, bool erase) {
    if (rect.isEmpty())
        return;
    painter.save();
    painter.setClipRect(clip.intersected(rect));
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (erase)
        painter.fillRect(rect, painter.background());
    painter.setFont(m_font);
    const QFontMetrics metrics(m_font, painter.device());
    const int gap = int(std::ceil(m_labelGap * metrics.horizontalAdvance(QLatin1Char('0'))));
    const AxisLayout layout = MakeLayout(
        rect.left(), rect.right(),
        [&metrics](const QString& text) { return metrics.horizontalAdvance(text); }, gap);

    // Lines run through pixel centres with flat ends, so that each covers whole pixels: one
    // row or column per logical pixel at any device pixel ratio.
    const int top = rect.top();
    QPen axisPen = m_axisPen;
    axisPen.setCapStyle(Qt::FlatCap);
    painter.setPen(axisPen);
    painter.drawLine(QLineF(rect.left(), top + 0.5, rect.right() + 1, top + 0.5));
    for (const AxisTick& tick : layout.ticks) {
        const int length = tick.kind == AxisTickKind::Big      ? m_bigMark
                           : tick.kind == AxisTickKind::Middle ? m_middleMark
                                                               : m_smallMark;
        if (length > 0)
            painter.drawLine(QLineF(tick.x + 0.5, top + 1, tick.x + 0.5, top + 1 + length));
    }
    painter.setPen(m_textPen);
    const int baseline = top + m_textY + metrics.ascent();
    for (const AxisLabel& label : layout.labels)
        painter.drawText(label.left, baseline, label.text);
    painter.restore();
}
