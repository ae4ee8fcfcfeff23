// A beam finished in the dialog as a person would: the upload opens the dialog on the service's
// transfer page, the person types the number and sends (or closes the dialog), the upload ends.
#include "BrowserTestSupport.h"

#include "skin/CommandEvent.h"
#include "support/BeamTestSupport.h"
#include "web/UploadClient.h"

#include <QWebEngineView>

using namespace browsertest;

#if QUILLET_WITH_WEBENGINE
namespace {

class BeamInBrowserTest : public BrowserTest {
protected:
    void SetUp() override {
        BrowserTest::SetUp();
        ASSERT_TRUE(m_service.started());
        GetConfig().SetUploadUrl(beamtest::UploadUrl(m_service));
        GetConfig().SetProxy(QString());
        beamtest::MakeRingtone(m_ringtone, 3000);
        m_host = std::make_unique<QWidget>();
        m_host->setGeometry(100, 80, 800, 500);
        m_host->show();
    }
    // Runs the upload on its own thread until the dialog shows the transfer page, then lets
    // act play the person; the upload's outcome.
    UploadThreadParams Beam(CBrowserDlg& dialog, const std::function<void()>& act) {
        testsupport::CTestProgress progress;
        UploadThreadParams params{m_ringtone, "MySong", &progress, &dialog};
        std::atomic<bool> ended{false};
        const QUrl before = dialog.page()->url(); // the page of an earlier beam, if any
        std::thread upload([&] {
            uploadFile(params);
            ended = true;
        });
        const bool shown = WaitUntil(
            [&] {
                return dialog.isActive() && !dialog.page()->isLoading() &&
                       dialog.page()->url() != before && dialog.page()->url().path() == "/transfer";
            },
            60000);
        EXPECT_TRUE(shown);
        if (shown)
            act();
        if (!WaitUntil([&] { return ended.load(); }, 60000)) {
            ADD_FAILURE() << "the upload did not end";
            progress.cancel = true; // it stops at the next server line or poll
        }
        upload.join();
        return params;
    }

    CServiceProcess m_service;
    std::unique_ptr<QWidget> m_host; // once the application exists
    QString m_ringtone = file("temp.upl");
};

} // namespace

TEST_F(BeamInBrowserTest, ThePersonSendsOrClosesTheDialog) {
    CBrowserDlg dialog(m_host.get(), m_messages);
    // Closed mid-way: the beam ends as cancelled, without a message.
    UploadThreadParams closed = Beam(dialog, [&] {
        CCommandEvent cancel(CBrowserDlg::IdCancel, CCommandEvent::NotifyClicked, nullptr);
        QApplication::sendEvent(&dialog, &cancel);
    });
    EXPECT_FALSE(closed.result);
    EXPECT_TRUE(closed.errorText.isEmpty()) << closed.errorText.toStdString();
    EXPECT_FALSE(dialog.isVisible());

    // Sent: the page knows it runs inside the program, the phone's inbox has the ringtone.
    UploadThreadParams sent = Beam(dialog, [&] {
        EXPECT_EQ(RunJs(dialog, "document.getElementById('outside').hidden").toBool(), true);
        RunJs(dialog, "document.getElementById('phone').value = '+447700900123';"
                      "document.querySelector('form.line').submit(); 1");
    });
    EXPECT_TRUE(sent.result) << sent.errorText.toStdString();
    EXPECT_FALSE(dialog.isActive());
    EXPECT_FALSE(dialog.isVisible());
    const HttpReply inbox = HttpGet(m_service.url("/inbox?phone=%2B447700900123"));
    EXPECT_NE(inbox.body.find("MySong"), std::string::npos);
}
#endif
