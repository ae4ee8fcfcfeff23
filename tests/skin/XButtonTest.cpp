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

const QRgb Up = qRgb(200, 0, 0);
const QRgb Down = qRgb(0, 160, 0);
const QRgb Over = qRgb(0, 0, 220);
const QRgb Disabled = qRgb(128, 128, 128);
const QRgb Background = qRgb(250, 230, 0);

// A parent that paints itself yellow and records the commands of its children.
class CommandSink : public QWidget {
public:
    CommandSink() { resize(400, 300); }
    struct Command {
        int id, code;
        QWidget* sender;
    };
    std::vector<Command> commands;

protected:
    bool event(QEvent* e) override {
        if (e->type() == CCommandEvent::EventType) {
            auto* c = static_cast<CCommandEvent*>(e);
            commands.push_back({c->id(), c->code(), c->sender()});
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
        WriteFile(file("up.bmp"), SolidBmp(40, 20, QColor(Up)));
        WriteFile(file("do.bmp"), SolidBmp(40, 20, QColor(Down)));
        WriteFile(file("mo.bmp"), SolidBmp(40, 20, QColor(Over)));
        WriteFile(file("da.bmp"), SolidBmp(40, 20, QColor(Disabled)));
        WriteFile(file("left.rgn"), RegionData({QRect(0, 0, 20, 20)}));
        WriteFile(file("h.cur"),
                  IconDirectory(2, 4, 4, QPoint(2, 3), IconImage32(4, 4, qRgba(0, 0, 0, 255))));
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
    static void mouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, QPoint at) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton
                                      : type == QEvent::MouseMove        ? Qt::NoButton
                                                                         : Qt::MouseButtons(button);
        QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    }
    static void key(QWidget* w, QEvent::Type type, int k, bool autoRepeat = false) {
        QKeyEvent e(type, k, Qt::NoModifier, QString(), autoRepeat);
        QCoreApplication::sendEvent(w, &e);
    }
    static void leave(QWidget* w) {
        QEvent e(QEvent::Leave);
        QCoreApplication::sendEvent(w, &e);
    }
    // The colour the button shows in its middle.
    static QRgb shown(QWidget* w) { return w->grab().toImage().pixel(w->width() / 2, 2); }

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
    CXButton* clipped =
        make(6, "mouseover=1\nregion_paint=left.rgn", CXButton::PushButton, "0,0,0,0");
    const QImage parent = sink->grab().toImage();
    EXPECT_EQ(parent.pixel(5, 5), Up);
    EXPECT_EQ(parent.pixel(30, 5), Background);
    EXPECT_EQ(clipped->geometry(), QRect(0, 0, 40, 20));
}

TEST_F(XButtonTest, ClickInsideSendsTheCommandAndOutsideNothing) {
    CXButton* b = make(31, "mouseover=1");
    mouse(b, QEvent::MouseButtonPress, Qt::LeftButton, {5, 5});
    EXPECT_TRUE(b->isPressed());
    mouse(b, QEvent::MouseButtonRelease, Qt::LeftButton, {39, 19});
    ASSERT_EQ(sink->commands.size(), 1u);
    EXPECT_EQ(sink->commands[0].id, 31);
    EXPECT_EQ(sink->commands[0].code, CCommandEvent::NotifyClicked);
    EXPECT_EQ(sink->commands[0].sender, b);
    EXPECT_FALSE(b->isPressed());

    // Released outside: nothing. Released without a press: nothing.
    mouse(b, QEvent::MouseButtonPress, Qt::LeftButton, {5, 5});
    mouse(b, QEvent::MouseButtonRelease, Qt::LeftButton, {40, 5});
    mouse(b, QEvent::MouseButtonRelease, Qt::LeftButton, {5, 5});
    EXPECT_EQ(sink->commands.size(), 1u);

    // A double click is a press of its own.
    mouse(b, QEvent::MouseButtonDblClick, Qt::LeftButton, {5, 5});
    mouse(b, QEvent::MouseButtonRelease, Qt::LeftButton, {5, 5});
    EXPECT_EQ(sink->commands.size(), 2u);

    // The right button reports code 5 on its press; the middle button nothing.
    mouse(b, QEvent::MouseButtonPress, Qt::RightButton, {5, 5});
    mouse(b, QEvent::MouseButtonPress, Qt::MiddleButton, {5, 5});
    mouse(b, QEvent::MouseButtonRelease, Qt::MiddleButton, {5, 5});
    ASSERT_EQ(sink->commands.size(), 3u);
    EXPECT_EQ(sink->commands[2].id, 31);
    EXPECT_EQ(sink->commands[2].code, CCommandEvent::NotifyRightPress);
}

TEST_F(XButtonTest, HoverPressAndDisabledPickTheirBitmapsOnlyWithMouseover) {
    CXButton* b = make(4, "mouseover=1\ncursor=h.cur");
    EXPECT_EQ(shown(b), Up);
    EXPECT_EQ(b->cursor().hotSpot(), QPoint(2, 3));
    mouse(b, QEvent::MouseMove, Qt::NoButton, {5, 5});
    EXPECT_TRUE(b->isHovering());
    EXPECT_EQ(shown(b), Over);
    mouse(b, QEvent::MouseButtonPress, Qt::LeftButton, {5, 5});
    EXPECT_EQ(shown(b), Down);
    mouse(b, QEvent::MouseButtonRelease, Qt::LeftButton, {5, 5});
    EXPECT_EQ(shown(b), Over);
    EXPECT_EQ(sink->commands.size(), 1u);
    leave(b);
    EXPECT_FALSE(b->isHovering());
    EXPECT_EQ(shown(b), Up);
    // The parent clears the hover after acting on a command.
    mouse(b, QEvent::MouseMove, Qt::NoButton, {5, 5});
    b->clearHover();
    EXPECT_EQ(shown(b), Up);

    b->setEnabled(false);
    EXPECT_EQ(shown(b), Disabled);
    mouse(b, QEvent::MouseButtonPress, Qt::LeftButton, {5, 5});
    mouse(b, QEvent::MouseButtonRelease, Qt::LeftButton, {5, 5});
    key(b, QEvent::KeyPress, Qt::Key_Space);
    key(b, QEvent::KeyRelease, Qt::Key_Space);
    EXPECT_EQ(sink->commands.size(), 1u);
    EXPECT_FALSE(b->isPressed());
    b->setEnabled(true);
    EXPECT_EQ(shown(b), Up);

    // Without mouseover neither hover nor the pressed look show.
    CXButton* plain = make(5, "");
    EXPECT_FALSE(plain->config().mouseover);
    mouse(plain, QEvent::MouseMove, Qt::NoButton, {5, 5});
    EXPECT_FALSE(plain->isHovering());
    mouse(plain, QEvent::MouseButtonPress, Qt::LeftButton, {5, 5});
    // Pressed but not hovering: the up picture stays, yet the click still counts.
    EXPECT_EQ(shown(plain), Up);
    mouse(plain, QEvent::MouseButtonRelease, Qt::LeftButton, {5, 5});
    EXPECT_EQ(sink->commands.size(), 2u);
}

TEST_F(XButtonTest, SpaceKeyPressesAndClicksOnRelease) {
    CXButton* b = make(22, "mouseover=1");
    EXPECT_EQ(b->focusPolicy(), Qt::TabFocus);
    key(b, QEvent::KeyPress, Qt::Key_Space);
    EXPECT_TRUE(b->isSpaceHeld());
    EXPECT_EQ(shown(b), Down);
    key(b, QEvent::KeyPress, Qt::Key_Space, true);
    key(b, QEvent::KeyRelease, Qt::Key_Space, true);
    EXPECT_TRUE(sink->commands.empty());
    key(b, QEvent::KeyRelease, Qt::Key_Space);
    ASSERT_EQ(sink->commands.size(), 1u);
    EXPECT_EQ(sink->commands[0].id, 22);
    EXPECT_EQ(sink->commands[0].code, 0);
    EXPECT_EQ(shown(b), Up);
    // A release with no press, and other keys, send nothing.
    key(b, QEvent::KeyRelease, Qt::Key_Space);
    key(b, QEvent::KeyPress, Qt::Key_Return);
    key(b, QEvent::KeyRelease, Qt::Key_Return);
    EXPECT_EQ(sink->commands.size(), 1u);
    // Leaving the control cancels a held space.
    key(b, QEvent::KeyPress, Qt::Key_Space);
    leave(b);
    EXPECT_FALSE(b->isSpaceHeld());
}

TEST_F(XButtonTest, LabelsShowTheUpPictureAndTheDisabledTextColour) {
    CXButton* label = make(2,
                           "mouseover=1\ncaption=III\nfont=DejaVu Sans,-18,bold\n"
                           "font_color_up=255,255,255\nfont_color_da=0,0,0\n",
                           CXButton::Label);
    EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
    mouse(label, QEvent::MouseMove, Qt::NoButton, {1, 1});
    auto colours = [&]() {
        QSet<QRgb> seen;
        const QImage image = label->grab().toImage();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                seen.insert(image.pixel(x, y));
        return seen;
    };
    QSet<QRgb> seen = colours();
    EXPECT_TRUE(seen.contains(Up));
    EXPECT_FALSE(seen.contains(Over));
    EXPECT_TRUE(seen.contains(qRgb(255, 255, 255)));
    label->setEnabled(false);
    seen = colours();
    EXPECT_TRUE(seen.contains(Up));
    EXPECT_FALSE(seen.contains(Disabled));
    EXPECT_TRUE(seen.contains(qRgb(0, 0, 0)));
    EXPECT_FALSE(seen.contains(qRgb(255, 255, 255)));
}

TEST_F(XButtonTest, CaptionFollowsAlignmentInsetsAndBreaksWhenMultiline) {
    // The bounding box of what the caption draws over the up picture.
    auto ink = [&](CXButton* b) {
        const QImage image = b->grab().toImage();
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != Up)
                    box |= QRect(x, y, 1, 1);
        return box;
    };
    const QByteArray text = "font=DejaVu Sans,-14,bold\nfont_color_up=255,255,255\n";
    const QRect left = ink(make(1, text + "caption=II\nalign=4,0"));
    EXPECT_GE(left.left(), 4);
    EXPECT_LE(left.left(), 7);
    const QRect right = ink(make(2, text + "caption=II\nalign=-4,0"));
    EXPECT_LE(right.right(), 40 - 4);
    EXPECT_GE(right.right(), 40 - 8);
    const QRect centred = ink(make(3, text + "caption=II\nalign=0,0"));
    EXPECT_LE(std::abs(centred.left() - (39 - centred.right())), 2);
    // A long caption stops at the right inset, ended by an ellipsis.
    const QRect cut = ink(make(4, text + "caption=WWWWWWWW\nalign=2,0\nxbounds=2,15"));
    EXPECT_LT(cut.right(), 40 - 15);
    EXPECT_GE(cut.left(), 2);

    // Multiline captions break at words.
    const QByteArray small = "font=DejaVu Sans,-8,bold\nfont_color_up=255,255,255\n"
                             "caption=WW WW WW\nalign=1,1\n";
    const int single = ink(make(5, small)).height();
    const int multi = ink(make(6, small + "multiline=1")).height();
    EXPECT_GT(single, 0);
    EXPECT_LE(single, 10);
    EXPECT_GT(multi, single + 6);
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

    QHelpEvent help(QEvent::ToolTip, QPoint(3, 3), b->mapToGlobal(QPoint(3, 3)));
    QCoreApplication::sendEvent(b, &help);
    EXPECT_TRUE(help.isAccepted());
    QHelpEvent none(QEvent::ToolTip, QPoint(3, 3), label->mapToGlobal(QPoint(3, 3)));
    QCoreApplication::sendEvent(label, &none);
    EXPECT_FALSE(none.isAccepted());
}

TEST_F(XButtonTest, CreateFailsForBadKindsAndMissingKeysAndHonoursVisible) {
    WriteFile(file("t.sdf"), "PP_SDF=1\n[ok]\nposition=1,1\nsize=4,4\nbitmap_up=up.bmp\n"
                             "visible=0\n[half]\nposition=1,1\nsize=4,4\nbitmap_up=up.bmp\n");
    CSkinParser parser;
    ASSERT_TRUE(parser.init(file("t.sdf"), u"PP_SDF"_s));
    auto* b = new CXButton(9, sink.get());
    sink->show();
    EXPECT_FALSE(b->create(parser, u"[ok]"_s, 5, false));
    EXPECT_FALSE(b->create(parser, u"[ok]"_s, -1, false));
    EXPECT_FALSE(b->create(parser, u"[half]"_s, CXButton::PushButton, false));
    EXPECT_FALSE(b->create(parser, u"[none]"_s, CXButton::Label, false));
    EXPECT_EQ(b->config().size, QPoint(10, 10));
    ASSERT_TRUE(b->create(parser, u"[ok]"_s, CXButton::Label, false));
    EXPECT_TRUE(b->isHidden());
    EXPECT_FALSE(b->config().visible);
    b->show(true);
    EXPECT_FALSE(b->isHidden());
    // A skin loaded again keeps the enabled state the program gave the control.
    b->setEnabled(false);
    ASSERT_TRUE(b->create(parser, u"[half]"_s, CXButton::Label, false));
    EXPECT_FALSE(b->config().enabled);
    EXPECT_FALSE(b->isHidden());
}
