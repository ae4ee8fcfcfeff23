// An axis drawn with QPainter: a base line, tick marks of three lengths and labels below it.
#pragma once

#include "platform/axis/TimeScale.h"

#include <QFont>
#include <QPen>
#include <QRect>

class QPainter;

// Draws the layout its subclass computes for a rectangle; the subclass decides the ticks.
class CBaseAxis {
public:
    // Font of the labels, pen of the line and ticks, pen of the labels, and the least gap
    // between two labels in widths of the digit "0".
    CBaseAxis(const QFont& font, const QPen& axisPen, const QPen& textPen, float labelGap);
    virtual ~CBaseAxis();

    // Replaces the font, the pens and the label gap.
    void SetAxisParams(const QFont& font, const QPen& axisPen, const QPen& textPen, float labelGap);
    // Tick lengths in pixels below the base line, and the label top below the rectangle's top.
    void SetAxisParamsEx(int smallMark, int middleMark, int bigMark, int textY);
    // Draws the axis into rect (base line on its top row, spanning its left to right column),
    // clipped to clip; erase fills rect with the painter's background first.
    void Paint(QPainter& painter, const QRect& rect, const QRect& clip, bool erase);

protected:
    // Ticks and labels for columns left to right, labels measured by textWidth and kept at
    // least gap pixels apart.
    virtual AxisLayout MakeLayout(int left, int right, const CTimeScale::TextWidth& textWidth,
                                  int gap) const = 0;

private:
    QFont m_font;
    QPen m_axisPen;
    QPen m_textPen;
    float m_labelGap = 2.5f;
    int m_smallMark = 3;
    int m_middleMark = 6;
    int m_bigMark = 10;
    int m_textY = 16;
};
