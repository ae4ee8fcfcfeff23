// A widget of the contact sheet that draws a "[stream_view]" section with an invented input.
#pragma once

#include "skin/ColorRef.h"
#include "skin/DynBitmap.h"
#include "skin/Font.h"
#include "skin/SkinRect.h"

#include <QWidget>

class CSkinParser;

// The "[stream_view]" section drawn with an invented input: tiles, margins, a selection with a
// fade-out, a waveform, an axis and the play cursor (or, when empty, the empty picture).
class StreamViewPreview : public QWidget {
public:
    StreamViewPreview(QWidget* parent, bool empty);
    // Reads the section and moves the widget to its "position"; false when a key is missing.
    bool load(CSkinParser& parser);

protected:
    void paintEvent(QPaintEvent*) override;

private:
    void column(QPainter& p, const CDynBitmap& bitmap, int x, int fromY) const;

    bool m_empty;
    SkinRect m_position, m_slider;
    CDynBitmap m_center, m_centerEmpty, m_emptyDesc, m_stream, m_cutLeft, m_cutRight, m_cutMiddle,
        m_curpos, m_margin;
    ColorRef m_transparent = 0, m_axis = 0, m_waveform = 0, m_markRect = 0;
    CFont m_font;
    int m_axisLine = 0, m_axisText = 0, m_current = 0, m_waveTop = 0, m_waveBottom = 0;
    int m_markTop = 0, m_markBottom = 0, m_tickSmall = 0, m_tickMiddle = 0, m_tickBig = 0;
};
