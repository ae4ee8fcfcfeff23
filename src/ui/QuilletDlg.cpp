// The main window: skin applying with fall-backs, dialog buttons, drops, dragging and exit.
#include "ui/QuilletDlg.h"

#include "app/ConfigFile.h"
#include "app/Folders.h"
#include "app/IUserMessages.h"
#include "app/StringTable.h"
#include "app/Trace.h"
#include "skin/CommandEvent.h"
#include "skin/DynRgn.h"
#include "skin/SkinParser.h"
#include "skin/XButton.h"
#include "ui/AboutDlg.h"
#include "ui/QuilletCtrl.h"
#include "ui/SkinErrors.h"
#include "ui/WindowDrag.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDropEvent>
#include <QFileInfo>
#include <QIcon>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QUrl>

namespace {
// The dialog buttons: section, identifier, tooltip string.
struct DialogButton {
    const char* section;
    int id;
    int tooltip;
};
constexpr DialogButton kButtons[] = {
    {"[btn_help]", CQuilletDlg::BtnHelp, 160},
    {"[btn_skylark]", CQuilletDlg::BtnWebSite, 158},
    {"[btn_minimize]", CQuilletDlg::BtnMinimize, 152},
    {"[btn_about]", CQuilletDlg::BtnAbout, 154},
    {"[btn_exit]", CQuilletDlg::BtnExit, 153},
};
constexpr int kMaxDropPath = 260;
const QString kPositionKey = QStringLiteral("WindowPosition");
} // namespace

CQuilletDlg::CQuilletDlg(IUserMessages& messages, const QString& commandLineFile, QWidget* parent)
    : QDialog(parent, Qt::Window | Qt::FramelessWindowHint), m_messages(messages),
      m_commandLineFile(commandLineFile) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    installEventFilter(new CWindowDrag(this));
    setWindowTitle(QStringLiteral("Quillet"));
    m_ctrl = new CQuilletCtrl(messages, this);
    for (const DialogButton& spec : kButtons) {
        auto* button = new CXButton(spec.id, this);
        button->setObjectName(QString::fromLatin1(spec.section).mid(1).chopped(1));
        button->setTooltip(spec.tooltip);
        m_buttons.emplace(spec.id, button);
    }
    chooseSkin(GetConfig().GetActiveSkin(), false);
    setAcceptDrops(true);
    restorePosition();
}

CQuilletDlg::~CQuilletDlg() = default;

CXButton* CQuilletDlg::button(int id) const {
    const auto it = m_buttons.find(id);
    return it == m_buttons.end() ? nullptr : it->second;
}

bool CQuilletDlg::applySkinFile(const QString& path) {
    CSkinParser parser(&m_messages);
    if (!parser.init(path, QStringLiteral("PP_SDF"))) {
        ShowErrorMessage(m_messages, SkinErrorText(kCouldNotOpenSkin, path));
        return false;
    }
    bool loaded = true;
    for (const DialogButton& spec : kButtons)
        loaded = loaded && button(spec.id)->create(parser, QString::fromLatin1(spec.section),
                                                   CXButton::PushButton, false);
    loaded = loaded && m_ctrl->loadSkin(parser);
    QPoint ctrlAt;
    bool hasCtrlAt = false;
    CDynBitmap background;
    CDynRgn region;
    QString icon, title;
    if (loaded && parser.openSection(QStringLiteral("[main]"))) {
        while (parser.nextKey()) {
            if (parser.getPoint(QStringLiteral("sl_ctrl_position"), ctrlAt))
                hasCtrlAt = true;
            else if (!parser.getBitmap(QStringLiteral("bitmap"), background) &&
                     !parser.getRegion(QStringLiteral("region"), region) &&
                     !parser.getFile(QStringLiteral("icon"), icon))
                parser.getText(QStringLiteral("title"), title);
        }
    } else {
        loaded = false;
    }
    if (!loaded || !hasCtrlAt || background.isNull()) {
        ShowErrorMessage(m_messages, SkinErrorText(kFailedToParseSkin, path));
        return false;
    }
    // The main control must lie inside the window.
    if (!QRect(QPoint(0, 0), background.size()).contains(QRect(ctrlAt, m_ctrl->backgroundSize()))) {
        ShowErrorMessage(m_messages, LoadString(kFailedToApplySkin));
        return false;
    }
    m_background = std::move(background);
    if (!region.isNull())
        setMask(region.region());
    else
        clearMask();
    m_ctrl->move(ctrlAt);
    m_ctrl->applySkin();
    resize(m_background.size());
    for (const auto& [id, b] : m_buttons) {
        b->place(b->config()); // anchored buttons follow the new size
        b->setAccessibleName(b->tooltipText());
    }
    if (!title.isEmpty())
        setWindowTitle(title);
    // The program's own icon, which the desktop entry shows too, goes before the skin's.
    if (!icon.isEmpty() && QFileInfo::exists(icon) && QGuiApplication::windowIcon().isNull())
        setWindowIcon(QIcon(icon));
    update();
    return true;
}

bool CQuilletDlg::chooseSkin(const QString& requested, bool hide) {
    const bool wasVisible = isVisible();
    if (hide)
        this->hide();
    QString applied;
    const QString inUse = m_skinPath;
    if (applySkinFile(requested)) {
        applied = requested;
    } else if (!inUse.isEmpty() && applySkinFile(inUse)) {
        applied = inUse;
    } else {
        const QString fallback = GetDefaultSkinPath();
        if (fallback.compare(requested, Qt::CaseInsensitive) != 0 &&
            fallback.compare(inUse, Qt::CaseInsensitive) != 0 && applySkinFile(fallback))
            applied = fallback;
    }
    if (!applied.isEmpty()) {
        m_skinPath = applied;
        GetConfig().SetActiveSkin(applied);
    }
    if (hide && wasVisible)
        show();
    return !applied.isEmpty();
}

bool CQuilletDlg::event(QEvent* event) {
    if (event->type() != CCommandEvent::EventType)
        return QDialog::event(event);
    auto* command = static_cast<CCommandEvent*>(event);
    if (command->code() == CCommandEvent::NotifyClicked) {
        runCommand(command->id());
        if (auto* b = qobject_cast<CXButton*>(command->sender())) {
            b->unsetCursor();
            b->clearHover();
        }
    }
    return true;
}

void CQuilletDlg::runCommand(int id) {
    ConfigFile& config = GetConfig();
    switch (id) {
    case BtnHelp:
        if (const QString file = config.GetHelpFile(); !file.isEmpty()) {
            if (!QDesktopServices::openUrl(QUrl::fromLocalFile(file)))
                Trace(TRACE_ERROR, "error opening help file \"%s\"", file);
        } else {
            QDesktopServices::openUrl(QUrl(config.GetHelpUrl()));
        }
        break;
    case BtnWebSite:
        QDesktopServices::openUrl(QUrl(config.GetHomePageUrl()));
        break;
    case BtnMinimize:
        showMinimized();
        break;
    case BtnAbout:
        showAbout();
        break;
    case BtnExit:
        exitCommand();
        break;
    default:
        break;
    }
}

void CQuilletDlg::showAbout() {
    CAboutDlg about(this, m_ctrl->model().getState() == CRingtoneModel::State::Beaming);
    connect(&about, &CAboutDlg::languageChanged, this, &CQuilletDlg::languageChanged);
    about.exec();
}

void CQuilletDlg::languageChanged(const QString& lang) {
    // The language's own skin when it has one, else the skin in use again, with the new texts.
    const QString skin = GetSkinPath(lang);
    chooseSkin(QFileInfo::exists(skin) ? skin : m_skinPath, true);
}

void CQuilletDlg::exitCommand() {
    if (!m_ctrl->prepareExit())
        return;
    savePosition();
    setAcceptDrops(false);
    done(1);
}

void CQuilletDlg::closeEvent(QCloseEvent* event) {
    // Closing by the window system runs the exit command; the window stays while a beam runs.
    event->ignore();
    exitCommand();
}

void CQuilletDlg::reject() {
    // Escape does not close the main window.
}

void CQuilletDlg::keyPressEvent(QKeyEvent* event) {
    QWidget::keyPressEvent(event); // not QDialog's: no default button, no Escape
}

void CQuilletDlg::bringToFront(const QString& file) {
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    if (file.isEmpty())
        return;
    if (m_ctrl->model().getState() == CRingtoneModel::State::Idle)
        m_ctrl->openFile(file);
    else
        Trace(TRACE_DEBUG, "a later start's file is not opened while busy: %s", file);
}

void CQuilletDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    m_background.draw(painter, QPoint(0, 0));
    if (!m_firstPaintSeen) {
        // The model starts once the window has shown itself, outside the paint.
        m_firstPaintSeen = true;
        QTimer::singleShot(0, this, &CQuilletDlg::startModel);
    }
}

void CQuilletDlg::startModel() {
    m_ctrl->initModel(m_commandLineFile);
    m_modelStarted = true;
}

QString CQuilletDlg::acceptedDrop(const QMimeData* data) const {
    if (!data || !data->hasUrls() || data->urls().isEmpty())
        return QString();
    const QString path = data->urls().constFirst().toLocalFile();
    if (path.size() > kMaxDropPath)
        return QString();
    // No other window of the program may be in front (a dialog or a menu).
    QWidget* modal = QApplication::activeModalWidget();
    if (QApplication::activePopupWidget() || (modal && modal != this))
        return QString();
    return m_ctrl->acceptsFile(path) ? path : QString();
}

void CQuilletDlg::dragEnterEvent(QDragEnterEvent* event) {
    dragMoveEvent(event);
}

void CQuilletDlg::dragMoveEvent(QDragMoveEvent* event) {
    if (!acceptedDrop(event->mimeData()).isEmpty()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void CQuilletDlg::dropEvent(QDropEvent* event) {
    const QString path = acceptedDrop(event->mimeData());
    if (path.isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    m_ctrl->openFile(path);
}

void CQuilletDlg::restorePosition() {
    QString stored;
    if (!GetConfig().GetValue(kPositionKey, stored))
        return;
    const QStringList parts = stored.split(QLatin1Char(','));
    bool okX = false, okY = false;
    const QPoint at(parts.value(0).toInt(&okX), parts.value(1).toInt(&okY));
    if (!okX || !okY || parts.size() != 2)
        return;
    // Only a position where part of the window's top shows on some screen.
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().intersects(QRect(at, QSize(width(), 48)))) {
            move(at);
            return;
        }
    }
}

void CQuilletDlg::savePosition() {
    GetConfig().SetValue(kPositionKey, QStringLiteral("%1,%2").arg(x()).arg(y()));
}
