// Skinned buttons on an offscreen window: placement, clicks, hover, keys, states and captions.
#include "GuiTestApp.h"
#include "SkinTestFiles.h"

#include "skin/CommandEvent.h"
#include "skin/SkinParser.h"
#include "skin/XButton.h"

#include <QCoreApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QToolTip>

#include <gtest/gtest.h>

#include <memory>

using namespace Qt::StringLiterals;

using namespace skintest;

namespace {

const QRgb Up = qRgb(200, 0, 0), Down = qRgb(0, 160, 0), Over = qRgb(0, 0, 220),
           Disabled = qRgb(128, 128, 128), Background = qRgb(250, 230, 0);

// A parent that paints itself yellow and records the commands of its children.
class CommandSink : public QWidget {
public:
    CommandSink() { resize(400, 300); }
    std::vector<std::tuple<int, int, QWidget*>> commands; // id, code, sender

protected:
    bool event(QEvent* e) override {
        if (e->type() == CCommandEvent::EventType) {
            auto* c = static_cast<CCommandEvent*>(e);
            commands.emplace_back(c->id(), c->code(), c->sender());
            return true;
        }
        return QWidget::event(e);
    }
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), QColor(Background)); }
};

class XButtonTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureGuiApp();
        for (const auto& [name, colour] :
             {std::pair{"up", Up}, {"do", Down}, {"mo", Over}, {"da", Disabled}})
            WriteFile(file(name) + ".bmp", SolidBmp(40, 20, QColor(colour)));
        WriteFile(file("left.rgn"), RegionData({QRect(0, 0, 20, 20)}));
        sink = std::make_unique<CommandSink>();
    }
    QString file(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    // A control of the kind made from a section with the usual bitmaps and the extra entries.
    CXButton* make(int id, const QByteArray& extra, int kind = CXButton::PushButton,
                   const QByteArray& position = "10,5,50,0") {
        WriteFile(file("t.sdf"), "PP_SDF=1\n[b]\nposition=" + position +
                                     "\nsize=40,20\nbitmap_up=up.bmp\nbitmap_do=do.bmp\n"
                                     "bitmap_mo=mo.bmp\nbitmap_da=da.bmp\n" +
                                     extra + "\n");
        CSkinParser parser;
        EXPECT_TRUE(parser.init(file("t.sdf"), u"PP_SDF"_s));
        auto* button = new CXButton(id, sink.get());
        EXPECT_TRUE(button->create(parser, u"[b]"_s, kind, false));
        sink->show();
        return button;
    }
    static void mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button = Qt::LeftButton,
                      QPoint at = {5, 5}) {
        const bool held = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
        QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button,
                      held ? Qt::MouseButtons(button) : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    }
    // A left press at 5,5 and its release at the point.
    static void click(QWidget* w, QPoint releaseAt = {5, 5}) {
        mouse(w, QEvent::MouseButtonPress);
        mouse(w, QEvent::MouseButtonRelease, Qt::LeftButton, releaseAt);
    }
    static void key(QWidget* w, QEvent::Type type, int k = Qt::Key_Space, bool repeat = false) {
        QKeyEvent e(type, k, Qt::NoModifier, QString(), repeat);
        QCoreApplication::sendEvent(w, &e);
    }
    static void leave(QWidget* w) {
        QEvent e(QEvent::Leave);
        QCoreApplication::sendEvent(w, &e);
    }
    // The colour the button shows in its middle.
    static QRgb shown(QWidget* w) { return w->grab().toImage().pixel(w->width() / 2, 2); }
    // Every colour the widget shows.
    static QSet<QRgb> colours(QWidget* w) {
        QSet<QRgb> seen;
        const QImage image = w->grab().toImage();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                seen.insert(image.pixel(x, y));
        return seen;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<CommandSink> sink;
};

} // namespace

TEST_F(XButtonTest, PlacementAddsThePercentOfTheParentSizeAndThePaintRegionClips) {
    EXPECT_EQ(CXButton::PlacedPosition({10, 5}, {50, 0}, {400, 300}), QPoint(210, 5));
    EXPECT_EQ(CXButton::PlacedPosition({0, 0}, {50, 50}, {401, 301}), QPoint(200, 150));
    EXPECT_EQ(CXButton::PlacedPosition({0, 0}, {100, 100}, {2000000000, 2000000000}),
              QPoint(2000000000, 2000000000));

    CXButton* anchored = make(1, "mouseover=1");
    EXPECT_EQ(anchored->geometry(), QRect(210, 5, 40, 20));
    CXButton* fixed = make(2, "mouseover=1", CXButton::PushButton, "7,9,0,0");
    EXPECT_EQ(fixed->geometry(), QRect(7, 9, 40, 20));
    fixed->move(1, 1);
    anchored->setMask(QRegion(0, 0, 5, 5));
    anchored->place(anchored->config());
    EXPECT_TRUE(anchored->mask().isEmpty());
    // Only a control with an anchor follows the parent's size.
    sink->resize(600, 300);
    EXPECT_EQ(anchored->geometry(), QRect(310, 5, 40, 20));
    EXPECT_EQ(fixed->pos(), QPoint(1, 1));
    // A paint region clips the drawing.
    delete fixed;
    make(6, "mouseover=1\nregion_paint=left.rgn", CXButton::PushButton, "0,0,0,0");
    const QImage parent = sink->grab().toImage();
    EXPECT_EQ(parent.pixel(5, 5), Up);
    EXPECT_EQ(parent.pixel(30, 5), Background);
}

TEST_F(XButtonTest, ClickInsideSendsTheCommandAndOutsideNothing) {
    using Sent = std::vector<std::tuple<int, int, QWidget*>>;
    CXButton* b = make(31, "mouseover=1");
    mouse(b, QEvent::MouseButtonPress);
    EXPECT_TRUE(b->isPressed());
    mouse(b, QEvent::MouseButtonRelease, Qt::LeftButton, {39, 19});
    EXPECT_EQ(sink->commands, (Sent{{31, CCommandEvent::NotifyClicked, b}}));
    EXPECT_FALSE(b->isPressed());
    // Released outside: nothing. Released without a press: nothing.
    click(b, {40, 5});
    mouse(b, QEvent::MouseButtonRelease);
    // A double click is a press of its own; the right button reports on its press, the middle
    // button nothing.
    mouse(b, QEvent::MouseButtonDblClick);
    mouse(b, QEvent::MouseButtonRelease);
    mouse(b, QEvent::MouseButtonPress, Qt::RightButton);
    mouse(b, QEvent::MouseButtonPress, Qt::MiddleButton);
    mouse(b, QEvent::MouseButtonRelease, Qt::MiddleButton);
    EXPECT_EQ(sink->commands, (Sent{{31, CCommandEvent::NotifyClicked, b},
                                    {31, CCommandEvent::NotifyClicked, b},
                                    {31, CCommandEvent::NotifyRightPress, b}}));
}

TEST_F(XButtonTest, HoverPressAndDisabledPickTheirBitmapsOnlyWithMouseover) {
    CXButton* b = make(4, "mouseover=1");
    EXPECT_EQ(shown(b), Up);
    mouse(b, QEvent::MouseMove);
    EXPECT_TRUE(b->isHovering());
    EXPECT_EQ(shown(b), Over);
    mouse(b, QEvent::MouseButtonPress);
    EXPECT_EQ(shown(b), Down);
    mouse(b, QEvent::MouseButtonRelease);
    EXPECT_EQ(shown(b), Over);
    leave(b);
    EXPECT_FALSE(b->isHovering());
    EXPECT_EQ(shown(b), Up);
    // The parent clears the hover after acting on a command.
    mouse(b, QEvent::MouseMove);
    b->clearHover();
    EXPECT_EQ(shown(b), Up);

    // Disabled: neither clicks nor keys count.
    b->setEnabled(false);
    EXPECT_EQ(shown(b), Disabled);
    click(b);
    key(b, QEvent::KeyPress);
    key(b, QEvent::KeyRelease);
    EXPECT_EQ(sink->commands.size(), 1u);
    EXPECT_FALSE(b->isPressed());
    b->setEnabled(true);
    EXPECT_EQ(shown(b), Up);

    // Without mouseover neither hover nor the pressed look show, yet the click still counts.
    CXButton* plain = make(5, "");
    mouse(plain, QEvent::MouseMove);
    EXPECT_FALSE(plain->isHovering());
    mouse(plain, QEvent::MouseButtonPress);
    EXPECT_EQ(shown(plain), Up);
    mouse(plain, QEvent::MouseButtonRelease);
    EXPECT_EQ(sink->commands.size(), 2u);
}

TEST_F(XButtonTest, SpaceKeyPressesAndClicksOnReleaseEnterClicks) {
    CXButton* b = make(22, "mouseover=1");
    key(b, QEvent::KeyPress);
    EXPECT_TRUE(b->isSpaceHeld());
    EXPECT_EQ(shown(b), Down);
    key(b, QEvent::KeyPress, Qt::Key_Space, true);
    key(b, QEvent::KeyRelease, Qt::Key_Space, true);
    EXPECT_TRUE(sink->commands.empty());
    key(b, QEvent::KeyRelease);
    EXPECT_EQ(sink->commands, (std::vector<std::tuple<int, int, QWidget*>>{{22, 0, b}}));
    EXPECT_EQ(shown(b), Up);
    // A release with no press, and other keys, send nothing; Enter clicks at once.
    key(b, QEvent::KeyRelease);
    key(b, QEvent::KeyPress, Qt::Key_Tab);
    EXPECT_EQ(sink->commands.size(), 1u);
    key(b, QEvent::KeyPress, Qt::Key_Return);
    key(b, QEvent::KeyRelease, Qt::Key_Return);
    EXPECT_EQ(sink->commands.size(), 2u);
    // Leaving the control cancels a held space.
    key(b, QEvent::KeyPress);
    leave(b);
    EXPECT_FALSE(b->isSpaceHeld());
}

TEST_F(XButtonTest, LabelsShowTheUpPictureAndTheDisabledTextColour) {
    CXButton* label = make(2,
                           "mouseover=1\ncaption=III\nfont=DejaVu Sans,-18,bold\n"
                           "font_color_up=255,255,255\nfont_color_da=0,0,0\n",
                           CXButton::Label);
    mouse(label, QEvent::MouseMove, Qt::NoButton, {1, 1});
    QSet<QRgb> seen = colours(label);
    EXPECT_TRUE(seen.contains(Up) && seen.contains(qRgb(255, 255, 255)));
    EXPECT_FALSE(seen.contains(Over));
    label->setEnabled(false);
    seen = colours(label);
    EXPECT_TRUE(seen.contains(Up) && seen.contains(qRgb(0, 0, 0)));
    EXPECT_FALSE(seen.contains(Disabled) || seen.contains(qRgb(255, 255, 255)));
}

TEST_F(XButtonTest, CaptionFollowsAlignmentInsetsAndBreaksWhenMultiline) {
    // The bounding box of what the caption draws over the up picture.
    auto ink = [&](int id, const QByteArray& entries) {
        const QImage image = make(id, entries)->grab().toImage();
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != Up)
                    box |= QRect(x, y, 1, 1);
        return box;
    };
    const QByteArray text = "font=DejaVu Sans,-14,bold\nfont_color_up=255,255,255\ncaption=II\n";
    const QRect left = ink(1, text + "align=4,0");
    EXPECT_TRUE(left.left() >= 4 && left.left() <= 7) << left.left();
    const QRect right = ink(2, text + "align=-4,0");
    EXPECT_TRUE(right.right() <= 40 - 4 && right.right() >= 40 - 8) << right.right();
    const QRect centred = ink(3, text + "align=0,0");
    EXPECT_LE(std::abs(centred.left() - (39 - centred.right())), 2);
    // A long caption stops at the right inset, ended by an ellipsis.
    const QRect cut = ink(4, text + "caption=WWWWWWWW\nalign=2,0\nxbounds=2,15");
    EXPECT_TRUE(cut.right() < 40 - 15 && cut.left() >= 2) << cut.left() << " " << cut.right();

    // Multiline captions break at words.
    const QByteArray small = "font=DejaVu Sans,-8,bold\nfont_color_up=255,255,255\n"
                             "caption=WW WW WW\nalign=1,1\n";
    const int single = ink(5, small).height();
    EXPECT_TRUE(single > 0 && single <= 10) << single;
    EXPECT_GT(ink(6, small + "multiline=1").height(), single + 6);
}

TEST_F(XButtonTest, TooltipComesFromTheStringTable) {
    CXButton* b = make(137, "mouseover=1");
    EXPECT_EQ(b->tooltipText(), u"input name"_s);
    b->setTooltip(136);
    EXPECT_EQ(b->tooltipText(), u"open file"_s);
    b->setTooltipText(QString(400, QLatin1Char('x')));
    EXPECT_EQ(b->tooltipText().size(), 299);
    b->setTooltipText(QString());
    EXPECT_EQ(b->tooltipText(), u"open file"_s);
    CXButton* label = make(92, "", CXButton::Label);
    EXPECT_TRUE(label->tooltipText().isEmpty());
    // Only a control with a tooltip takes the help event.
    for (CXButton* w : {b, label}) {
        QHelpEvent help(QEvent::ToolTip, QPoint(3, 3), w->mapToGlobal(QPoint(3, 3)));
        QCoreApplication::sendEvent(w, &help);
        EXPECT_EQ(help.isAccepted(), w == b);
    }
}

TEST_F(XButtonTest, CreateFailsForBadKindsAndMissingKeysAndHonoursVisible) {
    WriteFile(file("t.sdf"), "PP_SDF=1\n[ok]\nposition=1,1\nsize=4,4\nbitmap_up=up.bmp\n"
                             "visible=0\n[half]\nposition=1,1\nsize=4,4\nbitmap_up=up.bmp\n");
    CSkinParser parser;
    ASSERT_TRUE(parser.init(file("t.sdf"), u"PP_SDF"_s));
    auto* b = new CXButton(9, sink.get());
    sink->show();
    EXPECT_FALSE(b->create(parser, u"[ok]"_s, 5, false));
    EXPECT_FALSE(b->create(parser, u"[half]"_s, CXButton::PushButton, false));
    ASSERT_TRUE(b->create(parser, u"[ok]"_s, CXButton::Label, false));
    EXPECT_TRUE(b->isHidden());
    b->show(true);
    EXPECT_FALSE(b->isHidden());
    // A skin loaded again keeps the enabled state the program gave the control.
    b->setEnabled(false);
    ASSERT_TRUE(b->create(parser, u"[half]"_s, CXButton::Label, false));
    EXPECT_FALSE(b->config().enabled);
    EXPECT_FALSE(b->isHidden());
}
