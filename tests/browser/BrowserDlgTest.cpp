// The browser dialog with Qt WebEngine itself, offscreen, on the pages of a running service: the
// external object, the navigation rules, no new windows, the keys, cancel, placement.
#include "BrowserTestSupport.h"

#include "app/IOpProgress.h"
#include "skin/CommandEvent.h"
#include "skin/SkinParser.h"
#include "support/TestProgress.h"

#include <QKeyEvent>
#include <QWheelEvent>

using namespace browsertest;

#if QUILLET_WITH_WEBENGINE
namespace {

// A widget inside the dialog that counts the input reaching it.
class InputProbe : public QWidget {
public:
    using QWidget::QWidget;
    QStringList seen;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        seen << QKeySequence(event->keyCombination()).toString();
    }
    void wheelEvent(QWheelEvent*) override { seen << QStringLiteral("wheel"); }
};

// The main window: it records the commands the dialog sends it.
class HostWindow : public QWidget {
public:
    std::vector<int> commands;

protected:
    bool event(QEvent* event) override {
        if (event->type() == CCommandEvent::EventType) {
            commands.push_back(static_cast<CCommandEvent*>(event)->id());
            return true;
        }
        return QWidget::event(event);
    }
};

class BrowserDlgTest : public BrowserTest {
protected:
    void SetUp() override {
        BrowserTest::SetUp();
        ASSERT_TRUE(m_service.started());
        m_host = std::make_unique<HostWindow>();
        m_host->setGeometry(100, 80, 800, 500);
        m_host->show();
        m_dialog = new CBrowserDlg(m_host.get(), m_messages);
        CSkinParser parser;
        ASSERT_TRUE(parser.init(ShippedSkinsFolder() + QStringLiteral("en/__default.sdf"),
                                QStringLiteral("PP_SDF")));
        ASSERT_TRUE(m_dialog->loadSkin(parser));
        m_dialog->applySkin();
    }
    void TearDown() override {
        delete m_dialog;
        m_host.reset();
        BrowserTest::TearDown();
    }
    // Opens the dialog as the upload does and waits for the page.
    void OpenAt(const std::string& path, IOpProgress* progress = nullptr) {
        bool loaded = false;
        auto c = QObject::connect(m_dialog->page(), &QWebEnginePage::loadFinished,
                                  [&](bool ok) { loaded = ok; });
        m_dialog->Open(QString::fromStdString(m_service.url(path)), {300, 200, 776, 400}, progress);
        ASSERT_TRUE(WaitUntil([&] { return loaded; }));
        QObject::disconnect(c);
    }

    CServiceProcess m_service;
    std::unique_ptr<HostWindow> m_host;
    CBrowserDlg* m_dialog = nullptr;
};

} // namespace

TEST_F(BrowserDlgTest, PageSeesTheExternalObjectAndTheDialogLiesOverTheWindow) {
    OpenAt("/");
    EXPECT_TRUE(m_dialog->isActive());
    EXPECT_EQ(RunJs(*m_dialog, "window.external.xxyyzz").toString(), "Wibble");
    // Only the first three characters count, as the host compares names.
    EXPECT_EQ(RunJs(*m_dialog, "window.external.xxyAnything").toString(), "Wibble");
    EXPECT_EQ(RunJs(*m_dialog, "(function(){try{return String(window.external.print);}"
                               "catch(e){return e.name;}})()")
                  .toString(),
              "ReferenceError");
    // A page cannot replace it.
    EXPECT_EQ(RunJs(*m_dialog, "window.external = 1; window.external.xxyyzz").toString(), "Wibble");

    // Placed at the given corner with the skin's size; the page in the skin's rectangle.
    EXPECT_EQ(m_dialog->geometry(), QRect(300, 200, 800, 460));
    EXPECT_EQ(m_dialog->browserWidget()->geometry(), QRect(12, 48, 776, 400));
    EXPECT_EQ(m_dialog->view()->contextMenuPolicy(), Qt::NoContextMenu);
    // Moving the dialog takes the main window along.
    m_dialog->move(320, 210);
    EXPECT_TRUE(WaitUntil([&] { return m_host->frameGeometry().topLeft() == QPoint(320, 210); }));

    // A look for a person: the dialog on the service's help page.
    ASSERT_TRUE(Load(*m_dialog, m_service.url("/help")));
    WaitUntil([] { return false; }, 500); // painted
    const QString shot = QStringLiteral(QUILLET_BIN_DIR "/../tests/browser-dialog.png");
    EXPECT_TRUE(m_dialog->grab().save(shot));
}

TEST_F(BrowserDlgTest, NavigationRulesHoldAndNoWindowOpens) {
    OpenAt("/");
    const QUrl home = m_dialog->page()->url();
    const QStringList hostile = {"file:///etc/passwd", "data:text/html,<b>x</b>",
                                 "ftp://127.0.0.1/x", "quillet-test:anything"};
    for (const QString& address : hostile) {
        RunJs(*m_dialog, QStringLiteral("location.href = '%1'; 1").arg(address));
        WaitUntil([] { return false; }, 300);
        EXPECT_EQ(m_dialog->page()->url(), home) << address.toStdString();
    }
    // The engine stops those itself; what reaches the hook (here from the program) it refuses.
    for (const char* address : {"file:///etc/hostname", "data:text/html,<b>x</b>"}) {
        m_dialog->navigate(address);
        EXPECT_TRUE(WaitUntil([&] {
            return !m_dialog->page()->refused().isEmpty() &&
                   m_dialog->page()->refused().constLast() == QUrl(address);
        })) << address;
    }
    WaitUntil([] { return false; }, 300);
    EXPECT_EQ(m_dialog->page()->url(), home);
    // A page cannot read local files either.
    EXPECT_EQ(RunJs(*m_dialog, "var r = new XMLHttpRequest(); try { r.open('GET', "
                               "'file:///etc/hostname', false); r.send(); 'read ' + r.status; }"
                               " catch (e) { 'refused'; }")
                  .toString(),
              "refused");

    // window.open gives nothing; a target=_blank link stays without a window.
    const int topLevels = int(QApplication::topLevelWidgets().size());
    EXPECT_EQ(RunJs(*m_dialog, "window.open('/inbox') === null").toBool(), true);
    RunJs(*m_dialog, "var a = document.createElement('a'); a.href = '/inbox'; a.target = "
                     "'_blank'; document.body.appendChild(a); a.click(); 1");
    WaitUntil([] { return false; }, 500);
    EXPECT_EQ(int(QApplication::topLevelWidgets().size()), topLevels);
    EXPECT_EQ(m_dialog->page()->url(), home);

    // An ordinary link is followed.
    ASSERT_TRUE(Load(*m_dialog, m_service.url("/inbox")));
    EXPECT_EQ(m_dialog->page()->url().path(), "/inbox");
}

TEST_F(BrowserDlgTest, KeysAreFilteredAndCancelEndsTheBeam) {
    testsupport::CTestProgress progress;
    OpenAt("/", &progress);
    auto* probe = new InputProbe(m_dialog);
    auto key = [&](int code, Qt::KeyboardModifiers modifiers = {}) {
        QKeyEvent press(QEvent::KeyPress, code, modifiers);
        QApplication::sendEvent(probe, &press);
    };
    key(Qt::Key_F5);
    key(Qt::Key_N, Qt::ControlModifier);
    key(Qt::Key_Refresh);
    key(Qt::Key_Back);
    key(Qt::Key_A);
    key(Qt::Key_F1);
    for (auto modifiers : {Qt::ControlModifier, Qt::NoModifier}) {
        QWheelEvent wheel(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, 120), Qt::NoButton,
                          modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(probe, &wheel);
    }
    EXPECT_EQ(probe->seen, QStringList({"A", "wheel"}));
    // F1 asks the main window for help.
    EXPECT_TRUE(WaitUntil([&] { return !m_host->commands.empty(); }));
    EXPECT_EQ(m_host->commands, std::vector<int>{CBrowserDlg::IdHelp});

    // The about button goes to the main window; cancel hides the dialog and tells the beam.
    CCommandEvent about(CBrowserDlg::IdAbout, CCommandEvent::NotifyClicked, nullptr);
    QApplication::sendEvent(m_dialog, &about);
    EXPECT_EQ(m_host->commands.back(), CBrowserDlg::IdAbout);
    EXPECT_FALSE(m_dialog->IsClosed());
    CCommandEvent cancel(CBrowserDlg::IdCancel, CCommandEvent::NotifyClicked, nullptr);
    QApplication::sendEvent(m_dialog, &cancel);
    EXPECT_TRUE(m_dialog->IsClosed());
    EXPECT_TRUE(m_dialog->wasCancelled());
    EXPECT_FALSE(m_dialog->isVisible());
    EXPECT_EQ(progress.calls(), (std::vector<std::string>{"text 125", "show 1"}));
    m_dialog->ResetClosed();
    EXPECT_FALSE(m_dialog->IsClosed());
}

TEST_F(BrowserDlgTest, UploadThreadOpensAndHidesTheDialog) {
    // The upload's calls come from its own thread and wait for the window's.
    const QPoint hostOrigin = m_host->frameGeometry().topLeft();
    QPoint origin;
    std::atomic<bool> done{false};
    std::thread upload([&] {
        origin = m_dialog->HostOrigin();
        m_dialog->Open(QString::fromStdString(m_service.url("/")), {50, 60, 776, 400}, nullptr);
        EXPECT_TRUE(m_dialog->isActive());
        m_dialog->Hide();
        done = true;
    });
    EXPECT_TRUE(WaitUntil([&] { return done.load(); }));
    upload.join();
    EXPECT_EQ(origin, hostOrigin);
    EXPECT_FALSE(m_dialog->isActive());
    EXPECT_FALSE(m_dialog->isVisible());
    EXPECT_EQ(m_dialog->pos(), QPoint(50, 60));
    // The main window went under the dialog.
    EXPECT_EQ(m_host->frameGeometry().topLeft(), QPoint(50, 60));
}
#endif
