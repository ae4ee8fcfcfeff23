// The stream view's skin drawn for the contact sheet.
#include "StreamViewPreview.h"

#include "skin/SkinParser.h"

#include <QPainter>

#include <cmath>

using namespace Qt::StringLiterals;

StreamViewPreview::StreamViewPreview(QWidget* parent, bool empty)
    : QWidget(parent), m_empty(empty) {}

bool StreamViewPreview::load(CSkinParser& parser) {
    if (!parser.openSection(u"[stream_view]"_s))
        return false;
    int seen = 0;
    auto bitmap = [&](const char* key, CDynBitmap& b) {
        return parser.getBitmap(QString::fromLatin1(key), b);
    };
    auto number = [&](const char* key, int& n) {
        return parser.getInt(QString::fromLatin1(key), n);
    };
    auto color = [&](const char* key, ColorRef& c) {
        return parser.getColor(QString::fromLatin1(key), c);
    };
    while (parser.nextKey()) {
        const bool ok =
            parser.getRect(u"position"_s, m_position) ||
            parser.getRect(u"slider_range"_s, m_slider) || bitmap("bitmap_center", m_center) ||
            bitmap("bitmap_center_empty", m_centerEmpty) ||
            bitmap("bitmap_empty_stream_desc", m_emptyDesc) || bitmap("bitmap_stream", m_stream) ||
            bitmap("bitmap_cut_left", m_cutLeft) || bitmap("bitmap_cut_right", m_cutRight) ||
            bitmap("bitmap_cut_middle", m_cutMiddle) || bitmap("bitmap_curpos", m_curpos) ||
            bitmap("bitmap_margin", m_margin) || color("color_transparent", m_transparent) ||
            color("color_axis", m_axis) || parser.getFont(u"font_axis"_s, m_font) ||
            color("color_waveform", m_waveform) || color("color_mark_rect", m_markRect) ||
            number("y_pos_axis_line", m_axisLine) || number("y_pos_axis_text", m_axisText) ||
            number("y_pos_current", m_current) || number("y_wave_top", m_waveTop) ||
            number("y_wave_bottom", m_waveBottom) || number("y_mark_rect_top", m_markTop) ||
            number("y_mark_rect_bottom", m_markBottom) ||
            number("axis_timemark_small", m_tickSmall) ||
            number("axis_timemark_middle", m_tickMiddle) || number("axis_timemark_big", m_tickBig);
        seen += ok ? 1 : 0;
    }
    setGeometry(m_position.toQRect());
    return seen >= 26;
}

void StreamViewPreview::column(QPainter& p, const CDynBitmap& bitmap, int x, int fromY) const {
    p.drawImage(QPoint(x, fromY), bitmap.image(), QRect(0, fromY, 1, height() - fromY));
}

void StreamViewPreview::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int w = width(), h = height(), m = m_margin.width();
    m_margin.draw(p, QPoint(0, 0));
    m_margin.draw(p, QPoint(w - m, 0));
    const CDynBitmap& tile = m_empty ? m_centerEmpty : m_center;
    for (int x = m; x <= w - m && tile.width() > 0; x += tile.width())
        tile.draw(p, QPoint(x, 0));
    if (m_empty) {
        m_emptyDesc.draw(p, QPoint((w - m_emptyDesc.width()) / 2, (h - m_emptyDesc.height()) / 2));
        return;
    }
    const int streamEnd = w * 85 / 100;
    p.save();
    p.setClipRect(m, 0, streamEnd - m, h);
    for (int x = m; x < streamEnd; x += m_stream.width())
        m_stream.draw(p, QPoint(x, 0));
    p.restore();
    // A selection from 200 to 470 with a fade-out from 420 on.
    const int xs = 200, xe = 470, xfo = 420;
    column(p, m_cutLeft, xs, 0);
    p.save();
    p.setClipRect(xs + 1, 0, xfo - xs - 1, h);
    for (int x = xs + 1; x < xfo; x += m_cutMiddle.width())
        m_cutMiddle.draw(p, QPoint(x, 0));
    p.restore();
    for (int x = xfo; x < xe; ++x) {
        const double f = double(xe - x) / (xe - xfo) * (m_markTop - m_markBottom);
        column(p, m_cutMiddle, x, int(f + 0.5) + m_markBottom);
    }
    // A plucked tone: decaying bursts.
    const int centre = (m_waveTop + m_waveBottom) / 2, amp = (m_waveBottom - m_waveTop) / 2;
    p.setPen(ToQColor(m_waveform));
    for (int x = m; x < streamEnd; ++x) {
        const double t = (x - m) / 90.0;
        const double env =
            std::exp(-3.0 * (t - std::floor(t))) * (0.55 + 0.45 * std::sin(x * 0.013));
        const int a = int(amp * env * (0.6 + 0.4 * std::fabs(std::sin(x * 0.9))));
        p.drawLine(x, centre - a, x, centre + a);
    }
    p.setPen(ToQColor(m_axis));
    p.drawLine(m, m_axisLine, w - m - 1, m_axisLine);
    p.setFont(m_font.font());
    for (int x = m, i = 0; x < w - m; x += 12, ++i) {
        const int tick = i % 10 == 0 ? m_tickBig : i % 5 == 0 ? m_tickMiddle : m_tickSmall;
        p.drawLine(x, m_axisLine, x, m_axisLine + tick);
        if (i % 10 == 0)
            p.drawText(x + 3, m_axisLine + m_axisText,
                       u"0:%1"_s.arg(i / 2, 2, 10, QLatin1Char('0')));
    }
    const QString position = u"Current Position: 00:00:12.340"_s;
    const QFontMetrics fm(m_font.font());
    p.drawText(QRect((w - fm.horizontalAdvance(position)) / 2, m_current, w, h), position);
    const QString length = u"ringtone length: 00:22"_s;
    p.drawText(QRect(w - m - fm.horizontalAdvance(length) - 5, m_current, w, h), length);
    p.setPen(ToQColor(m_markRect));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(QPoint(xs, m_markTop), QPoint(xe, m_markBottom)));
    m_curpos.drawTransparent(p, QPoint(300 - m_curpos.width() / 2, 0), m_transparent);
}
