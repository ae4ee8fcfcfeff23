// quillet-cli beam against the reference service: the page's address is printed, a person
// finishes there, and the ringtone lands in the phone's inbox; with no service, a clear failure.
#include "main/CliTestSupport.h"
#include "support/BeamTestSupport.h"

#include <QDeadlineTimer>
#include <QRegularExpression>

namespace {
class CliBeam : public CliTest {
protected:
    // Opens the sample and selects in it, beaming to the upload address.
    void Prepare(const QString& uploadUrl) {
        ASSERT_EQ(Run({"settings", "UploadUrl", uploadUrl}).exitCode, 0);
        ASSERT_EQ(
            Run({"open", QStringLiteral(QUILLET_BIN_DIR "/samples/quillet-sample.wav")}).exitCode,
            0);
        ASSERT_EQ(Run({"select", "4000", "9000", "--fade-in", "500"}).exitCode, 0);
    }
};
} // namespace

TEST_F(CliBeam, RingtoneReachesThePhonesInboxWhenThePersonSendsIt) {
    CServiceProcess service;
    ASSERT_TRUE(service.started());
    Prepare(beamtest::UploadUrl(service));
    QProcess beam;
    StartProgram(beam, "quillet-cli", Args({"beam"}), Env());
    ASSERT_TRUE(beam.waitForStarted());
    const QRegularExpression pageLine("Finish sending the ringtone on this page: (\\S+)\n");
    QByteArray out;
    QRegularExpressionMatch page;
    for (QDeadlineTimer deadline(beamtest::kBoundMs);
         !page.hasMatch() && !deadline.hasExpired() && beam.state() == QProcess::Running;) {
        beam.waitForReadyRead(100);
        out += beam.readAllStandardOutput();
        page = pageLine.match(QString::fromUtf8(out));
    }
    ASSERT_TRUE(page.hasMatch()) << out.toStdString();

    // The person enters a phone number on the page and sends.
    beamtest::SendToPhone(page.captured(1), "5550123");
    ASSERT_TRUE(beam.waitForFinished(beamtest::kBoundMs));
    out += beam.readAllStandardOutput();
    EXPECT_EQ(beam.exitCode(), 0) << beam.readAllStandardError().toStdString();
    EXPECT_TRUE(out.endsWith("The ringtone was sent.\n")) << out.toStdString();

    // The inbox offers the ringtone under the input's title, the very bytes that were extracted.
    const QString inbox = QString::fromStdString(HttpGet(service.url("/inbox?phone=5550123")).body);
    const auto link =
        QRegularExpression("src=\"(/ringtones/[^\"]+/quilletsample\\.ogg)\"").match(inbox);
    ASSERT_TRUE(link.hasMatch()) << inbox.toStdString();
    EXPECT_TRUE(
        QByteArray::fromStdString(HttpGet(service.url(link.captured(1).toStdString())).body) ==
        ReadBytes(work() + "/temp.upl"));
}

TEST_F(CliBeam, FailsWithTheProgramsMessageWhenTheServiceIsAway) {
    Prepare(QStringLiteral("http://127.0.0.1:%1/php/client-upload-dgst.php")
                .arg(beamtest::UnusedPort()));
    const RunResult r = Run({"beam"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.startsWith("quillet-cli: ")) << r.err.toStdString();
    // The program's message, and beside it the real cause.
    EXPECT_TRUE(r.err.contains("Cause: ") && r.err.contains("Connection refused"))
        << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
}

TEST_F(CliBeam, EveryEndingSaysWhatHappened) {
    const struct {
        std::vector<std::string> switches;
        int exitCode;
        const char* said;
    } cases[] = {
        {{"--fail-phase", "2"}, 1, "The transfer was cancelled on the service's page."},
        {{"--no-status", "1"}, 2, "Error beaming ringtone: communication interrupted."},
        {{"--fail-phase", "1"}, 2, "Error beaming ringtone: Service unavailable."},
    };
    for (const auto& [switches, exitCode, said] : cases) {
        CServiceProcess service(switches);
        ASSERT_TRUE(service.started());
        Prepare(beamtest::UploadUrl(service));
        const RunResult r = Run({"beam"});
        EXPECT_EQ(r.exitCode, exitCode) << switches[0] << switches[1];
        EXPECT_TRUE(r.err.contains(said)) << r.err.toStdString();
        EXPECT_FALSE(r.out.contains("The ringtone was sent."));
    }
}
