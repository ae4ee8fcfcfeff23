// The embedded browser dialog.
#include "ui/BrowserDlg.h"

#include "app/IOpProgress.h"
#include "app/IUserMessages.h"
#include "app/StringIds.h"
#include "app/StringTable.h"
#include "app/Trace.h"
#include "skin/CommandEvent.h"
#include "skin/SkinParser.h"
#include "skin/XButton.h"
#include "ui/AboutDlg.h"
#include "ui/WindowDrag.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QThread>
#include <QWheelEvent>
#include <unistd.h>

#if QUILLET_WITH_WEBENGINE
#include "ui/BrowserPage.h"

#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineView>
#endif

namespace {

constexpr int kIdsPaymentTitle = 118; // "Payment"

// The buttons: identifier, skin section, tooltip string.
struct ButtonSpec {
    int id;
    const char* section;
    int tooltip;
};
constexpr ButtonSpec kButtons[] = {
    {CBrowserDlg::IdHelp, "[btn_help]", 160},
    {CBrowserDlg::IdWebsite, "[btn_skylark]", 158},
    {CBrowserDlg::IdMinimize, "[btn_minimize]", 152},
    {CBrowserDlg::IdAbout, "[btn_about]", 154},
    {CBrowserDlg::IdCancel, "[btn_exit]", 155},
};

// What the person is told when the build has no web engine and the desktop's browser did not open.
QString NoEngineText() {
    return QCoreApplication::translate("Quillet", "This build of Quillet has no web browser: the "
                                                  "ringtone cannot be sent from here.");
}

// Keys a browser would act on by itself: reload, the history, the browser keys of a keyboard.
bool IsBrowserKey(int key) {
    switch (key) {
    case Qt::Key_F5:
    case Qt::Key_Back:
    case Qt::Key_Forward:
    case Qt::Key_Refresh:
    case Qt::Key_Stop:
    case Qt::Key_Search:
    case Qt::Key_Favorites:
    case Qt::Key_HomePage:
        return true;
    default:
        return false;
    }
}

} // namespace

CBrowserDlg::CBrowserDlg(QWidget* parent, IUserMessages& messages)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_messages(messages),
      m_download(this, messages) {
    setWindowTitle(LoadString(kIdsPaymentTitle));
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Every point of the dialog is its caption: a press starts moving it.
    installEventFilter(new CWindowDrag(this));
#if QUILLET_WITH_WEBENGINE
    // A profile of its own, kept in memory: the pages leave nothing on the disk.
    m_profile = new QWebEngineProfile(this);
    m_page = new CBrowserPage(m_profile, this);
    m_view = new QWebEngineView(this);
    m_view->setPage(m_page);
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    m_browser = m_view;
    connect(m_page, &CBrowserPage::downloadRequested, this,
            [this](const QUrl& link, const QUrl& referrer) { m_download.start(link, referrer); });
    // Any other download the engine starts goes the program's way too, marked as its own.
    connect(m_profile, &QWebEngineProfile::downloadRequested, this,
            [this](QWebEngineDownloadRequest* request) {
                const QString address = request->url().toString();
                const QString name = request->downloadFileName();
                request->cancel();
                // The person is asked once the engine has its answer.
                QMetaObject::invokeMethod(
                    this, [this, address, name] { m_download.fetch(address, name, m_page->url()); },
                    Qt::QueuedConnection);
            });
#else
    auto* label = new QLabel(
        QCoreApplication::translate("Quillet", "The service's page is open in your web browser: "
                                               "finish sending the ringtone there, or cancel "
                                               "here."),
        this);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    m_browser = label;
#endif
    for (const ButtonSpec& spec : kButtons) {
        auto* button = new CXButton(spec.id, this);
        button->setTooltip(spec.tooltip);
        button->show(false);
        m_buttons.push_back(button);
    }
    qApp->installEventFilter(this);
}

CBrowserDlg::~CBrowserDlg() {
#if QUILLET_WITH_WEBENGINE
    // The page goes before its profile.
    delete m_view;
    delete m_page;
#endif
}

void CBrowserDlg::PrepareEngine() {
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    const bool headless =
        qgetenv("QT_QPA_PLATFORM") == "offscreen" ||
        (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"));
    if (geteuid() == 0 || headless)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    if (headless && qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu");
}

bool CBrowserDlg::EngineAvailable() {
#if QUILLET_WITH_WEBENGINE
    return true;
#else
    return false;
#endif
}

bool CBrowserDlg::loadSkin(CSkinParser& parser) {
    if (!parser.openSection(QStringLiteral("[browser_dlg]")))
        return false;
    bool hasRect = false;
    bool hasBitmap = false;
    CDynRgn region;
    while (parser.nextKey()) {
        if (parser.getRect(QStringLiteral("browser_ctrl_rect"), m_browserRect))
            hasRect = true;
        else if (parser.getBitmap(QStringLiteral("bitmap"), m_background))
            hasBitmap = true;
        else
            parser.getRegion(QStringLiteral("region"), region);
    }
    if (!hasRect || !hasBitmap)
        return false;
    m_region = region;
    for (size_t i = 0; i < m_buttons.size(); ++i) {
        if (!m_buttons[i]->create(parser, QString::fromLatin1(kButtons[i].section),
                                  CXButton::PushButton, false))
            return false;
    }
    m_skinned = true;
    return true;
}

void CBrowserDlg::applySkin() {
    if (!m_region.isNull())
        setMask(m_region.region());
    else
        clearMask();
    update();
}

CXButton* CBrowserDlg::button(int id) const {
    for (CXButton* button : m_buttons)
        if (button->id() == id)
            return button;
    return nullptr;
}

template <class F> void CBrowserDlg::onGuiThread(F&& f) const {
    if (QThread::currentThread() == thread()) {
        f();
        return;
    }
    // One caller at a time; the call and its end are handed over under m_callLock, so what f
    // wrote is seen by the caller (and by a thread checker) without relying on Qt's own queue.
    const std::lock_guard caller(m_callerLock);
    std::unique_lock lock(m_callLock);
    m_call = std::forward<F>(f);
    m_callDone = false;
    QMetaObject::invokeMethod(const_cast<CBrowserDlg*>(this), "runPendingCall",
                              Qt::QueuedConnection);
    m_callEnded.wait(lock, [this] { return m_callDone; });
}

void CBrowserDlg::runPendingCall() {
    std::function<void()> call;
    {
        const std::lock_guard lock(m_callLock);
        call.swap(m_call);
    }
    if (call)
        call();
    const std::lock_guard lock(m_callLock);
    m_callDone = true;
    m_callEnded.notify_all();
}

QWidget* CBrowserDlg::hostWindow() const {
    return parentWidget() ? parentWidget()->window() : nullptr;
}

QPoint CBrowserDlg::HostOrigin() const {
    QPoint origin;
    onGuiThread([&] {
        if (QWidget* host = hostWindow())
            origin = host->frameGeometry().topLeft();
    });
    return origin;
}

void CBrowserDlg::Open(const QString& url, const BrowserPlacement& placement,
                       IOpProgress* progress) {
    onGuiThread([&] {
        m_startUrl = url;
        m_placement = placement;
        m_progress = progress;
        initBrowser();
    });
}

void CBrowserDlg::initBrowser() {
    m_cancelled = false;
    // Without the engine the page opens in the desktop's browser, and the dialog stays as the
    // place to cancel; when that fails too the beam ends as if the person had closed the dialog.
    if (!EngineAvailable() && !QDesktopServices::openUrl(QUrl(m_startUrl))) {
        m_closed = true;
        ShowErrorMessage(m_messages, NoEngineText());
        return;
    }
    if (m_skinned) {
        setGeometry(m_placement.x, m_placement.y, m_background.width(), m_background.height());
        m_browser->setGeometry(m_browserRect.toQRect());
    } else {
        resize(m_placement.width, m_placement.height);
        if (QWidget* host = hostWindow())
            move(host->frameGeometry().center() - rect().center());
        m_browser->setGeometry(rect());
    }
    navigate(m_startUrl);
    m_active = true;
    show();
    raise();
    activateWindow();
}

void CBrowserDlg::navigate(const QString& url) {
    Trace(TRACE_DEBUG, "nav to %s", url);
#if QUILLET_WITH_WEBENGINE
    m_view->setUrl(QUrl(url));
#endif
}

void CBrowserDlg::Hide() {
    onGuiThread([&] {
        m_active = false;
        hide();
    });
}

void CBrowserDlg::reject() {
    cancel();
}

void CBrowserDlg::cancel() {
    m_cancelled = true;
    m_closed = true;
    if (!m_active)
        return;
    m_active = false;
    hide();
    if (m_progress) {
        m_progress->SetTextId(IDS_TERMINATING_BEAM);
        m_progress->Show(true);
    }
}

void CBrowserDlg::onCommand(int id, QWidget* sender) {
    if (id == IdCancel) {
        cancel();
    } else if (QWidget* host = hostWindow()) {
        CCommandEvent command(id, CCommandEvent::NotifyClicked, this);
        QCoreApplication::sendEvent(host, &command);
    }
    if (auto* button = qobject_cast<CXButton*>(sender))
        button->clearHover();
}

bool CBrowserDlg::event(QEvent* event) {
    if (event->type() == CCommandEvent::EventType) {
        const auto* command = static_cast<CCommandEvent*>(event);
        if (command->code() == CCommandEvent::NotifyClicked)
            onCommand(command->id(), command->sender());
        return true;
    }
    return QDialog::event(event);
}

bool CBrowserDlg::filterInput(QEvent* event) {
    if (event->type() == QEvent::Wheel) {
        const auto modifiers = static_cast<QWheelEvent*>(event)->modifiers();
        return modifiers & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_F1) {
        if (event->type() == QEvent::KeyPress)
            if (QWidget* host = hostWindow())
                QCoreApplication::postEvent(host, new CCommandEvent(IdHelp, 0, this));
        return true;
    }
    if (key->key() == Qt::Key_N && (key->modifiers() & Qt::ControlModifier))
        return true;
    return IsBrowserKey(key->key());
}

bool CBrowserDlg::eventFilter(QObject* watched, QEvent* event) {
    // Events of the page's own widgets (the engine's input widget among them) pass here first.
    // Only input is looked at: other events reach objects that may be going away.
    const QEvent::Type type = event->type();
    const bool input =
        type == QEvent::KeyPress || type == QEvent::ShortcutOverride || type == QEvent::Wheel;
    if (input && isVisible() && watched->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(watched);
        if ((widget == this || isAncestorOf(widget)) && filterInput(event))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CBrowserDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_skinned)
        m_background.draw(painter, QPoint(0, 0));
    else
        painter.fillRect(rect(), palette().window());
}

void CBrowserDlg::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    // The main window stays under the dialog.
    if (m_active)
        if (QWidget* host = hostWindow())
            host->move(frameGeometry().topLeft());
}

void CBrowserDlg::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* about = qobject_cast<CAboutDlg*>(widget); about && about->isVisible())
            about->reject();
}
