// quillet-contact-sheet OUT.png: draws every shipped skin's window (with and without an input),
// its browser dialog and every control in its four states into one picture for a person to look at.
#include "StreamViewPreview.h"

#include "SkinLayout.h"

#include "skin/DynRgn.h"
#include "skin/SkinParser.h"
#include "skin/XButton.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

#include <cstdio>
#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

const QColor Ink(0x0E, 0x11, 0x16);

// A widget that draws one skin bitmap over itself and takes its size.
class BitmapPanel : public QWidget {
public:
    BitmapPanel(const CDynBitmap& bitmap, QWidget* parent) : QWidget(parent), m_bitmap(bitmap) {
        resize(bitmap.size());
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        m_bitmap.draw(p, QPoint(0, 0));
    }

private:
    CDynBitmap m_bitmap;
};

// One skin's window built from its sections the way the main window builds it.
struct SkinWindow {
    std::unique_ptr<BitmapPanel> window;
    std::vector<std::pair<QString, CXButton*>> controls; // section name and control
    CDynRgn region;
};

// Creates the controls of the layout table under parent; false when one does not load.
template <size_t N>
bool AddControls(CSkinParser& parser, const Control (&table)[N], QWidget* parent, SkinWindow& w) {
    for (const Control& c : table) {
        const QString name = QString::fromLatin1(c.section);
        const bool label = c.style == Style::Field || c.style == Style::Plain;
        auto* button = new CXButton(int(w.controls.size()) + 1, parent);
        if (!button->create(parser, QLatin1Char('[') + name + QLatin1Char(']'),
                            label ? CXButton::Label : CXButton::PushButton, false)) {
            std::fprintf(stderr, "section [%s] does not load\n", c.section);
            return false;
        }
        w.controls.emplace_back(name, button);
    }
    return true;
}

// Reads "[main]", "[ql_ctrl]" and the controls; empty shows the view and controls without input.
bool BuildWindow(const QString& skinFile, bool empty, SkinWindow& w) {
    CSkinParser parser;
    QPoint controlAt;
    CDynBitmap background, controlBackground;
    if (!parser.init(skinFile, u"PP_SDF"_s) || !parser.openSection(u"[main]"_s))
        return false;
    while (parser.nextKey())
        parser.getPoint(u"sl_ctrl_position"_s, controlAt) ||
            parser.getBitmap(u"bitmap"_s, background) || parser.getRegion(u"region"_s, w.region);
    if (!parser.openSection(u"[ql_ctrl]"_s))
        return false;
    while (parser.nextKey())
        parser.getBitmap(u"bitmap_bg"_s, controlBackground);
    w.window = std::make_unique<BitmapPanel>(background, nullptr);
    auto* control = new BitmapPanel(controlBackground, w.window.get());
    control->move(controlAt);
    auto* view = new StreamViewPreview(control, empty);
    if (!view->load(parser) || !AddControls(parser, DialogButtons, w.window.get(), w) ||
        !AddControls(parser, CtrlControls, control, w))
        return false;
    // The example state: a long input path with a selection, or no input at all.
    for (auto& [name, b] : w.controls) {
        if (name == u"lbl_input_file"_s) {
            b->setCaption(empty ? QString()
                                : QStringLiteral("/home/ann/Music/Field recordings/2023/"
                                                 "Blackbird at dawn, garden.mp3"));
            b->setPathEllipsis(true);
        }
        const bool inputCommand =
            name == u"btn_open"_s || name == u"btn_cd_track"_s || name == u"btn_record"_s;
        const bool ctrlButton = b->parentWidget() == control && b->kind() == CXButton::PushButton;
        if ((empty && ctrlButton && !inputCommand) ||
            (!empty && (name == u"btn_stop"_s || name == u"btn_fading_begin"_s)))
            b->setEnabled(false);
    }
    w.window->show();
    return true;
}

// The widget as it draws itself.
QImage Grab(QWidget* widget) {
    return widget->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

// The picture as it shows on screen: what lies outside its region is a checkerboard.
QImage Shaped(const QImage& picture, const QRegion& region) {
    QImage shown(picture.size(), QImage::Format_ARGB32_Premultiplied);
    QPainter p(&shown);
    for (int y = 0; y < shown.height(); y += 8)
        for (int x = 0; x < shown.width(); x += 8)
            p.fillRect(x, y, 8, 8, ((x + y) / 8) % 2 ? QColor(200, 200, 200) : Qt::white);
    p.setClipRegion(region);
    p.drawImage(0, 0, picture);
    return shown;
}

// Sends the widget a mouse event as a person's mouse would.
void SendMouse(QWidget* w, QEvent::Type type, Qt::MouseButton button, QPoint at) {
    QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

// The control drawn in the four states: up, mouse over, pressed, disabled.
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

// Two columns of rows, one row per control: its section and its four states (a label shows its
// one picture across all four cells).
QImage ControlGrid(const SkinWindow& w) {
    constexpr int NameW = 150, CellW = 196, Gap = 16, RowH = 48;
    const int rows = int(w.controls.size()), half = (rows + 1) / 2;
    QImage grid(2 * (NameW + 4 * CellW) + Gap, half * RowH + 24,
                QImage::Format_ARGB32_Premultiplied);
    grid.fill(Ink);
    QPainter g(&grid);
    g.setPen(QColor(0xB0, 0xB8, 0xC4));
    QFont label(u"DejaVu Sans"_s);
    label.setPixelSize(11);
    g.setFont(label);
    const char* stateNames[] = {"up", "mouse over", "down", "disabled"};
    for (int col = 0; col < 2; ++col)
        for (int s = 0; s < 4; ++s)
            g.drawText(col * (NameW + 4 * CellW + Gap) + NameW + s * CellW, 14,
                       QString::fromLatin1(stateNames[s]));
    for (int i = 0; i < rows; ++i) {
        const auto& [name, b] = w.controls[size_t(i)];
        const int x0 = (i / half) * (NameW + 4 * CellW + Gap), y0 = 24 + (i % half) * RowH;
        g.drawText(x0, y0 + 18, name);
        const std::vector<QImage> states = States(b);
        const bool isLabel = b->kind() == CXButton::Label;
        for (int s = 0; s < (isLabel ? 1 : 4); ++s) {
            const QImage& img = states[size_t(s)];
            const int width = qMin(img.width(), (isLabel ? 4 : 1) * CellW - 6);
            g.drawImage(x0 + NameW + s * CellW, y0, img.copy(0, 0, width, img.height()));
        }
    }
    return grid;
}

// The browser dialog's background inside its region.
QImage BrowserDialog(const QString& skinFile) {
    CSkinParser parser;
    CDynBitmap browser;
    CDynRgn region;
    if (parser.init(skinFile, u"PP_SDF"_s) && parser.openSection(u"[browser_dlg]"_s))
        while (parser.nextKey())
            parser.getBitmap(u"bitmap"_s, browser) || parser.getRegion(u"region"_s, region);
    return Shaped(browser.image(), region.region());
}

// One skin's part of the sheet: a heading, the two windows and the dialog, then the control grid.
QImage SkinPart(const QString& skin) {
    constexpr int Gap = 16;
    const QString file = QStringLiteral(QUILLET_SHIPPED_SKINS "/") + skin + u"/__default.sdf"_s;
    SkinWindow full, empty;
    if (!BuildWindow(file, false, full) || !BuildWindow(file, true, empty))
        return QImage();
    const QImage windowFull = Shaped(Grab(full.window.get()), full.region.region());
    const QImage windowEmpty = Shaped(Grab(empty.window.get()), empty.region.region());
    const QImage browser = BrowserDialog(file);
    const QImage grid = ControlGrid(full);
    QImage part(qMax(3 * windowFull.width() + 2 * Gap, grid.width()),
                28 + windowFull.height() + Gap + grid.height(),
                QImage::Format_ARGB32_Premultiplied);
    part.fill(Ink);
    QPainter p(&part);
    p.setPen(Qt::white);
    QFont heading(u"DejaVu Sans"_s);
    heading.setPixelSize(14);
    heading.setBold(true);
    p.setFont(heading);
    p.drawText(4, 18, u"Skin \"%1\": window with input, without input, browser dialog"_s.arg(skin));
    p.drawImage(0, 28, windowFull);
    p.drawImage(windowFull.width() + Gap, 28, windowEmpty);
    p.drawImage(2 * (windowFull.width() + Gap), 28, browser);
    p.drawImage(0, 28 + windowFull.height() + Gap, grid);
    return part;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.png\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::vector<QImage> parts;
    int width = 0, height = 0;
    for (const char* skin : {"en", "de"}) {
        parts.push_back(SkinPart(QString::fromLatin1(skin)));
        if (parts.back().isNull()) {
            std::fprintf(stderr, "skin \"%s\" does not load\n", skin);
            return 1;
        }
        width = qMax(width, parts.back().width());
        height += parts.back().height() + 16;
    }
    QImage sheet(width, height, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Ink);
    QPainter p(&sheet);
    int y = 0;
    for (const QImage& part : parts) {
        p.drawImage(0, y, part);
        y += part.height() + 16;
    }
    p.end();
    if (!sheet.save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
