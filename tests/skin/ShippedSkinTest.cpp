// The shipped skins as their generator laid them out: every section the window needs loads, every
// control has its pictures, cursor and tooltip, and the German skin carries German captions.
// (quillet-contact-sheet draws them for a person to look at.)
#include "GuiTestApp.h"
#include "SkinLayout.h"

#include "skin/CursorFile.h"
#include "skin/DynRgn.h"
#include "skin/Font.h"
#include "skin/SkinParser.h"
#include "skin/XButton.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// The tooltip string of each control, in the order of DialogButtons then CtrlControls.
const int Tooltips[] = {160, 158, 154, 152, 153, 136, 137, 138, 139, 140, 141, 143,
                        144, 145, 146, 147, 148, 149, 150, 156, 157, 0,   151};

// True when an entry of the section converts through get (called with the entry's key).
bool Reads(CSkinParser& parser, const char* section, const std::function<bool()>& get) {
    if (!parser.openSection(QString::fromLatin1(section)))
        return false;
    while (parser.nextKey())
        if (get())
            return true;
    return false;
}

struct ShippedSkin {
    bool guiApp = (EnsureGuiApp(), true); // before the widgets
    CSkinParser parser;
    QWidget window, control;
    CDynBitmap background, controlBackground;
    CDynRgn region;
    QString title, icon;
    std::vector<CXButton*> buttons; // DialogButtons, then CtrlControls
    QString caption(const char* section) {
        for (CXButton* b : buttons)
            if (b->objectName() == QString::fromLatin1(section))
                return b->config().caption;
        return u"<none>"_s;
    }
};

// Loads the skin's window sections and creates every control of the layout.
void Load(const char* skin, ShippedSkin& s) {
    const QString file = ShippedSkinsFolder() + QString::fromLatin1(skin) + "/__default.sdf";
    ASSERT_TRUE(s.parser.init(file, u"PP_SDF"_s));
    QPoint at;
    CSkinParser& p = s.parser;
    ASSERT_TRUE(Reads(p, "[main]", [&] { return p.getPoint("sl_ctrl_position", at); }));
    ASSERT_TRUE(Reads(p, "[main]", [&] { return p.getBitmap("bitmap", s.background); }));
    ASSERT_TRUE(Reads(p, "[main]", [&] { return p.getRegion("region", s.region); }));
    ASSERT_TRUE(Reads(p, "[main]", [&] { return p.getFile("icon", s.icon); }));
    ASSERT_TRUE(Reads(p, "[main]", [&] { return p.getText("title", s.title); }));
    ASSERT_TRUE(
        Reads(p, "[ql_ctrl]", [&] { return p.getBitmap("bitmap_bg", s.controlBackground); }));
    s.window.resize(s.background.size());
    s.control.setParent(&s.window);
    s.control.setGeometry(QRect(at, s.controlBackground.size()));
    auto add = [&](const Control& c, QWidget* parent) {
        const bool label = c.style == Style::Field || c.style == Style::Plain;
        auto* b = new CXButton(int(s.buttons.size()) + 1, parent);
        b->setObjectName(QString::fromLatin1(c.section));
        EXPECT_TRUE(b->create(p, "[" + b->objectName() + "]",
                              label ? CXButton::Label : CXButton::PushButton, false))
            << c.section;
        b->setTooltip(Tooltips[s.buttons.size()]);
        s.buttons.push_back(b);
    };
    for (const Control& c : DialogButtons)
        add(c, &s.window);
    for (const Control& c : CtrlControls)
        add(c, &s.control);
    ASSERT_EQ(s.buttons.size(), std::size(Tooltips));
}

} // namespace

TEST(ShippedSkins, EverySectionLoadsAndEveryControlHasItsPicturesCursorAndTooltip) {
    for (const char* skin : {"en", "de"}) {
        SCOPED_TRACE(skin);
        ShippedSkin s;
        Load(skin, s);
        CSkinParser& p = s.parser;
        EXPECT_FALSE(p.headerValue().isEmpty());
        EXPECT_EQ(s.title, u"Quillet"_s);
        // The window icon is a Windows icon file that Qt and the cursor reader both read.
        EXPECT_FALSE(QImage(s.icon).isNull());
        CCursorFile icon;
        ASSERT_TRUE(icon.load(s.icon));
        EXPECT_EQ(icon.image().size(), QSize(32, 32));
        // A shaped window: its region is more than one rectangle and leaves the corner out.
        EXPECT_GT(s.region.region().rectCount(), 1);
        EXPECT_EQ(s.region.region().boundingRect(), s.window.rect());
        EXPECT_FALSE(s.region.region().contains(QPoint(0, 0)));

        // Every key of the stream view and the browser dialog converts.
        SkinRect view;
        EXPECT_TRUE(Reads(p, "[stream_view]", [&] { return p.getRect("position", view); }));
        EXPECT_TRUE(s.control.rect().contains(view.toQRect()));
        const auto all = [&]<class T>(const char* section,
                                      bool (CSkinParser::*get)(const QString&, T&),
                                      std::initializer_list<const char*> keys) {
            for (const char* key : keys) {
                T value{};
                EXPECT_TRUE(Reads(p, section, [&] { return (p.*get)(key, value); })) << key;
            }
        };
        all("[stream_view]", &CSkinParser::getRect, {"slider_range"});
        all("[stream_view]", &CSkinParser::getFont, {"font_axis"});
        all("[stream_view]", &CSkinParser::getBitmap,
            {"bitmap_center", "bitmap_center_empty", "bitmap_empty_stream_desc", "bitmap_stream",
             "bitmap_cut_left", "bitmap_cut_right", "bitmap_cut_middle", "bitmap_curpos",
             "bitmap_margin"});
        all("[stream_view]", &CSkinParser::getColor,
            {"color_transparent", "color_axis", "color_waveform", "color_mark_rect"});
        all("[stream_view]", &CSkinParser::getInt,
            {"y_pos_axis_line", "y_pos_axis_text", "y_pos_current", "y_wave_top", "y_wave_bottom",
             "y_preview_bmps_top", "y_preview_bmps_bottom", "y_mark_rect_top", "y_mark_rect_bottom",
             "axis_timemark_small", "axis_timemark_middle", "axis_timemark_big"});
        all("[browser_dlg]", &CSkinParser::getRect, {"browser_ctrl_rect"});
        all("[browser_dlg]", &CSkinParser::getBitmap, {"bitmap"});
        all("[browser_dlg]", &CSkinParser::getRegion, {"region"});

        // Every control lies inside its parent, does not overlap another one, and has its
        // pictures in its size; a button's four pictures differ from one another.
        for (CXButton* b : s.buttons) {
            SCOPED_TRACE(b->objectName().toStdString());
            EXPECT_TRUE(b->parentWidget()->rect().contains(b->geometry()));
            for (CXButton* other : s.buttons) {
                if (other != b && other->parentWidget() == b->parentWidget()) {
                    EXPECT_FALSE(b->geometry().intersects(other->geometry()))
                        << other->objectName().toStdString();
                }
            }
            const CXButtonCfg& c = b->config();
            EXPECT_EQ(c.bitmapUp.size(), b->size());
            if (b->kind() != CXButton::PushButton)
                continue;
            EXPECT_TRUE(c.mouseover);
            EXPECT_TRUE(c.cursor.has_value());
            EXPECT_FALSE(b->tooltipText().isEmpty());
            const QImage up = c.bitmapUp.image(), down = c.bitmapDown.image(),
                         over = c.bitmapMouseOver.image(), off = c.bitmapDisabled.image();
            EXPECT_TRUE(down.size() == up.size() && over.size() == up.size() &&
                        off.size() == up.size());
            EXPECT_TRUE(up != over && up != down && up != off && over != down);
        }
    }
}

TEST(ShippedSkins, GermanSkinCarriesGermanCaptions) {
    ShippedSkin en, de;
    Load("en", en);
    Load("de", de);
    EXPECT_EQ(en.caption("btn_open"), u"Open"_s);
    EXPECT_EQ(de.caption("btn_open"), QString::fromUtf8("Öffnen"));
    EXPECT_EQ(de.caption("btn_record"), u"Aufnehmen"_s);
    EXPECT_EQ(de.caption("btn_beam"), u"Klingelton senden"_s);
    EXPECT_NE(en.caption("lbl_beam"), de.caption("lbl_beam"));
}
