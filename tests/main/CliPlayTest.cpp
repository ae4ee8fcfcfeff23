// quillet-cli play and devices on the virtual card: the ringtone as the extraction makes it, a
// range of the input, the loop, the failures and Ctrl+C.
#include "audio/SoundTestSupport.h"
#include "encode/DatFileMaker.h"
#include "encode/LoudnessMeter.h"
#include "workflow/RingtoneModel.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <csignal>

using namespace soundtest;
using namespace testsupport;

TEST(CliPlay, PlaysWhatTheExtractionSendsLoopsListsDevicesAndStopsOnCtrlC) {
    QTemporaryDir temp;
    const WAVEFORMATEX format = MakePcmFormat(2, 44100, 16);
    const QByteArray data = SinePcm(44100, 44100 * 5, 440, {0.4, 0.2});
    WriteWav(temp.filePath("in.wav"), format, data);
    const QString out = temp.filePath("out.wav");
    const QStringList env = {"XDG_DATA_HOME=" + temp.filePath("xdg"), "QUILLET_AUDIO=virtual",
                             "QUILLET_VIRTUAL_OUT=" + out};
    const QStringList common = {"--work-dir", temp.filePath("work"), "--lang", "en"};
    const auto expectPlayed = [&](const QByteArray& pcm) {
        WriteWav(temp.filePath("expected.wav"), format, pcm);
        EXPECT_EQ(ReadBytes(out), ReadBytes(temp.filePath("expected.wav")));
    };
    const auto run = [&](const QStringList& args) {
        return RunProgram("quillet-cli", common + args, env);
    };
    ASSERT_EQ(run({"open", temp.filePath("in.wav")}).exitCode, 0);
    ASSERT_EQ(run({"select", "1000", "4000", "--fade-in", "1000", "--fade-out", "500"}).exitCode,
              0);

    RunResult r = run({"play", "--ringtone", "--loop", "2"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    CCutInfo cut;
    cut.setStart(1000);
    cut.setEnd(4000);
    cut.setFadeIn(1000);
    cut.setFadeOut(500);
    cut.validate();
    const double gain =
        CRingtoneModel::normalizationGain(89, blockPeak(data.constData(), uint32_t(data.size())));
    const QByteArray ringtone = ExtractedSamples(data, format, cut, gain);
    expectPlayed(ringtone + ringtone);

    // In the loudness mode it plays at the gain the made ringtone gets: at -14 LUFS.
    ASSERT_EQ(run({"settings", "NormalizationMode", "loudness"}).exitCode, 0);
    ASSERT_EQ(run({"play", "--ringtone"}).exitCode, 0);
    const QByteArray played = ReadDecodedWav(out).data;
    CLoudnessMeter meter(format);
    meter.add(played.constData(), uint32_t(played.size()));
    EXPECT_NEAR(meter.figures().loudness, -14, 0.05);

    r = run({"play", "--from", "0:01", "--to", "2500"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    expectPlayed(data.mid(176400, 264600)); // the input as it is

    r = run({"devices"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.startsWith("Playback devices:\n  default\n  Quillet Virtual\nCapture "
                                 "devices:\n  default\n    Capture: volume 49151 of 65535\n"))
        << r.out.toStdString();

    r = run({"play", "--loop", "0"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("Not a count: 0"));
    r = run({"play", "--ringtone", "--from", "0"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("Unknown option for play --ringtone: --from"));
    r = run({"play", "--device", "no such card"});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("Error starting playing.")) << r.err.toStdString();

    // Ctrl+C while the whole input plays: the tool stops at once with status 1.
    QFile::remove(out);
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& entry : env)
        environment.insert(entry.section('=', 0, 0), entry.section('=', 1));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(QUILLET_BIN_DIR "/quillet-cli"), common + QStringList{"play"});
    ASSERT_TRUE(process.waitForStarted());
    QElapsedTimer waited;
    waited.start();
    while (QFileInfo(out).size() <= 44 && waited.elapsed() < 10000)
        QThread::msleep(5);
    ASSERT_GT(QFileInfo(out).size(), 44);
    QElapsedTimer stopping;
    stopping.start();
    ::kill(pid_t(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_LT(stopping.elapsed(), 2000); // far less than the 5 s left to play
    EXPECT_EQ(process.exitCode(), 1);
}
