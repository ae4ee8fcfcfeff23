// Icon shapes: strokes of 2 pixels on whole coordinates keep straight edges sharp at 1x.
#include "Icons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

namespace {

QPen Stroke(const QColor& color, qreal width = 2.0) {
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Line(QPainter& p, qreal x1, qreal y1, qreal x2, qreal y2) {
    p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void Polygon(QPainter& p, std::initializer_list<QPointF> points) {
    p.drawPolygon(std::data(points), int(points.size()));
}

void Polyline(QPainter& p, std::initializer_list<QPointF> points) {
    p.drawPolyline(std::data(points), int(points.size()));
}

void Magnifier(QPainter& p, const QColor& c) {
    p.setPen(Stroke(c));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(8.5, 8.5), 6.0, 6.0);
    p.setPen(Stroke(c, 2.6));
    Line(p, 13.2, 13.2, 18, 18);
    p.setPen(QPen(c, 2.0, Qt::SolidLine, Qt::FlatCap));
    Line(p, 5.5, 8.5, 11.5, 8.5);
}

void Bracket(QPainter& p, const QColor& c, bool start) {
    p.setPen(QPen(c, 2.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::NoBrush);
    if (start)
        Polyline(p, {{8, 3}, {4, 3}, {4, 17}, {8, 17}});
    else
        Polyline(p, {{12, 3}, {16, 3}, {16, 17}, {12, 17}});
    p.setPen(Stroke(c));
    if (start) {
        Line(p, 17, 10, 8, 10);
        Polyline(p, {{11.5, 6.5}, {8, 10}, {11.5, 13.5}});
    } else {
        Line(p, 3, 10, 12, 10);
        Polyline(p, {{8.5, 6.5}, {12, 10}, {8.5, 13.5}});
    }
}

void Wedge(QPainter& p, const QColor& c, bool rising) {
    QColor fill = c;
    fill.setAlphaF(0.30);
    p.setBrush(fill);
    p.setPen(Stroke(c));
    if (rising)
        Polygon(p, {{2, 17}, {18, 4}, {18, 17}});
    else
        Polygon(p, {{2, 4}, {18, 17}, {2, 17}});
}

void Chevron(QPainter& p, const QColor& c, bool left) {
    p.setPen(Stroke(c, 2.4));
    p.setBrush(Qt::NoBrush);
    if (left)
        Polyline(p, {{12.5, 3.5}, {6, 10}, {12.5, 16.5}});
    else
        Polyline(p, {{7.5, 3.5}, {14, 10}, {7.5, 16.5}});
}

void Glyph(QPainter& p, const QColor& c, const QString& text, int pixels) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    font.setBold(true);
    font.setHintingPreference(QFont::PreferFullHinting);
    p.setFont(font);
    p.setPen(c);
    p.drawText(QRectF(0, 0, 14, 14), Qt::AlignCenter, text);
}

} // namespace

int IconGrid(Icon icon) {
    switch (icon) {
    case Icon::Help:
    case Icon::Website:
    case Icon::About:
    case Icon::Minimize:
    case Icon::Exit:
        return 14;
    default:
        return 20;
    }
}

void DrawIcon(QPainter& p, Icon icon, QPoint at, const QColor& c) {
    p.save();
    p.translate(at);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setBrush(Qt::NoBrush);
    switch (icon) {
    case Icon::Open: {
        p.setPen(Stroke(c));
        QPainterPath folder;
        folder.moveTo(2, 5);
        folder.lineTo(2, 16);
        folder.lineTo(18, 16);
        folder.lineTo(18, 7);
        folder.lineTo(10, 7);
        folder.lineTo(8, 4);
        folder.lineTo(3, 4);
        folder.closeSubpath();
        p.drawPath(folder);
        break;
    }
    case Icon::Cd:
        p.setPen(Stroke(c));
        p.drawEllipse(QPointF(10, 10), 8, 8);
        p.setBrush(c);
        p.drawEllipse(QPointF(10, 10), 2, 2);
        p.setPen(Stroke(c, 1.4));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(5, 5, 10, 10), 100 * 16, 70 * 16);
        break;
    case Icon::Record: {
        const QColor red = c.lightness() < 110 ? c : QColor(0xE8, 0x5A, 0x4F);
        p.setPen(Qt::NoPen);
        p.setBrush(red);
        p.drawEllipse(QPointF(10, 10), 6.5, 6.5);
        break;
    }
    case Icon::ZoomIn:
        Magnifier(p, c);
        p.setPen(QPen(c, 2.0, Qt::SolidLine, Qt::FlatCap));
        Line(p, 8.5, 5.5, 8.5, 11.5);
        break;
    case Icon::ZoomOut:
        Magnifier(p, c);
        break;
    case Icon::Play:
        p.setPen(Stroke(c, 1.5));
        p.setBrush(c);
        Polygon(p, {{6, 3.5}, {16, 10}, {6, 16.5}});
        break;
    case Icon::PlayRingtone:
        p.setPen(QPen(c, 2.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        Polyline(p, {{5, 3}, {2, 3}, {2, 17}, {5, 17}});
        Polyline(p, {{15, 3}, {18, 3}, {18, 17}, {15, 17}});
        p.setPen(Stroke(c, 1.2));
        p.setBrush(c);
        Polygon(p, {{7.5, 6}, {14, 10}, {7.5, 14}});
        break;
    case Icon::Stop:
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawRoundedRect(QRectF(4, 4, 12, 12), 1.5, 1.5);
        break;
    case Icon::SetStart:
        Bracket(p, c, true);
        break;
    case Icon::SetEnd:
        Bracket(p, c, false);
        break;
    case Icon::FadeIn:
        Wedge(p, c, true);
        break;
    case Icon::FadeOut:
        Wedge(p, c, false);
        break;
    case Icon::RemoveFades:
        p.setPen(Stroke(c));
        Polyline(p, {{1, 17}, {5, 10}, {15, 10}, {19, 17}});
        Line(p, 7, 2, 13, 7);
        Line(p, 13, 2, 7, 7);
        break;
    case Icon::ScrollLeft:
        Chevron(p, c, true);
        break;
    case Icon::ScrollRight:
        Chevron(p, c, false);
        break;
    case Icon::Beam: {
        p.setPen(Stroke(c, 1.8));
        QColor fill = c;
        fill.setAlphaF(0.25);
        p.setBrush(fill);
        Polygon(p, {{18, 2}, {2, 9}, {8.5, 11.5}, {11, 18}});
        Line(p, 18, 2, 8.5, 11.5);
        break;
    }
    case Icon::Help:
        Glyph(p, c, QStringLiteral("?"), 13);
        break;
    case Icon::Website:
        p.setPen(Stroke(c, 1.3));
        p.drawEllipse(QPointF(7, 7), 6, 6);
        p.drawEllipse(QPointF(7, 7), 2.6, 6);
        Line(p, 1.5, 7, 12.5, 7);
        break;
    case Icon::About:
        p.setPen(Stroke(c, 1.3));
        p.drawEllipse(QPointF(7, 7), 6, 6);
        p.setPen(QPen(c, 1.6, Qt::SolidLine, Qt::FlatCap));
        Line(p, 7, 6, 7, 10.5);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawEllipse(QPointF(7, 3.9), 1.0, 1.0);
        break;
    case Icon::Minimize:
        p.setPen(QPen(c, 2.0, Qt::SolidLine, Qt::FlatCap));
        Line(p, 3, 11, 11, 11);
        break;
    case Icon::Exit:
        p.setPen(Stroke(c, 1.8));
        Line(p, 3, 3, 11, 11);
        Line(p, 11, 3, 3, 11);
        break;
    case Icon::Note:
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawEllipse(QPointF(6.5, 15), 3.5, 2.6);
        p.drawRect(QRectF(9, 3, 2, 12));
        p.setPen(Stroke(c, 2.0));
        Polyline(p, {{10, 3.5}, {15, 6}});
        break;
    }
    p.restore();
}

void DrawLogo(QPainter& p, QPoint at, int size) {
    p.save();
    p.translate(at);
    p.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient face(0, 0, size, size);
    face.setColorAt(0, QColor(0x4C, 0xB6, 0xE8));
    face.setColorAt(1, QColor(0x2E, 0x7F, 0xC0));
    p.setPen(Qt::NoPen);
    p.setBrush(face);
    p.drawRoundedRect(QRectF(0, 0, size, size), size * 0.24, size * 0.24);
    // Five bars of a waveform, the middle one tallest.
    const qreal heights[] = {0.28, 0.5, 0.7, 0.44, 0.24};
    const qreal bar = size / 10.0;
    p.setBrush(Qt::white);
    for (int i = 0; i < 5; ++i) {
        const qreal h = heights[i] * size;
        const qreal x = size * 0.2 + i * bar * 1.55;
        p.drawRoundedRect(QRectF(x, (size - h) / 2, bar, h), bar / 2, bar / 2);
    }
    p.restore();
}
