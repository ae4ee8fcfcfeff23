// Downloads from the service's pages: the link rules and the offered name, the program's HTTP
// download (bytes, cancel, failures, no partial file), and a link clicked in the dialog.
#include "BrowserTestSupport.h"

#include "support/HttpClient.h"
#include "support/TestProgress.h"
#include "support/TestSupport.h"
#include "web/DownloadLink.h"
#include "web/FileDownload.h"

#include <QDir>

using namespace browsertest;

TEST(DownloadLinkTest, LinksVerdictsAndNames) {
    const auto link = ParseDownloadLink(
        QUrl("http://127.0.0.1:8645/ringtones/ab12/My%20Song.ogg?client_direct_download=1#x"));
    ASSERT_TRUE(link);
    EXPECT_EQ(link->address, "http://127.0.0.1:8645/ringtones/ab12/My%20Song.ogg");
    EXPECT_EQ(link->fileName, "My Song.ogg");
    // The marker counts only in the query; a path without "/" names the file by itself.
    EXPECT_FALSE(ParseDownloadLink(QUrl("http://h/client_direct_download/x.ogg?a=1")));
    EXPECT_FALSE(ParseDownloadLink(QUrl("file:///x.ogg?client_direct_download=1")));
    EXPECT_EQ(ParseDownloadLink(QUrl("http://h?x=client_direct_download"))->fileName, "");

    EXPECT_EQ(JudgeNavigation(QUrl("https://h/page")), NavigationVerdict::Follow);
    EXPECT_EQ(JudgeNavigation(QUrl("about:blank")), NavigationVerdict::Follow);
    EXPECT_EQ(JudgeNavigation(QUrl("http://h/a.ogg?client_direct_download")),
              NavigationVerdict::Download);
    for (const char* refused : {"file:///etc/passwd", "data:text/html,x", "javascript:alert(1)",
                                "ftp://h/x", "about:config", "blob:http://h/1"})
        EXPECT_EQ(JudgeNavigation(QUrl(refused)), NavigationVerdict::Refuse) << refused;

    // An offered name never leaves the chosen folder nor hides itself.
    EXPECT_EQ(SanitizeDownloadName("../../etc/passwd"), "_.._etc_passwd");
    EXPECT_EQ(SanitizeDownloadName("..\\..\\boot.ini"), "_.._boot.ini");
    EXPECT_EQ(SanitizeDownloadName("...hidden.ogg"), "hidden.ogg");
    EXPECT_EQ(SanitizeDownloadName(QString::fromUtf8("a\x01\tb\nc\x7f.ogg")), "abc.ogg");
    EXPECT_EQ(SanitizeDownloadName(" . "), "ringtone");
    EXPECT_EQ(SanitizeDownloadName(""), "ringtone");
    // 255 bytes of UTF-8 at most, cut between whole characters ("ü" is 2 bytes, "𝄞" is 4).
    const QString longName = QString(200, QChar(0xFC)) + QStringLiteral(".ogg");
    const QString cut = SanitizeDownloadName(longName);
    EXPECT_EQ(cut.toUtf8().size(), 254);
    EXPECT_EQ(cut, QString(127, QChar(0xFC)));
    const QString clefs = SanitizeDownloadName(QString::fromUtf8("\xF0\x9D\x84\x9E").repeated(70));
    EXPECT_EQ(clefs.toUtf8().size(), 252);
    EXPECT_TRUE(clefs.isValidUtf16());
}

class FileDownloadTest : public BrowserTest {
protected:
    // The folder's entries: a download leaves the target or nothing at all.
    QStringList Entries() const {
        return QDir(m_folder.path())
            .entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden);
    }
    QString Target() const { return m_folder.filePath("saved.ogg"); }

    CServiceProcess m_service;
    QTemporaryDir m_folder;
};

TEST_F(FileDownloadTest, BytesArriveWholeAndFailuresLeaveNothing) {
    ASSERT_TRUE(m_service.started());
    // Large enough for many pieces: the inbox page of the service.
    const HttpReply expected = HttpGet(m_service.url("/help"));
    ASSERT_EQ(expected.status, 200);
    ASSERT_GT(expected.body.size(), 4096u);
    testsupport::CTestProgress progress;
    EXPECT_EQ(DownloadFile(QString::fromStdString(m_service.url("/help")), "http://page/", Target(),
                           progress, m_messages),
              DownloadOutcome::Done);
    EXPECT_EQ(testsupport::ReadBytes(Target()).toStdString(), expected.body);
    EXPECT_EQ(Entries(), QStringList{"saved.ogg"});
    EXPECT_EQ(m_messages.seen(), std::vector<QString>{"info: Ringtone downloaded successfully."});
    EXPECT_EQ(progress.calls("text"), std::vector<std::string>{"text 209"});
    EXPECT_EQ(progress.calls("sub"), (std::vector<std::string>{"sub 120", "sub 216"}));
    EXPECT_EQ(progress.positions().back(), uint32_t(expected.body.size()));
    ASSERT_TRUE(QFile::remove(Target()));

    // Cancelled while it runs: no file, no message.
    testsupport::CTestProgress cancelling(4);
    EXPECT_EQ(DownloadFile(QString::fromStdString(m_service.url("/help")), "", Target(), cancelling,
                           m_messages),
              DownloadOutcome::Cancelled);
    EXPECT_EQ(Entries(), QStringList());
    EXPECT_EQ(m_messages.seen().size(), 1u);

    // A missing page and a dead server: the person is told, the folder stays empty.
    testsupport::CTestProgress quiet;
    EXPECT_EQ(DownloadFile(QString::fromStdString(m_service.url("/ringtones/00/none.ogg")), "",
                           Target(), quiet, m_messages),
              DownloadOutcome::Failed);
    const int port = m_service.port();
    m_service.stop(SIGTERM);
    EXPECT_EQ(DownloadFile(QStringLiteral("http://127.0.0.1:%1/help").arg(port), "", Target(),
                           quiet, m_messages),
              DownloadOutcome::Failed);
    EXPECT_EQ(Entries(), QStringList());
    const auto seen = m_messages.seen();
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[1], "error: Error downloading ringtone: Error downloading ringtone..");
    EXPECT_TRUE(seen[2].startsWith("error: Internet error: ")) << seen[2].toStdString();
}

#if QUILLET_WITH_WEBENGINE
TEST_F(FileDownloadTest, LinkClickedInTheDialogSavesTheChosenFile) {
    ASSERT_TRUE(m_service.started());
    QWidget host;
    CBrowserDlg dialog(&host, m_messages);
    QString proposed;
    dialog.downloads().setChooser([&](const QString& path, const QString& filter) {
        proposed = path;
        EXPECT_TRUE(filter.endsWith(";;All Files (*)")) << filter.toStdString();
        return Target();
    });
    ASSERT_TRUE(Load(dialog, m_service.url("/")));
    const QUrl page = dialog.page()->url();
    RunJs(dialog, "var a = document.createElement('a'); a.href = "
                  "'/help?language=de&client_direct_download=1'; document.body.appendChild(a); "
                  "a.click(); 1");
    ASSERT_TRUE(WaitUntil([&] { return !m_messages.seen().empty(); }));
    // The query is not sent: the English help, saved under the link's last path piece.
    EXPECT_EQ(testsupport::ReadBytes(Target()).toStdString(), HttpGet(m_service.url("/help")).body);
    EXPECT_TRUE(proposed.endsWith("/help")) << proposed.toStdString();
    EXPECT_EQ(CBrowserDownload::LastFolder(), m_folder.path());
    EXPECT_EQ(dialog.page()->url(), page);

    // Giving up in the save dialog: nothing happens at all.
    dialog.downloads().setChooser([](const QString&, const QString&) { return QString(); });
    EXPECT_EQ(
        dialog.downloads().start(
            QUrl(QString::fromStdString(m_service.url("/help?client_direct_download"))), page),
        DownloadOutcome::Cancelled);
    EXPECT_EQ(m_messages.seen().size(), 1u);
}
#endif
