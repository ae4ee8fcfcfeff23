// The window's beam command against a running quillet-service, finished in the embedded browser
// by the test acting as the person on the service's page: sent (with and without a payment), the
// service failing once the page is shown, the dialog closed or the transfer cancelled mid-way.
// Without the web engine: finished in the desktop's browser.
#include "WindowTestSupport.h"
#include "skin/CommandEvent.h"
#include "support/BeamTestSupport.h"
#include "ui/ProgressDlg.h"

#include <QPainter>

using namespace windowtest;
using namespace Qt::StringLiterals;

namespace {

// The person on the transfer page: pays when asked, else types the number and sends. The value
// tells whether the page's own script found the program's external object.
constexpr char kSend[] = R"(var phone = document.getElementById('phone');
if (phone) phone.value = '+447700900123';
document.querySelector('form.line').submit();
document.getElementById('outside').hidden)";
constexpr char kCancelOnPage[] = "document.querySelector('form[action$=\"cancel\"]').submit()";
constexpr char kInbox[] = "/inbox?phone=%2B447700900123";

class BeamFromWindowTest : public WindowTest {
protected:
    // A service with the switches, and a window on a 25-second input with its proposed selection
    // whose progress is the real window's dialog.
    void startWindow(const std::vector<std::string>& switches) {
        m_dlg.reset();
        m_service = std::make_unique<CServiceProcess>(switches);
        ASSERT_TRUE(m_service->started());
        GetConfig().SetUploadUrl(beamtest::UploadUrl(*m_service));
        GetConfig().SetHelpUrl(QString::fromStdString(m_service->url("/help")));
        testsupport::WriteToneWav(file(u"Song.wav"_s), 25.0);
        m_dlg = start(file(u"Song.wav"_s));
        CQuilletDlg* dlg = m_dlg.get();
        m_dlg->ctrl().setProgressFactory([dlg](int title) -> std::unique_ptr<IOpProgress> {
            return std::make_unique<CProgressDlg>(dlg, title);
        });
        m_idle = enabled(*m_dlg);
    }
    // Presses beam with the person acting on the page; once the beam is over, checks that the
    // window is idle again (its buttons as before, no dialog left open). The transfer pages the
    // person acted on, and the addresses given to the desktop.
    std::pair<int, QList<QUrl>> beam(const Person::Act& act) {
        Person person(act);
        Click(m_dlg->ctrl().control(CQuilletCtrl::CmdBeam)); // returns when the beam is over
        EXPECT_EQ(m_dlg->ctrl().model().getState(), CRingtoneModel::State::Idle);
        EXPECT_EQ(enabled(*m_dlg), m_idle);
        EXPECT_FALSE(m_dlg->ctrl().isBrowserOpen());
        EXPECT_NE(person.dialog, nullptr) << "the browser never opened";
        EXPECT_TRUE(person.dialog && !person.dialog->isVisible());
        EXPECT_EQ(uitest::FindTopLevel<CProgressDlg>(), nullptr);
        return {person.pages, person.opened};
    }
#if QUILLET_WITH_WEBENGINE
    // Runs the script on the page; its value lands in result.
    static void run(CBrowserDlg& dialog, const char* script, QVariant* result = nullptr) {
        dialog.page()->runJavaScript(QString::fromLatin1(script), [result](const QVariant& value) {
            if (result)
                *result = value;
        });
    }
#endif
    bool inboxHasSong() const {
        return HttpGet(m_service->url(kInbox)).body.find("Song") != std::string::npos;
    }

    std::unique_ptr<CServiceProcess> m_service;
    std::unique_ptr<CQuilletDlg> m_dlg;
    std::vector<int> m_idle;
};

#if QUILLET_WITH_WEBENGINE
TEST_F(BeamFromWindowTest, SentOnThePageLandsInThePhonesInbox) {
    for (const bool payment : {false, true}) {
        startWindow(payment ? std::vector<std::string>{"--payment"} : std::vector<std::string>{});
        QVariant inside;
        const auto [pages, opened] = beam([&](CBrowserDlg& dialog, const QUrl&, int page) {
            // The help button goes to the main window, which opens the service's help page.
            if (page == 1)
                Click(dialog.button(CBrowserDlg::IdHelp));
            if (const QString shots = qEnvironmentVariable("QUILLET_SCREENSHOT_DIR");
                !shots.isEmpty() && !payment) {
                QTest::qWait(500); // the page painted: the dialog as it lies over the window
                QPixmap shot = m_dlg->grab();
                QPainter(&shot).drawPixmap(dialog.pos() - m_dlg->pos(), dialog.grab());
                shot.save(shots + u"/beam-in-browser.png"_s);
            }
            run(dialog, kSend, &inside);
        });
        EXPECT_EQ(pages, payment ? 2 : 1);
        EXPECT_TRUE(m_messages.errors.isEmpty()) << m_messages.errors.join(u'\n').toStdString();
        EXPECT_TRUE(inboxHasSong()) << payment;
        EXPECT_TRUE(WaitFor([&] { return inside.isValid(); }));
        EXPECT_EQ(inside, QVariant(true));
        ASSERT_EQ(opened, QList<QUrl>{QUrl(GetConfig().GetHelpUrl())});
        EXPECT_NE(HttpGet(opened[0].toString().toStdString()).body.find("Quillet help"),
                  std::string::npos);
    }
}

TEST_F(BeamFromWindowTest, ServiceFailingOnceThePageShowsEndsWithItsMessage) {
    const std::pair<std::vector<std::string>, QString> cases[] = {
        {{"--fail-phase", "2", "--fail-status", "510"},
         FormatString(126, u"Service unavailable"_s)},
        {{"--no-status", "2"}, FormatString(126, LoadString(127))},
        {{"--fail-phase", "2"}, QString()}, // 500 to 509 there: the person's cancel
    };
    for (const auto& [switches, message] : cases) {
        m_messages.errors.clear();
        startWindow(switches);
        beam([](CBrowserDlg&, const QUrl&, int) {});
        EXPECT_EQ(m_messages.errors, message.isEmpty() ? QStringList() : QStringList{message});
        EXPECT_FALSE(inboxHasSong());
    }
}

TEST_F(BeamFromWindowTest, ClosedOrCancelledMidwayEndsQuietlyAndTheNextBeamSends) {
    startWindow({});
    // The dialog's cancel: the program leaves the held answer.
    EXPECT_EQ(beam([](CBrowserDlg& dialog, const QUrl&, int) {
                  CCommandEvent cancel(CBrowserDlg::IdCancel, CCommandEvent::NotifyClicked,
                                       nullptr);
                  QApplication::sendEvent(&dialog, &cancel);
              }).first,
              1);
    EXPECT_TRUE(m_service->waitForLog("hold ended: the client went away"));
    // The page's cancel: the service ends the transfer.
    beam([](CBrowserDlg& dialog, const QUrl&, int) { run(dialog, kCancelOnPage); });
    EXPECT_TRUE(m_service->waitForLog("cancelled on the page"));
    EXPECT_TRUE(m_messages.errors.isEmpty()) << m_messages.errors.join(u'\n').toStdString();
    EXPECT_FALSE(inboxHasSong());
    // Nothing of either is left over: the same window beams again and sends.
    beam([](CBrowserDlg& dialog, const QUrl&, int) { run(dialog, kSend); });
    EXPECT_TRUE(inboxHasSong());
}

#else
TEST_F(BeamFromWindowTest, WithoutTheEngineThePageIsFinishedInTheDesktopsBrowser) {
    startWindow({});
    const auto [pages, opened] = beam([](CBrowserDlg& dialog, const QUrl& page, int) {
        EXPECT_TRUE(dialog.isActive());
        beamtest::SendToPhone(page.toString(), "+447700900123");
    });
    EXPECT_EQ(pages, 1);
    EXPECT_TRUE(m_messages.errors.isEmpty()) << m_messages.errors.join(u'\n').toStdString();
    EXPECT_TRUE(inboxHasSong());
}
#endif

} // namespace
