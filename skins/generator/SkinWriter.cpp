// The skin file and the files it names, for one language.
#include "SkinWriter.h"

#include "ArtFiles.h"
#include "Palette.h"
#include "SkinArt.h"

#include <QFile>
#include <QFontMetrics>

#include <stdexcept>

void CSkinWriter::checkCaption(const Control& c, const QString& text, const QFont& font, int left,
                               int right) {
    if (left + QFontMetrics(font).horizontalAdvance(text) > c.rect.width() - right)
        throw std::runtime_error(std::string("caption too wide for ") + c.section + " in " +
                                 m_t.lang.toStdString());
}

void CSkinWriter::button(const Control& c, const QImage& background, QPoint parentOrigin,
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

void CSkinWriter::write() {
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
