// The skins' pictures: window chrome, button faces in their states, backgrounds, the stream
// view's tiles and cursor, the hand cursor and the program icon.
#include "SkinArt.h"

#include "ArtFiles.h"
#include "Palette.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include <stdexcept>

QString CaptionText(Caption caption, const Texts& t) {
    switch (caption) {
    case Caption::Open:
        return t.open;
    case Caption::Cd:
        return t.cd;
    case Caption::Record:
        return t.record;
    case Caption::Beam:
        return t.beam;
    case Caption::BeamHint:
        return t.beamHint;
    case Caption::None:
        break;
    }
    return {};
}

QFont Font(int pixels, bool bold) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

QString Rgb(const QColor& c) {
    return QStringLiteral("%1,%2,%3").arg(c.red()).arg(c.green()).arg(c.blue());
}

QImage NewImage(int w, int h, const QColor& fill) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

// ---- window chrome ------------------------------------------------------------------------

namespace {
QPainterPath WindowShape() {
    QPainterPath shape;
    shape.addRoundedRect(QRectF(0, 0, WindowW, WindowH), CornerRadius, CornerRadius);
    return shape;
}

} // namespace

QRegion WindowRegion() {
    QImage mask(WindowW, WindowH, QImage::Format_ARGB32_Premultiplied);
    mask.fill(Qt::transparent);
    QPainter p(&mask);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.fillPath(WindowShape(), Qt::white);
    p.end();
    return RegionOfMask(mask);
}

// The window's frame, title bar and body, shared by the main window and the browser dialog.
QImage Chrome(const Texts& t) {
    QImage image = NewImage(WindowW, WindowH, palette::Body);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient title(0, 0, 0, TitleH);
    title.setColorAt(0, palette::TitleTop);
    title.setColorAt(1, palette::TitleBottom);
    p.save();
    p.setClipRect(0, 0, WindowW, TitleH);
    p.fillPath(WindowShape(), title);
    p.restore();
    p.fillRect(0, TitleH, WindowW, 1, palette::Separator);
    p.setPen(QPen(palette::Border, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(0.5, 0.5, WindowW - 1, WindowH - 1), CornerRadius - 0.5,
                      CornerRadius - 0.5);
    DrawLogo(p, QPoint(14, 10), 24);
    p.setFont(Font(16, true));
    p.setPen(palette::Text);
    p.drawText(QPoint(48, 28), QStringLiteral("Quillet"));
    const int titleW = QFontMetrics(Font(16, true)).horizontalAdvance(QStringLiteral("Quillet"));
    p.setFont(Font(12, false));
    p.setPen(palette::TextDim);
    p.drawText(QPoint(48 + titleW + 10, 28), t.subtitle);
    return image;
}

// ---- button faces -------------------------------------------------------------------------

namespace {
struct Look {
    QColor face, border, icon;
    int shift = 0;
};

Look LookOf(Style style, State state) {
    const QColor none(Qt::transparent);
    switch (style) {
    case Style::Tool:
    case Style::Secondary:
        switch (state) {
        case State::Up:
            return {QColor(0x24, 0x2B, 0x36), QColor(0x2E, 0x36, 0x43), QColor(0xC5, 0xCD, 0xD9)};
        case State::Over:
            return {QColor(0x2C, 0x35, 0x44), palette::Accent, QColor(0xFF, 0xFF, 0xFF)};
        case State::Down:
            return {QColor(0x16, 0x1F, 0x29), palette::Accent, palette::AccentLight, 1};
        case State::Disabled:
            return {QColor(0x1E, 0x23, 0x2B), QColor(0x25, 0x2B, 0x35), QColor(0x4B, 0x54, 0x62)};
        }
        break;
    case Style::Primary:
        switch (state) {
        case State::Up:
            return {palette::Primary, QColor(0x3A, 0x93, 0xD0), Qt::white};
        case State::Over:
            return {QColor(0x3B, 0x98, 0xD8), QColor(0x7C, 0xC7, 0xF0), Qt::white};
        case State::Down:
            return {QColor(0x22, 0x68, 0x99), QColor(0x2F, 0x86, 0xC4), QColor(0xD7, 0xEC, 0xFA),
                    1};
        case State::Disabled:
            return {QColor(0x22, 0x28, 0x32), QColor(0x2A, 0x31, 0x3C), QColor(0x56, 0x60, 0x6E)};
        }
        break;
    case Style::Chrome:
    case Style::ChromeExit: {
        const bool exit = style == Style::ChromeExit;
        switch (state) {
        case State::Up:
            return {none, none, QColor(0xA3, 0xAD, 0xBB)};
        case State::Over:
            return {exit ? QColor(0xC8, 0x4B, 0x43) : QColor(0x2C, 0x34, 0x41), none, Qt::white};
        case State::Down:
            return {exit ? QColor(0xA3, 0x3B, 0x35) : QColor(0x20, 0x26, 0x2F), none,
                    exit ? QColor(0xF6, 0xD5, 0xD2) : palette::AccentLight, 1};
        case State::Disabled:
            return {none, none, QColor(0x4B, 0x54, 0x62)};
        }
        break;
    }
    case Style::Field:
        return {QColor(0x10, 0x14, 0x1A), QColor(0x28, 0x2F, 0x3B), QColor(0x6F, 0x7A, 0x8A)};
    case Style::Plain:
        break;
    }
    return {none, none, none};
}

} // namespace

// A button in one state, drawn over the part of the background it covers.
QImage Face(const QImage& background, const Control& c, State state) {
    QImage image = background.copy(c.rect);
    if (c.style == Style::Plain)
        return image;
    const Look look = LookOf(c.style, state);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    const QRectF box(0.5, 0.5, c.rect.width() - 1, c.rect.height() - 1);
    p.setPen(look.border.alpha() ? QPen(look.border, 1) : Qt::NoPen);
    p.setBrush(look.face.alpha() ? QBrush(look.face) : Qt::NoBrush);
    if (look.face.alpha() || look.border.alpha())
        p.drawRoundedRect(box, 6, 6);
    const int grid = IconGrid(c.icon);
    QPoint at((c.rect.width() - grid) / 2, (c.rect.height() - grid) / 2 + look.shift);
    if (c.caption != Caption::None || c.style == Style::Field)
        at.setX(c.style == Style::Primary ? 12 : 10);
    DrawIcon(p, c.icon, at, look.icon);
    return image;
}

// ---- backgrounds --------------------------------------------------------------------------

QImage ControlBackground() {
    QImage image = NewImage(CtrlW, CtrlH, palette::Body);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    // A frame around the stream view and a card behind each group of tools.
    p.setPen(Qt::NoPen);
    p.setBrush(palette::Separator);
    p.drawRoundedRect(QRectF(ViewRect.adjusted(-2, -2, 2, 2)), 6, 6);
    for (const auto& [x, count] : ToolGroups) {
        const QRectF card(x - 4.5, RowY - 4.5, count * ToolW + (count - 1) * 4 + 9, ToolH + 9);
        p.setPen(QPen(palette::CardBorder, 1));
        p.setBrush(palette::Card);
        p.drawRoundedRect(card, 8, 8);
    }
    return image;
}

QImage BrowserBackground(const Texts& t) {
    QImage image = Chrome(t);
    QPainter p(&image);
    p.fillRect(BrowserRect.adjusted(-1, -1, 1, 1), palette::Border);
    p.fillRect(BrowserRect, QColor(0xF4, 0xF6, 0xF8));
    return image;
}

// ---- stream view pictures -----------------------------------------------------------------

// Columns of the view's background: the position strip, the time area, the axis and text rows.
QImage ViewColumns(int width, Band band, const QColor& markColor) {
    const int h = ViewRect.height();
    QImage image = NewImage(width, h, palette::Body);
    QPainter p(&image);
    const QColor strip = band == Band::Empty ? QColor(0x17, 0x1B, 0x22) : QColor(0x1A, 0x1F, 0x28);
    p.fillRect(0, 0, width, SliderBottom, strip);
    p.fillRect(0, SliderBottom, width, 1, palette::Separator);
    QColor time(0x12, 0x16, 0x1C), centre(0x1C, 0x22, 0x2B);
    if (band == Band::Stream) {
        time = QColor(0x15, 0x1C, 0x25);
        centre = QColor(0x22, 0x2B, 0x36);
    } else if (band == Band::Selected) {
        time = QColor(0x1D, 0x31, 0x42);
        centre = QColor(0x2A, 0x42, 0x57);
    }
    p.fillRect(0, MarkTop, width, MarkBottom - MarkTop, time);
    if (band != Band::Empty)
        p.fillRect(0, (WaveTop + WaveBottom) / 2, width, 1, centre);
    p.fillRect(0, MarkBottom, width, 1, palette::Separator);
    if (markColor.isValid())
        p.fillRect(0, MarkTop, width, MarkBottom - MarkTop, markColor);
    return image;
}

// The play cursor: a head in the position strip and a line with a dark edge; the rest is the
// transparent colour, drawn without smoothing so no pixel mixes with it.
QImage PlayCursor() {
    const int w = 9, h = ViewRect.height();
    QImage image = NewImage(w, h, palette::Transparent);
    QPainter p(&image);
    const QColor edge(0x0B, 0x0E, 0x12);
    p.fillRect(3, SliderBottom - 4, 3, MarkBottom - SliderBottom + 4, edge);
    p.fillRect(4, SliderBottom - 4, 1, MarkBottom - SliderBottom + 4, palette::Coral);
    for (int row = 0; row < 6; ++row) {
        const int inset = row * 4 / 6;
        p.fillRect(inset, 8 + row, w - 2 * inset, 1, row == 5 ? edge : palette::Coral);
    }
    p.fillRect(0, 7, w, 1, edge);
    return image;
}

QImage EmptyDescription(const Texts& t) {
    const int w = 480, h = 100;
    const int top = (ViewRect.height() - h) / 2;
    QImage image = ViewColumns(w, Band::Empty).copy(0, top, w, h);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    // A quiet waveform above the two lines of text.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2E, 0x4A, 0x5C));
    const int bars[] = {6, 12, 20, 28, 18, 24, 12, 8, 14, 6};
    for (int i = 0; i < 10; ++i)
        p.drawRoundedRect(QRectF(w / 2 - 40 + i * 8, 22 - bars[i] / 2.0, 4, bars[i]), 2, 2);
    p.setFont(Font(15, true));
    p.setPen(palette::Text);
    p.drawText(QRect(0, 44, w, 20), Qt::AlignHCenter | Qt::AlignTop, t.emptyTitle);
    p.setFont(Font(12, false));
    p.setPen(palette::TextDim);
    p.drawText(QRect(0, 70, w, 18), Qt::AlignHCenter | Qt::AlignTop, t.emptyHint);
    if (QFontMetrics(Font(12, false)).horizontalAdvance(t.emptyHint) > w - 8)
        throw std::runtime_error("empty-view hint too long for " + t.lang.toStdString());
    return image;
}

// ---- cursors and icon ---------------------------------------------------------------------

QImage HandCursor() {
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    QPainterPath hand;
    hand.addRoundedRect(QRectF(6, 1, 5, 15), 2.5, 2.5); // index finger
    hand.addRoundedRect(QRectF(11, 8, 4, 9), 2, 2);
    hand.addRoundedRect(QRectF(15, 9, 4, 9), 2, 2);
    hand.addRoundedRect(QRectF(19, 10, 4, 9), 2, 2);
    hand.addRoundedRect(QRectF(2, 11, 7, 6), 3, 3);   // thumb
    hand.addRoundedRect(QRectF(4, 13, 19, 10), 4, 4); // palm
    hand.setFillRule(Qt::WindingFill);
    const QPainterPath outline = hand.simplified();
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPath(outline);
    p.setPen(QPen(QColor(0x60, 0x60, 0x60), 1));
    p.drawLine(11, 12, 11, 15);
    p.drawLine(15, 13, 15, 16);
    p.drawLine(19, 14, 19, 17);
    return image;
}

QImage LogoImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    DrawLogo(p, QPoint(0, 0), size);
    return image;
}
