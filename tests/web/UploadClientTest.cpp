// The upload and the three phases of beaming against the reference service and a scripted
// server: every answer branch, the failure texts, cancel, the proxy and the bytes sent.
#include "web/UploadClient.h"

#include "app/ConfigFile.h"
#include "app/StringTable.h"
#include "support/BeamTestSupport.h"
#include "support/TraceCapture.h"
#include "web/AnswerLine.h"
#include "web/ExternalBrowser.h"
#include "web/UploadRequest.h"

#include <QFile>
#include <QRegularExpression>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>

using namespace beamtest;

namespace {

const QString kRingtoneName = QStringLiteral("My Song.mp3");

// One upload run on a thread of its own, as the program's upload thread; the test thread plays
// the person. A run left waiting is cancelled when it goes away.
class CUploadRun {
public:
    explicit CUploadRun(const QString& ringtone)
        : m_client(ringtone, kRingtoneName, progress, &browser) {}
    ~CUploadRun() {
        progress.cancel = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    void start(const QString& uploadUrl) {
        GetConfig().SetUploadUrl(uploadUrl);
        m_thread = std::thread([this] { m_result = m_client.run(); });
    }
    bool finish() {
        m_thread.join();
        return m_result;
    }
    QString error() const { return m_client.errorText(); }
    bool cancelledOnPage() const { return m_client.cancelledOnPage(); }
    void setIdleTimeout(std::chrono::milliseconds timeout) { m_client.setIdleTimeout(timeout); }

    CTestProgress progress;
    CTestBrowser browser;

private:
    CUploadClient m_client;
    std::thread m_thread;
    bool m_result = false;
};

class UploadClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_config.isValid() && m_files.isValid());
        GetConfig().SetConfigFolder(m_config.path());
        GetConfig().Clear();
        GetConfig().SetDefaults();
        GetConfig().SetProxy(QString());
        MakeRingtone(m_ringtone, 10000);
    }
    void TearDown() override {
        GetConfig().Clear();
        GetConfig().SetDefaults();
        GetConfig().SetConfigFolder(QString());
    }
    // The error text of a run against the service with these switches that ends by itself;
    // opened tells whether the browser was opened.
    QString failureWith(const std::vector<std::string>& switches, bool* opened = nullptr) {
        CServiceProcess service(switches);
        EXPECT_TRUE(service.started());
        CUploadRun run(m_ringtone);
        run.start(UploadUrl(service));
        EXPECT_FALSE(run.finish()) << switches[0];
        if (opened)
            *opened = !run.browser.opened().empty();
        return run.error();
    }
    static QString beamError(int id) { return FormatString(126, LoadString(id)); }

    QTemporaryDir m_config;
    QTemporaryDir m_files;
    QString m_ringtone = m_files.filePath(QStringLiteral("temp.upl"));
};

} // namespace

TEST(AnswerLine, KeywordsStatusLinesAndSizes) {
    QString value;
    EXPECT_TRUE(CAnswerLine::keyword(QStringLiteral("token: a b "), "TOKEN:", value));
    EXPECT_EQ(value, QStringLiteral(" a b ")); // the value is not trimmed
    EXPECT_FALSE(CAnswerLine::keyword(QStringLiteral(" TOKEN:x"), "TOKEN:", value));

    int code = 0;
    QString text;
    EXPECT_TRUE(CAnswerLine::status(QStringLiteral("503 Service unavailable"), code, text));
    EXPECT_EQ(std::pair(code, text), std::pair(503, QStringLiteral("Service unavailable")));
    EXPECT_TRUE(CAnswerLine::status(QStringLiteral("999 "), code, text));
    EXPECT_TRUE(text.isEmpty());
    for (const char* other : {"200", "099 low", "1000 long", "2a0 x", "200-OK", " 20 x"})
        EXPECT_FALSE(CAnswerLine::status(QString::fromLatin1(other), code, text)) << other;

    int width = 0, height = 0;
    EXPECT_TRUE(CAnswerLine::size(QStringLiteral("12 x 7"), width, height));
    EXPECT_EQ(std::pair(width, height), std::pair(12, 7));
    for (const char* bad : {"0x480", "640x0", "640", "640X480", "x480", ""})
        EXPECT_FALSE(CAnswerLine::size(QString::fromLatin1(bad), width, height)) << bad;
    EXPECT_EQ(CAnswerLine::leadingInt(u" -42abc"), -42);
    EXPECT_EQ(CAnswerLine::leadingInt(u"99999999999"), INT_MAX);
}

TEST_F(UploadClientTest, SendsTheRingtoneToThePhoneThePersonEnters) {
    CServiceProcess service;
    ASSERT_TRUE(service.started());
    CUploadRun run(m_ringtone);
    run.start(UploadUrl(service));

    ASSERT_TRUE(run.browser.waitForOpen());
    const CTestBrowser::Opened opened = run.browser.opened().front();
    EXPECT_TRUE(opened.url.startsWith(QString::fromStdString(service.url("/transfer?"))));
    SendToPhone(opened.url, "5550123");
    EXPECT_TRUE(run.finish());
    EXPECT_TRUE(run.error().isEmpty());
    EXPECT_GE(run.browser.hides, 1);
    EXPECT_NE(HttpGet(service.url("/inbox?phone=5550123")).body.find("My Song.ogg"),
              std::string::npos);

    // Progress: the texts, the body's range, one position per 16384-byte chunk, then the
    // progress gives way to the browser.
    const std::vector<std::string> calls = run.progress.calls();
    ASSERT_GE(calls.size(), 8u);
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 5),
              (std::vector<std::string>{"range 0", "text 119", "sub 120", "sub 109",
                                        calls[4].rfind("range ", 0) == 0 ? calls[4] : "range N"}));
    const uint32_t body = uint32_t(std::stoul(calls[4].substr(6)));
    EXPECT_GT(body, uint32_t(QFile(m_ringtone).size()));
    const std::vector<std::string> positions = run.progress.calls("pos ");
    ASSERT_EQ(positions.size(), (body + 16383) / 16384);
    for (size_t i = 0; i + 1 < positions.size(); ++i)
        EXPECT_EQ(positions[i], "pos " + std::to_string((i + 1) * 16384));
    EXPECT_EQ(positions.back(), "pos " + std::to_string(body));
    EXPECT_EQ(run.progress.calls("sub ").back(), "sub 168");
    EXPECT_EQ(calls.back(), "show 0");
}

TEST_F(UploadClientTest, PaymentMakesALaterEndASuccess) {
    for (const bool stopService : {false, true}) {
        CServiceProcess service({"--payment"});
        ASSERT_TRUE(service.started());
        CUploadRun run(m_ringtone);
        run.start(UploadUrl(service));
        ASSERT_TRUE(run.browser.waitForOpen());
        const QString page = run.browser.opened().front().url;
        PageAction(page, "pay");
        ASSERT_TRUE(service.waitForLog("> 450 Payment done"));
        if (stopService)
            service.stop(
                SIGTERM); // the answer ends without a status line: communication interrupted
        else
            PageAction(page, "cancel"); // 500: the person's cancel
        EXPECT_TRUE(run.finish()) << stopService;
    }
}

TEST_F(UploadClientTest, CancelOnThePageOrAClosedBrowserEndsWithoutAMessage) {
    CServiceProcess service;
    ASSERT_TRUE(service.started());
    for (const bool closeBrowser : {false, true}) {
        CUploadRun run(m_ringtone);
        run.start(UploadUrl(service));
        ASSERT_TRUE(run.browser.waitForOpen());
        ASSERT_TRUE(run.progress.waitForCall("show 0")); // the progress gave way to the browser
        if (closeBrowser)
            run.browser.Close(); // the service sends nothing more: the wait itself must end
        else
            PageAction(run.browser.opened().front().url, "cancel");
        EXPECT_FALSE(run.finish());
        EXPECT_TRUE(run.error().isEmpty());
        EXPECT_TRUE(run.cancelledOnPage());
        if (closeBrowser) {
            const std::vector<std::string> calls = run.progress.calls();
            EXPECT_EQ(std::vector<std::string>(calls.end() - 2, calls.end()),
                      (std::vector<std::string>{"text 125", "show 1"}));
        }
    }
}

TEST_F(UploadClientTest, FailuresOfThePhasesShowTheirTexts) {
    const QString unavailable = FormatString(126, QStringLiteral("Service unavailable"));
    struct Case {
        std::vector<std::string> switches;
        QString error;
        bool opened;
    };
    const std::vector<Case> cases = {
        {{"--fail-phase", "0"}, unavailable, false},
        {{"--fail-phase", "1", "--fail-status", "599"}, unavailable, false},
        {{"--fail-phase", "2", "--fail-status", "510"}, unavailable, true},
        {{"--fail-phase", "2", "--fail-status", "509"}, QString(), true}, // the person's cancel
        {{"--no-status", "0"}, beamError(127), false},
        {{"--no-status", "1"}, beamError(127), false},
        {{"--no-status", "2"}, beamError(127), true},
        {{"--size", "0x480"}, beamError(130), false},
        {{"--size", "640x0"}, beamError(130), false},
        {{"--size", "640"}, beamError(130), false},
        {{"--missing-params"}, beamError(130), false},
    };
    for (const Case& c : cases) {
        bool opened = false;
        EXPECT_EQ(failureWith(c.switches, &opened), c.error) << c.switches[0] << c.switches.back();
        EXPECT_EQ(opened, c.opened) << c.switches[0] << c.switches.back();
    }
}

TEST_F(UploadClientTest, CancelDuringTheUploadStopsBeforeTheNextChunk) {
    CServiceProcess service;
    ASSERT_TRUE(service.started());
    CUploadRun run(m_ringtone);
    run.progress.cancelAtPos = 16384;
    run.start(UploadUrl(service));
    EXPECT_FALSE(run.finish());
    EXPECT_TRUE(run.error().isEmpty());
    EXPECT_EQ(run.progress.calls("pos "), std::vector<std::string>{"pos 16384"});
    EXPECT_NE(HttpGet(service.url("/")).body.find("0 ringtone(s) received"), std::string::npos);
}

TEST_F(UploadClientTest, AnUnreachableServerAsksForAConnection) {
    CUploadRun run(m_ringtone);
    run.start(QStringLiteral("http://127.0.0.1:%1%2").arg(UnusedPort()).arg(kUploadPath));
    EXPECT_FALSE(run.finish());
    EXPECT_EQ(run.error(), LoadString(180));
}

TEST_F(UploadClientTest, AConnectionDroppedDuringTheUploadIsAnInternetError) {
    const QString error = failureWith({"--drop-upload", "20000"});
    EXPECT_TRUE(error.startsWith(QStringLiteral("Internet error: "))) << error.toStdString();
    EXPECT_GT(error.size(), LoadString(159).size() + 5);
}

TEST_F(UploadClientTest, BadUploadUrlsAndAMissingRingtone) {
    for (const char* url : {"ftp://127.0.0.1/php/x", "http:///php/x", "no url at all"}) {
        CUploadRun run(m_ringtone);
        run.start(QString::fromLatin1(url));
        EXPECT_FALSE(run.finish());
        EXPECT_EQ(run.error(), FormatString(126, FormatString(131, GetConfig().GetUploadUrl())));
    }
    CUploadRun missing(m_files.filePath(QStringLiteral("gone.upl")));
    missing.start(QStringLiteral("http://127.0.0.1:%1/").arg(UnusedPort()));
    EXPECT_FALSE(missing.finish());
    EXPECT_EQ(missing.error(), beamError(128));
}

TEST_F(UploadClientTest, SendsTheBuiltRequestThroughTheProxy) {
    CScriptedServer proxy({"TOKEN:x\r\n520 Proxy test\r\n"});
    GetConfig().SetProxy(QStringLiteral("127.0.0.1:%1").arg(proxy.port()));
    CUploadRun run(m_ringtone);
    run.start(QStringLiteral("http://beam.invalid:8645/php/client-upload-dgst.php"));
    EXPECT_FALSE(run.finish());
    EXPECT_EQ(run.error(), FormatString(126, QStringLiteral("Proxy test")));

    const std::vector<CScriptedServer::Request> requests = proxy.requests();
    ASSERT_EQ(requests.size(), 1u);
    const QString head = QString::fromStdString(requests[0].head) + QStringLiteral("\r\n");
    EXPECT_TRUE(
        head.startsWith(QStringLiteral("POST %1 HTTP/1.1\r\n").arg(GetConfig().GetUploadUrl())))
        << requests[0].head;
    const QRegularExpression boundary(QStringLiteral("\r\nContent-type: multipart/form-data; "
                                                     "boundary=([^\r]+)\r\n"));
    const QRegularExpressionMatch match = boundary.match(head);
    ASSERT_TRUE(match.hasMatch()) << requests[0].head;
    for (const QString& field :
         {QStringLiteral("\r\nUser-Agent: Quillet\r\n"), QStringLiteral("\r\nAccept: text/*\r\n"),
          QStringLiteral("\r\nContent-length: %1\r\n").arg(requests[0].body.size())})
        EXPECT_TRUE(head.contains(field)) << field.toStdString();
    EXPECT_EQ(head.count(QStringLiteral("content-type:"), Qt::CaseInsensitive), 1);
    EXPECT_EQ(head.count(QStringLiteral("content-length:"), Qt::CaseInsensitive), 1);

    // The body is the request built for the same file, name and boundary, byte for byte.
    UploadRequest built;
    UploadRequestOptions options;
    options.boundary = match.captured(1).toLatin1();
    ASSERT_TRUE(buildUploadRequest(m_ringtone, kRingtoneName, built, options));
    EXPECT_TRUE(requests[0].body == built.body.toStdString());
}

TEST_F(UploadClientTest, AnswerGrammarOfTheThreePhases) {
    TraceCapture trace(TRACE_ERROR);
    CScriptedServer server({
        "token:first\r\nDIGEST:d1\r\nCONTINUE:{base}/next\r\nTOKEN:t0\r\nnoise\r\n\r\n200 OK\r\n",
        "TOKEN:t1\r\nDIGEST:ignored\r\nCONTINUE:{base}/show\r\n200 OK\r\nTOKEN:late\r\n",
        "CONTINUE:{base}/elsewhere\r\nTOKEN:pt\r\nSize:320x240\r\nSHOW:{base}/page\r\n102 "
        "Waiting\r\n450 Paid\r\n450 Paid again\r\n200 Sent",
    });
    const QString base = QStringLiteral("http://127.0.0.1:%1").arg(server.port());
    CUploadRun run(m_ringtone);
    run.start(base + QLatin1String(kUploadPath));
    EXPECT_TRUE(run.finish());
    EXPECT_TRUE(run.error().isEmpty());

    // Each continue address is the CONTINUE value, "?" and the last TOKEN value.
    const std::vector<CScriptedServer::Request> requests = server.requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[1].head.substr(0, requests[1].head.find("\r\n")), "GET /next?t0 HTTP/1.1");
    EXPECT_EQ(requests[2].head.substr(0, requests[2].head.find("\r\n")), "GET /show?t1 HTTP/1.1");
    ASSERT_EQ(run.browser.opened().size(), 1u);
    const CTestBrowser::Opened opened = run.browser.opened().front();
    EXPECT_EQ(opened.url, base + QStringLiteral("/page?pt"));
    EXPECT_EQ(opened.placement.width, 320);
    EXPECT_EQ(opened.placement.height, 240);

    const QStringList lines = trace.lines();
    for (const char* unknown : {"noise", "DIGEST:ignored", "CONTINUE:"})
        EXPECT_EQ(
            lines
                .filter(
                    QStringLiteral(" ERR: unknown server answer: %1").arg(QLatin1String(unknown)))
                .size(),
            1)
            << unknown;
}

TEST_F(UploadClientTest, OtherStatusesEndTheFirstPhasesUnfinished) {
    TraceCapture trace(TRACE_ERROR);
    const std::vector<std::pair<std::string, QString>> cases = {
        {"TOKEN:a\r\nCONTINUE:{base}/n\r\n450 Paid\r\n200 OK\r\n", beamError(127)},
        {"TOKEN:a\r\nCONTINUE:{base}/n\r\n302 Moved\r\n", beamError(127)},
        {"TOKEN:a\r\n200 OK\r\n", beamError(130)}, // no CONTINUE: the address is "?a"
    };
    for (const auto& [answer, error] : cases) {
        CScriptedServer server({answer});
        CUploadRun run(m_ringtone);
        run.start(QStringLiteral("http://127.0.0.1:%1/up").arg(server.port()));
        EXPECT_FALSE(run.finish());
        EXPECT_EQ(run.error(), error) << answer;
    }
    EXPECT_TRUE(trace.hasLine("ERR", QStringLiteral("invalid continue url ?a")));
}

TEST_F(UploadClientTest, TheCommandLineBrowserHandsThePageToTheDesktop) {
    // A stand-in for xdg-open that hands the address it is given to the test through a FIFO.
    QTemporaryDir bin;
    const QString fifo = bin.filePath(QStringLiteral("opened"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const int reader = open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const QString opener = bin.filePath(QStringLiteral("xdg-open"));
    testsupport::WriteBytes(opener, "#!/bin/sh\nprintf '%s\\n' \"$1\" > '" +
                                        QFile::encodeName(fifo) + "'\n");
    QFile::setPermissions(opener, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(bin.path()) + ':' + path);

    CServiceProcess service;
    ASSERT_TRUE(service.started());
    GetConfig().SetUploadUrl(UploadUrl(service));
    std::mutex mutex;
    QStringList printed;
    CExternalBrowser browser(
        [&](const QString& line) {
            const std::lock_guard lock(mutex);
            printed << line;
        },
        true);
    CTestProgress progress;
    CUploadClient client(m_ringtone, kRingtoneName, progress, &browser);
    bool result = false;
    std::thread upload([&] { result = client.run(); });

    pollfd watch{reader, POLLIN, 0};
    QByteArray opened;
    if (poll(&watch, 1, kBoundMs) > 0) {
        char buffer[512];
        const ssize_t got = read(reader, buffer, sizeof buffer);
        opened = QByteArray(buffer, int(qMax<ssize_t>(got, 0))).trimmed();
        SendToPhone(QString::fromUtf8(opened), "5550111");
    } else {
        browser.Close(); // never opened: give up, and fail below
    }
    upload.join();
    close(reader);
    qputenv("PATH", path);
    EXPECT_TRUE(result);
    EXPECT_TRUE(opened.startsWith(QByteArray::fromStdString(service.url("/transfer?"))))
        << opened.constData();
    EXPECT_EQ(printed, QStringList{QString::fromUtf8(opened)});
}

TEST_F(UploadClientTest, ServersThatNeverFinishTheirAnswerEndTheBeamWithAMessage) {
    const std::string next = "TOKEN:a\r\nCONTINUE:{base}/n\r\n200 OK\r\n";
    std::string junk;
    for (int i = 0; i < 1001; ++i)
        junk += "junk line\r\n";
    const QString silent = LoadString(159) + FormatString(2207, QStringLiteral("0.3"));
    const struct {
        std::vector<std::string> answers;
        QString error;
    } cases[] = {
        {{"{hold}"}, silent},                                            // silent after the upload
        {{next, "{hold}"}, silent},                                      // silent in phase 1
        {{junk + "200 OK\r\n"}, beamError(130)},                         // lines without keywords
        {{std::string(1000, '\n') + "\n" + next}, beamError(130)},       // empty ones count too
        {{"TOKEN:" + std::string(70000, 'x') + "\r\n"}, beamError(130)}, // a line beyond 64 KiB
    };
    for (const auto& [answers, error] : cases) {
        CScriptedServer server(answers);
        CUploadRun run(m_ringtone);
        run.setIdleTimeout(std::chrono::milliseconds(300));
        run.start(QStringLiteral("http://127.0.0.1:%1/up").arg(server.port()));
        EXPECT_FALSE(run.finish());
        EXPECT_EQ(run.error(), error) << answers.front().substr(0, 20);
        EXPECT_FALSE(run.cancelledOnPage());
    }
}
