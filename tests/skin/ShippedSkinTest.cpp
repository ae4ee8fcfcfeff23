// The shipped skins: every section their readers need loads, and a contact sheet of every button
// in every state and of the windows is drawn for a person to look at.
#include "BitmapPanel.h"
#include "GuiTestApp.h"
#include "ShippedSkins.h"
#include "StreamViewPreview.h"

#include "skin/CursorFile.h"
#include "skin/DynRgn.h"
#include "skin/SkinParser.h"
#include "skin/XButton.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

const char* const Skins[] = {"en", "de"};

QString SkinFile(const char* name) {
    return ShippedSkinsFolder() + QString::fromLatin1(name) + QStringLiteral("/__default.sdf");
}

// The window of one skin built from its sections the way the main window builds it.
struct SkinWindow {
    std::unique_ptr<BitmapPanel> window;
    BitmapPanel* control = nullptr;
    StreamViewPreview* view = nullptr;
    std::vector<CXButton*> buttons; // dialog buttons first
    CDynRgn region;
    QString title;
    QString iconPath;
};

// Reads "[main]" and "[ql_ctrl]" and creates every control; empty shows the view without input.
bool BuildWindow(const char* skin, bool empty, SkinWindow& out) {
    CSkinParser parser;
    if (!parser.init(SkinFile(skin), QStringLiteral("PP_SDF")))
        return false;
    QPoint controlAt;
    CDynBitmap background, controlBackground;
    bool hasPosition = false, hasBitmap = false;
    if (!parser.openSection(QStringLiteral("[main]")))
        return false;
    while (parser.nextKey()) {
        if (parser.getPoint(QStringLiteral("sl_ctrl_position"), controlAt))
            hasPosition = true;
        else if (parser.getBitmap(QStringLiteral("bitmap"), background))
            hasBitmap = true;
        else if (parser.getRegion(QStringLiteral("region"), out.region) ||
                 parser.getFile(QStringLiteral("icon"), out.iconPath) ||
                 parser.getText(QStringLiteral("title"), out.title)) {
        }
    }
    if (!hasPosition || !hasBitmap || !parser.openSection(QStringLiteral("[ql_ctrl]")))
        return false;
    while (parser.nextKey())
        parser.getBitmap(QStringLiteral("bitmap_bg"), controlBackground);
    if (controlBackground.isNull())
        return false;
    out.window = std::make_unique<BitmapPanel>(background, nullptr);
    out.control = new BitmapPanel(controlBackground, out.window.get());
    out.control->move(controlAt);
    out.view = new StreamViewPreview(out.control, empty);
    if (!out.view->load(parser))
        return false;
    for (const ShippedControl& c : DialogControls) {
        auto* button = new CXButton(c.id, out.window.get());
        if (!button->create(parser, QString::fromLatin1(c.section), c.kind, false))
            return false;
        button->setTooltip(c.tooltip);
        out.buttons.push_back(button);
    }
    for (const ShippedControl& c : MainControls) {
        auto* button = new CXButton(c.id, out.control);
        if (!button->create(parser, QString::fromLatin1(c.section), c.kind, false))
            return false;
        button->setTooltip(c.tooltip);
        out.buttons.push_back(button);
    }
    return true;
}

QImage Grab(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The window as it shows on screen: what lies outside its region is a checkerboard.
QImage Shaped(const QImage& window, const QRegion& region) {
    QImage shown(window.size(), QImage::Format_ARGB32_Premultiplied);
    QPainter p(&shown);
    for (int y = 0; y < shown.height(); y += 8)
        for (int x = 0; x < shown.width(); x += 8)
            p.fillRect(x, y, 8, 8, ((x + y) / 8) % 2 ? QColor(200, 200, 200) : Qt::white);
    p.setClipRegion(region);
    p.drawImage(0, 0, window);
    return shown;
}

void SendMouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, QPoint at) {
    QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

// The button drawn in the four states: up, mouse over, pressed, disabled.
std::vector<QImage> States(CXButton* b) {
    std::vector<QImage> states;
    const QPoint inside(b->width() / 2, b->height() / 2);
    const bool wasEnabled = b->config().enabled;
    b->setEnabled(true);
    states.push_back(Grab(b));
    SendMouse(b, QEvent::MouseMove, Qt::NoButton, inside);
    states.push_back(Grab(b));
    SendMouse(b, QEvent::MouseButtonPress, Qt::LeftButton, inside);
    states.push_back(Grab(b));
    SendMouse(b, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(-5, -5));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(b, &leave);
    b->setEnabled(false);
    states.push_back(Grab(b));
    b->setEnabled(wasEnabled);
    return states;
}

// The example state of the main control in the preview: an input with a selection.
void ShowExampleInput(SkinWindow& w, bool empty) {
    for (CXButton* b : w.buttons) {
        if (b->id() == 2)
            b->setCaption(
                empty ? QString()
                      : QStringLiteral(
                            "/home/ann/Music/Field recordings/2023/Blackbird at dawn, garden.mp3"));
        if (b->id() == 2)
            b->setPathEllipsis(true);
        if (empty && b->id() >= 10 && b->id() <= 101 && b->id() != 92)
            b->setEnabled(false);
        if (!empty && (b->id() == 23 || b->id() == 41))
            b->setEnabled(false);
    }
}

} // namespace

TEST(ShippedSkins, EverySectionTheWindowNeedsLoads) {
    EnsureGuiApp();
    for (const char* skin : Skins) {
        SCOPED_TRACE(skin);
        CSkinParser parser;
        ASSERT_TRUE(parser.init(SkinFile(skin), QStringLiteral("PP_SDF")));
        EXPECT_FALSE(parser.headerValue().isEmpty());
        const QStringList view =
            ReadSectionKeys(parser, QStringLiteral("[stream_view]"), StreamViewKeys, 28);
        EXPECT_EQ(view.size(), 28) << view.join(',').toStdString();
        const SectionKey browserKeys[] = {{"browser_ctrl_rect", ValueKind::Rect},
                                          {"bitmap", ValueKind::Bitmap},
                                          {"region", ValueKind::Region}};
        EXPECT_EQ(ReadSectionKeys(parser, QStringLiteral("[browser_dlg]"), browserKeys, 3).size(),
                  3);

        SkinWindow w;
        ASSERT_TRUE(BuildWindow(skin, false, w));
        EXPECT_EQ(w.title, QStringLiteral("Quillet"));
        // The window icon is a Windows icon file that Qt and the cursor reader both read.
        EXPECT_FALSE(QImage(w.iconPath).isNull());
        CCursorFile icon;
        ASSERT_TRUE(icon.load(w.iconPath));
        EXPECT_EQ(icon.image().size(), QSize(32, 32));
        // A shaped window: its region is more than its bounding rectangle's one rectangle.
        EXPECT_GT(w.region.region().rectCount(), 1);
        EXPECT_EQ(w.region.region().boundingRect(), w.window->rect());
        EXPECT_FALSE(w.region.region().contains(QPoint(0, 0)));
        // Every control lies inside its parent and has its pictures in the size it is placed at.
        for (CXButton* b : w.buttons) {
            SCOPED_TRACE(b->id());
            EXPECT_TRUE(b->parentWidget()->rect().contains(b->geometry())) << b->id();
            const CXButtonCfg& c = b->config();
            EXPECT_EQ(c.bitmapUp.size(), b->size());
            if (b->kind() == CXButton::PushButton) {
                EXPECT_TRUE(c.mouseover);
                for (const CDynBitmap* bitmap :
                     {&c.bitmapDown, &c.bitmapMouseOver, &c.bitmapDisabled})
                    EXPECT_EQ(bitmap->size(), b->size());
                EXPECT_TRUE(c.cursor.has_value());
                // Every button explains itself with a tooltip from the string table.
                EXPECT_FALSE(b->tooltipText().isEmpty());
            }
        }
        // Controls do not overlap one another.
        for (size_t i = 0; i < w.buttons.size(); ++i)
            for (size_t j = i + 1; j < w.buttons.size(); ++j)
                if (w.buttons[i]->parentWidget() == w.buttons[j]->parentWidget())
                    EXPECT_FALSE(w.buttons[i]->geometry().intersects(w.buttons[j]->geometry()))
                        << w.buttons[i]->id() << " " << w.buttons[j]->id();
        EXPECT_TRUE(w.control->rect().contains(w.view->geometry()));
    }
}

TEST(ShippedSkins, GermanSkinCarriesGermanCaptions) {
    EnsureGuiApp();
    SkinWindow en, de;
    ASSERT_TRUE(BuildWindow("en", false, en));
    ASSERT_TRUE(BuildWindow("de", false, de));
    auto caption = [](SkinWindow& w, int id) {
        for (CXButton* b : w.buttons)
            if (b->id() == id)
                return b->config().caption;
        return QString();
    };
    EXPECT_EQ(caption(en, 1), QStringLiteral("Open"));
    EXPECT_EQ(caption(de, 1), QString::fromUtf8("Öffnen"));
    EXPECT_EQ(caption(de, 4), QStringLiteral("Aufnehmen"));
    EXPECT_EQ(caption(de, 101), QStringLiteral("Klingelton senden"));
    EXPECT_NE(caption(en, 92), caption(de, 92));
}

TEST(ShippedSkins, ContactSheetShowsEveryButtonInEveryState) {
    EnsureGuiApp();
    constexpr int Gap = 16;
    constexpr int NameW = 150;
    constexpr int CellW = 196;
    std::vector<QImage> parts;
    for (const char* skin : Skins) {
        SCOPED_TRACE(skin);
        SkinWindow full, empty;
        ASSERT_TRUE(BuildWindow(skin, false, full));
        ASSERT_TRUE(BuildWindow(skin, true, empty));
        ShowExampleInput(full, false);
        ShowExampleInput(empty, true);
        full.window->show();
        empty.window->show();
        const QImage windowFull = Shaped(Grab(full.window.get()), full.region.region());
        const QImage windowEmpty = Shaped(Grab(empty.window.get()), empty.region.region());
        // The browser dialog's background with its region.
        CSkinParser parser;
        ASSERT_TRUE(parser.init(SkinFile(skin), QStringLiteral("PP_SDF")));
        ASSERT_TRUE(parser.openSection(QStringLiteral("[browser_dlg]")));
        CDynBitmap browser;
        CDynRgn browserRegion;
        while (parser.nextKey())
            parser.getBitmap(QStringLiteral("bitmap"), browser) ||
                parser.getRegion(QStringLiteral("region"), browserRegion);
        const QImage browserShown = Shaped(browser.image(), browserRegion.region());

        // One row per button: its section and its four states.
        const int rows = int(full.buttons.size());
        const int half = (rows + 1) / 2;
        QImage grid(2 * (NameW + 4 * CellW) + Gap, half * 48 + 24,
                    QImage::Format_ARGB32_Premultiplied);
        grid.fill(QColor(0x0E, 0x11, 0x16));
        QPainter g(&grid);
        g.setPen(QColor(0xB0, 0xB8, 0xC4));
        QFont label(QStringLiteral("DejaVu Sans"));
        label.setPixelSize(11);
        g.setFont(label);
        const char* stateNames[] = {"up", "mouse over", "down", "disabled"};
        for (int col = 0; col < 2; ++col)
            for (int s = 0; s < 4; ++s)
                g.drawText(col * (NameW + 4 * CellW + Gap) + NameW + s * CellW, 14,
                           QString::fromLatin1(stateNames[s]));
        for (int i = 0; i < rows; ++i) {
            CXButton* b = full.buttons[size_t(i)];
            const int x0 = (i / half) * (NameW + 4 * CellW + Gap);
            const int y0 = 24 + (i % half) * 48;
            g.drawText(x0, y0 + 18, QStringLiteral("%1 (%2)").arg(b->id()).arg(b->kind()));
            const std::vector<QImage> states = States(b);
            for (int s = 0; s < 4; ++s) {
                const QImage& img = states[size_t(s)];
                EXPECT_EQ(img.size(), b->size());
                // A label shows one picture enabled: it gets the width of all four cells.
                const int cells = b->kind() == CXButton::Label && s == 0 ? 4 : 1;
                if (b->kind() == CXButton::Label && s > 0)
                    continue;
                g.drawImage(x0 + NameW + s * CellW, y0,
                            img.copy(0, 0, qMin(img.width(), cells * CellW - 6), img.height()));
            }
            if (b->kind() == CXButton::PushButton) {
                EXPECT_TRUE(states[0] != states[1]) << "mouse over looks like up: " << b->id();
                EXPECT_TRUE(states[0] != states[2]) << "down looks like up: " << b->id();
                EXPECT_TRUE(states[0] != states[3]) << "disabled looks like up: " << b->id();
                EXPECT_TRUE(states[1] != states[2]) << "down looks like mouse over: " << b->id();
            }
        }
        g.end();

        const int width = 3 * windowFull.width() + 2 * Gap;
        QImage part(qMax(width, grid.width()), 28 + windowFull.height() + Gap + grid.height(),
                    QImage::Format_ARGB32_Premultiplied);
        part.fill(QColor(0x0E, 0x11, 0x16));
        QPainter p(&part);
        p.setPen(Qt::white);
        QFont heading(QStringLiteral("DejaVu Sans"));
        heading.setPixelSize(14);
        heading.setBold(true);
        p.setFont(heading);
        p.drawText(4, 18,
                   QStringLiteral("Skin \"%1\": window with input, without input, browser dialog")
                       .arg(QString::fromLatin1(skin)));
        p.drawImage(0, 28, windowFull);
        p.drawImage(windowFull.width() + Gap, 28, windowEmpty);
        p.drawImage(2 * (windowFull.width() + Gap), 28, browserShown);
        p.drawImage(0, 28 + windowFull.height() + Gap, grid);
        p.end();
        parts.push_back(part);
        const QString dir = QCoreApplication::applicationDirPath() + QLatin1Char('/');
        EXPECT_TRUE(windowFull.save(
            dir + QStringLiteral("skin_window_%1.png").arg(QString::fromLatin1(skin))));
        EXPECT_TRUE(
            grid.save(dir + QStringLiteral("skin_buttons_%1.png").arg(QString::fromLatin1(skin))));
    }
    int width = 0, height = 0;
    for (const QImage& part : parts) {
        width = qMax(width, part.width());
        height += part.height() + Gap;
    }
    QImage sheet(width, height, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(0x0E, 0x11, 0x16));
    QPainter p(&sheet);
    int y = 0;
    for (const QImage& part : parts) {
        p.drawImage(0, y, part);
        y += part.height() + Gap;
    }
    p.end();
    const QString path =
        QCoreApplication::applicationDirPath() + QStringLiteral("/skin_contact_sheet.png");
    ASSERT_TRUE(sheet.save(path));
    EXPECT_GT(QFileInfo(path).size(), 10000);
}
