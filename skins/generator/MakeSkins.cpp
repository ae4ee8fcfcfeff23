// quillet-make-skins: draws every bitmap, region and cursor of the shipped skins and writes their
// skin files. Usage: quillet-make-skins <skins folder>; writes <folder>/en and <folder>/de.
#include "ArtFiles.h"
#include "Icons.h"
#include "Palette.h"

#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <stdexcept>

namespace {

// Window and main-control geometry.
constexpr int WindowW = 800;
constexpr int WindowH = 460;
constexpr int TitleH = 44;
constexpr int CornerRadius = 10;
const QPoint CtrlAt(12, 48);
constexpr int CtrlW = 776;
constexpr int CtrlH = 400;
const QRect ViewRect(8, 56, 760, 250); // in the main control
const QRect BrowserRect(12, 48, 776, 400);

// Rows of the stream view, from its top.
constexpr int SliderBottom = 19;
constexpr int MarkTop = 20;
constexpr int MarkBottom = 178;
constexpr int WaveTop = 30;
constexpr int WaveBottom = 170;
constexpr int AxisLine = 181;
constexpr int MarginW = 10;

enum class Style { Tool, Secondary, Primary, Chrome, ChromeExit, Field, Plain };
enum class State { Up, Down, Over, Disabled };
const State AllStates[] = {State::Up, State::Down, State::Over, State::Disabled};

// The texts drawn into the pictures or written as captions, per language.
struct Texts {
    QString lang, subtitle, open, cd, record, beam, beamHint, emptyTitle, emptyHint;
};

const Texts English{"en",
                    "Ringtone maker",
                    "Open",
                    "CD track",
                    "Record",
                    "Send ringtone",
                    "Pick 1 to 30 seconds, then send the ringtone to your phone.",
                    "No audio yet",
                    "Open a file, take a track from a CD or record something."};
const Texts German{
    "de",
    QString::fromUtf8("Klingelton-Werkstatt"),
    QString::fromUtf8("Öffnen"),
    "CD-Titel",
    "Aufnehmen",
    "Klingelton senden",
    QString::fromUtf8("Wähle 1 bis 30 Sekunden und sende den Klingelton an dein Handy."),
    "Noch kein Audio",
    QString::fromUtf8("Öffne eine Datei, lies einen CD-Titel ein oder nimm etwas auf.")};

enum class Caption { None, Open, Cd, Record, Beam, BeamHint };

struct Control {
    const char* section;
    Style style;
    Icon icon;
    QRect rect; // in the parent
    Caption caption = Caption::None;
    bool anchorRight = false; // placed from the parent's right edge
};

// The dialog's buttons, in the window; the same sections serve the browser dialog.
const Control DialogButtons[] = {
    {"btn_help", Style::Chrome, Icon::Help, QRect(628, 8, 28, 28), Caption::None, true},
    {"btn_skylark", Style::Chrome, Icon::Website, QRect(660, 8, 28, 28), Caption::None, true},
    {"btn_about", Style::Chrome, Icon::About, QRect(692, 8, 28, 28), Caption::None, true},
    {"btn_minimize", Style::Chrome, Icon::Minimize, QRect(728, 8, 28, 28), Caption::None, true},
    {"btn_exit", Style::ChromeExit, Icon::Exit, QRect(760, 8, 28, 28), Caption::None, true},
};

constexpr int RowY = 318;
constexpr int ToolW = 40;
constexpr int ToolH = 36;
QRect Tool(int x) {
    return QRect(x, RowY, ToolW, ToolH);
}

// The main control's buttons and labels.
const Control CtrlControls[] = {
    {"btn_open", Style::Secondary, Icon::Open, QRect(12, 8, 112, 36), Caption::Open},
    {"lbl_input_file", Style::Field, Icon::Note, QRect(394, 8, 370, 36)},
    {"btn_cd_track", Style::Secondary, Icon::Cd, QRect(130, 8, 112, 36), Caption::Cd},
    {"btn_record", Style::Secondary, Icon::Record, QRect(248, 8, 136, 36), Caption::Record},
    {"btn_zoom_in", Style::Tool, Icon::ZoomIn, Tool(100)},
    {"btn_zoom_out", Style::Tool, Icon::ZoomOut, Tool(56)},
    {"btn_play", Style::Tool, Icon::Play, Tool(200)},
    {"btn_play_cut", Style::Tool, Icon::PlayRingtone, Tool(244)},
    {"btn_stop", Style::Tool, Icon::Stop, Tool(288)},
    {"btn_cut_begin", Style::Tool, Icon::SetStart, Tool(344)},
    {"btn_cut_end", Style::Tool, Icon::SetEnd, Tool(388)},
    {"btn_fading_begin", Style::Tool, Icon::FadeIn, Tool(444)},
    {"btn_fading_end", Style::Tool, Icon::FadeOut, Tool(488)},
    {"btn_fading_remove", Style::Tool, Icon::RemoveFades, Tool(532)},
    {"btn_scroll_left", Style::Tool, Icon::ScrollLeft, Tool(12)},
    {"btn_scroll_right", Style::Tool, Icon::ScrollRight, Tool(144)},
    {"lbl_beam", Style::Plain, Icon::Note, QRect(12, 362, 756, 28), Caption::BeamHint},
    {"btn_beam", Style::Primary, Icon::Beam, QRect(584, RowY, 184, ToolH), Caption::Beam},
};

// Groups of tool buttons drawn on one card: first x and count.
const std::pair<int, int> ToolGroups[] = {{12, 4}, {200, 3}, {344, 2}, {444, 3}};

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

QPainterPath WindowShape() {
    QPainterPath shape;
    shape.addRoundedRect(QRectF(0, 0, WindowW, WindowH), CornerRadius, CornerRadius);
    return shape;
}

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

enum class Band { Empty, Center, Stream, Selected };

// Columns of the view's background: the position strip, the time area, the axis and text rows.
QImage ViewColumns(int width, Band band, const QColor& markColor = QColor()) {
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

// ---- skin file ----------------------------------------------------------------------------

class SkinWriter {
public:
    SkinWriter(const QString& folder, const Texts& texts) : m_dir(folder), m_t(texts) {}

    void write();

private:
    QString bmp(const QString& name, const QImage& image) {
        WriteBmp(m_dir.filePath(name + ".bmp"), image);
        return name + ".bmp";
    }
    void line(const QString& text) { m_lines.append(text); }
    void entry(const char* key, const QString& value) {
        m_lines.append(QString::fromLatin1(key) + QLatin1Char('=') + value);
    }
    void section(const char* name, const char* comment) {
        m_lines.append(QString());
        m_lines.append(QStringLiteral("; ") + QString::fromLatin1(comment));
        m_lines.append(QStringLiteral("[%1]").arg(QString::fromLatin1(name)));
    }
    void button(const Control& c, const QImage& background, QPoint parentOrigin, int parentW);
    void checkCaption(const Control& c, const QString& text, const QFont& font, int left,
                      int right);

    QDir m_dir;
    const Texts& m_t;
    QStringList m_lines;
};

void SkinWriter::checkCaption(const Control& c, const QString& text, const QFont& font, int left,
                              int right) {
    if (left + QFontMetrics(font).horizontalAdvance(text) > c.rect.width() - right)
        throw std::runtime_error(std::string("caption too wide for ") + c.section + " in " +
                                 m_t.lang.toStdString());
}

void SkinWriter::button(const Control& c, const QImage& background, QPoint parentOrigin,
                        int parentW) {
    section(c.section, c.style == Style::Field || c.style == Style::Plain ? "label" : "button");
    const QRect inBackground = c.rect.translated(-parentOrigin);
    Control local = c;
    local.rect = inBackground;
    if (c.anchorRight)
        entry("position", QStringLiteral("%1,%2,100,0").arg(c.rect.x() - parentW).arg(c.rect.y()));
    else
        entry("position", QStringLiteral("%1,%2,0,0").arg(c.rect.x()).arg(c.rect.y()));
    entry("size", QStringLiteral("%1,%2").arg(c.rect.width()).arg(c.rect.height()));
    const QString base = QString::fromLatin1(c.section);
    const bool label = c.style == Style::Field || c.style == Style::Plain;
    entry("bitmap_up", bmp(base + "_up", Face(background, local, State::Up)));
    if (!label) {
        entry("bitmap_do", bmp(base + "_do", Face(background, local, State::Down)));
        entry("bitmap_mo", bmp(base + "_mo", Face(background, local, State::Over)));
        entry("bitmap_da", bmp(base + "_da", Face(background, local, State::Disabled)));
    }
    const QString caption = CaptionText(c.caption, m_t);
    if (c.style == Style::Secondary || c.style == Style::Primary) {
        const bool primary = c.style == Style::Primary;
        const int left = primary ? 40 : 38;
        const QFont font = Font(12, true);
        checkCaption(c, caption, font, left, 8);
        entry("caption", caption);
        entry("font", QStringLiteral("DejaVu Sans,-12,bold"));
        entry("align", QStringLiteral("%1,0").arg(left));
        entry("xbounds", QStringLiteral("%1,8").arg(left));
        entry("font_color_up", Rgb(primary ? QColor(Qt::white) : palette::Text));
        entry("font_color_mo", Rgb(Qt::white));
        entry("font_color_do", Rgb(primary ? QColor(0xD7, 0xEC, 0xFA) : palette::AccentLight));
        entry("font_color_da", Rgb(palette::TextOff));
    } else if (c.style == Style::Field) {
        entry("font", QStringLiteral("DejaVu Sans,-12"));
        entry("align", QStringLiteral("34,0"));
        entry("xbounds", QStringLiteral("34,10"));
        entry("font_color_up", Rgb(palette::Text));
        entry("font_color_da", Rgb(palette::TextOff));
    } else if (c.style == Style::Plain) {
        checkCaption(c, caption, Font(12, false), 8, 8);
        entry("caption", caption);
        entry("font", QStringLiteral("DejaVu Sans,-12"));
        entry("align", QStringLiteral("-4,0"));
        entry("font_color_up", Rgb(palette::TextDim));
        entry("font_color_da", Rgb(palette::TextOff));
    }
    if (!label) {
        entry("cursor", QStringLiteral("hand.cur"));
        entry("mouseover", QStringLiteral("1"));
    }
    entry("visible", QStringLiteral("1"));
}

void SkinWriter::write() {
    m_dir.mkpath(QStringLiteral("."));
    for (const QString& old : m_dir.entryList({"*.bmp", "*.rgn", "*.cur", "*.ico", "*.sdf"}))
        m_dir.remove(old);
    const QImage chrome = Chrome(m_t);
    const QImage ctrl = ControlBackground();
    const QImage browser = BrowserBackground(m_t);
    const QRegion region = WindowRegion();
    WriteRegion(m_dir.filePath("window.rgn"), region);
    WriteCursor(m_dir.filePath("hand.cur"), HandCursor(), QPoint(8, 1));
    WriteIcon(m_dir.filePath("quillet.ico"), {LogoImage(16), LogoImage(32), LogoImage(48)});
    for (const Control& c : DialogButtons) {
        if (chrome.copy(c.rect) != browser.copy(c.rect))
            throw std::runtime_error("the dialogs' title bars differ under a button");
    }

    line(QStringLiteral("PP_SDF=Quillet Slate 1.0 (%1)").arg(m_t.lang));
    line(QStringLiteral("; Made by quillet-make-skins; edit the generator, not this file."));
    section("main", "the window: background, shape, icon and title");
    entry("sl_ctrl_position", QStringLiteral("%1,%2").arg(CtrlAt.x()).arg(CtrlAt.y()));
    entry("bitmap", bmp("main_bg", chrome));
    entry("region", QStringLiteral("window.rgn"));
    entry("icon", QStringLiteral("quillet.ico"));
    entry("title", QStringLiteral("Quillet"));
    section("ql_ctrl", "the main control's background");
    entry("bitmap_bg", bmp("ql_ctrl_bg", ctrl));
    section("browser_dlg", "the browser dialog of beaming");
    entry("browser_ctrl_rect", QStringLiteral("%1,%2,%3,%4")
                                   .arg(BrowserRect.left())
                                   .arg(BrowserRect.top())
                                   .arg(BrowserRect.left() + BrowserRect.width())
                                   .arg(BrowserRect.top() + BrowserRect.height()));
    entry("bitmap", bmp("browser_bg", browser));
    entry("region", QStringLiteral("window.rgn"));

    section("stream_view", "the waveform view");
    const QRect v = ViewRect;
    entry("position", QStringLiteral("%1,%2,%3,%4")
                          .arg(v.left())
                          .arg(v.top())
                          .arg(v.left() + v.width())
                          .arg(v.top() + v.height()));
    entry("slider_range", QStringLiteral("0,0,%1,%2").arg(v.width()).arg(SliderBottom));
    entry("bitmap_center", bmp("sv_center", ViewColumns(16, Band::Center)));
    entry("bitmap_center_empty", bmp("sv_center_empty", ViewColumns(16, Band::Empty)));
    entry("bitmap_empty_stream_desc", bmp("sv_empty_desc", EmptyDescription(m_t)));
    entry("bitmap_stream", bmp("sv_stream", ViewColumns(16, Band::Stream)));
    entry("bitmap_cut_left", bmp("sv_cut_left", ViewColumns(1, Band::Stream, palette::Amber)));
    entry("bitmap_cut_right", bmp("sv_cut_right", ViewColumns(1, Band::Stream, palette::Amber)));
    entry("bitmap_cut_middle", bmp("sv_cut_middle", ViewColumns(16, Band::Selected)));
    entry("bitmap_curpos", bmp("sv_curpos", PlayCursor()));
    entry("bitmap_margin", bmp("sv_margin", ViewColumns(MarginW, Band::Empty)));
    entry("color_transparent", Rgb(palette::Transparent));
    entry("color_axis", Rgb(palette::Axis));
    entry("font_axis", QStringLiteral("DejaVu Sans,-11"));
    entry("color_waveform", Rgb(palette::Waveform));
    entry("color_mark_rect", Rgb(palette::Amber));
    entry("y_pos_axis_line", QString::number(AxisLine));
    entry("y_pos_axis_text", QStringLiteral("16"));
    entry("y_pos_current", QStringLiteral("232"));
    entry("y_wave_top", QString::number(WaveTop));
    entry("y_wave_bottom", QString::number(WaveBottom));
    entry("y_preview_bmps_top", QString::number(MarkTop));
    entry("y_preview_bmps_bottom", QString::number(MarkBottom));
    entry("y_mark_rect_top", QString::number(MarkTop));
    entry("y_mark_rect_bottom", QString::number(MarkBottom));
    entry("axis_timemark_small", QStringLiteral("3"));
    entry("axis_timemark_middle", QStringLiteral("6"));
    entry("axis_timemark_big", QStringLiteral("10"));

    for (const Control& c : DialogButtons)
        button(c, chrome, QPoint(0, 0), WindowW);
    for (const Control& c : CtrlControls)
        button(c, ctrl, QPoint(0, 0), CtrlW);
    line(QString());

    QFile file(m_dir.filePath("__default.sdf"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write the skin file");
    file.write(m_lines.join(QStringLiteral("\r\n")).toUtf8());
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: quillet-make-skins <skins folder>\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    try {
        for (const Texts* texts : {&English, &German})
            SkinWriter(root.filePath(texts->lang), *texts).write();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "quillet-make-skins: %s\n", e.what());
        return 1;
    }
    return 0;
}
