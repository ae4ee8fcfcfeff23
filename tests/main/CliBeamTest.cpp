// quillet-cli beam against the reference service: the page's address is printed, a person
// finishes there, and the ringtone lands in the phone's inbox.
#include "support/BeamTestSupport.h"
#include "support/TestSupport.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testsupport;

namespace {
const QString kSample = QStringLiteral(QUILLET_BIN_DIR "/samples/quillet-sample.wav");

// Reads the process's standard output until a line matches; the match, or none at the bound.
QRegularExpressionMatch WaitForLine(QProcess& process, const QRegularExpression& line,
                                    QByteArray& seen) {
    QDeadlineTimer deadline(beamtest::kBoundMs);
    while (!deadline.hasExpired()) {
        process.waitForReadyRead(100);
        seen += process.readAllStandardOutput();
        if (const auto match = line.match(QString::fromUtf8(seen)); match.hasMatch())
            return match;
        if (process.state() != QProcess::Running)
            break;
    }
    return {};
}
} // namespace

TEST(CliBeam, RingtoneReachesThePhonesInboxWhenThePersonSendsIt) {
    CServiceProcess service;
    ASSERT_TRUE(service.started());
    QTemporaryDir temp;
    const QString work = temp.filePath("work");
    const QStringList env = {"XDG_DATA_HOME=" + temp.filePath("xdg"),
                             "DISPLAY=", "WAYLAND_DISPLAY="};
    auto run = [&](const QStringList& args) {
        return RunProgram("quillet-cli", QStringList{"--work-dir", work, "--lang", "en"} + args,
                          env);
    };
    ASSERT_EQ(run({"settings", "UploadUrl", beamtest::UploadUrl(service)}).exitCode, 0);
    ASSERT_EQ(run({"open", kSample}).exitCode, 0);
    ASSERT_EQ(run({"select", "4000", "9000", "--fade-in", "500"}).exitCode, 0);

    QProcess beam;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& entry : env)
        environment.insert(entry.section('=', 0, 0), entry.section('=', 1));
    beam.setProcessEnvironment(environment);
    beam.start(QStringLiteral(QUILLET_BIN_DIR "/quillet-cli"),
               {"--work-dir", work, "--lang", "en", "beam"});
    QByteArray out;
    const auto page = WaitForLine(
        beam, QRegularExpression("Finish sending the ringtone on this page: (\\S+)\n"), out);
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
    const std::string stored = HttpGet(service.url(link.captured(1).toStdString())).body;
    EXPECT_EQ(QByteArray::fromStdString(stored), ReadBytes(work + "/temp.upl"));
}

TEST(CliBeam, FailsWithTheProgramsMessageWhenTheServiceIsAway) {
    QTemporaryDir temp;
    const QString work = temp.filePath("work");
    const QStringList env = {"XDG_DATA_HOME=" + temp.filePath("xdg"), "DISPLAY="};
    auto run = [&](const QStringList& args) {
        return RunProgram("quillet-cli", QStringList{"--work-dir", work, "--lang", "en"} + args,
                          env);
    };
    const QString nowhere = QStringLiteral("http://127.0.0.1:%1/php/client-upload-dgst.php")
                                .arg(beamtest::UnusedPort());
    ASSERT_EQ(run({"settings", "UploadUrl", nowhere}).exitCode, 0);
    ASSERT_EQ(run({"open", kSample}).exitCode, 0);
    const RunResult r = run({"beam"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.startsWith("quillet-cli: ")) << r.err.toStdString();
    EXPECT_TRUE(r.out.isEmpty());
}
