// quillet-cli's model commands as a person runs them: open, info, select, extract, make, Ctrl+C.
#include "app/IOpProgress.h"
#include "app/OpResult.h"
#include "decode/OggDecoder.h"
#include "main/CliTestSupport.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QThread>

#include <csignal>

namespace {
const QString kSample = QStringLiteral(QUILLET_BIN_DIR "/samples/quillet-sample.wav");
using CliModel = CliTest;

bool IsOggVorbis(const QByteArray& bytes) {
    return bytes.startsWith("OggS") && bytes.mid(28, 7) == QByteArray("\x01vorbis", 7);
}
} // namespace

TEST_F(CliModel, OpenSelectInfoAndExtractKeepTheirStateBetweenRuns) {
    RunResult r = Run({"open", kSample});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Input: [" + kSample.toUtf8() + "]\n"));
    EXPECT_TRUE(r.out.contains("Format: 44100 Hz, 2 channels, 16 bit\n"));
    EXPECT_TRUE(r.out.contains("Selection: 00:00:10.000 to 00:00:20.000 (00:00:10.000)"));
    EXPECT_TRUE(Config().contains("\nInputFileName=" + kSample + "\n"));
    EXPECT_TRUE(Config().contains("\nCut=10000,20000,0,0\n"));
    EXPECT_TRUE(QFileInfo::exists(work() + "/temp.dat"));

    r = Run({"select", "0:02", "14500", "--fade-in", "1000", "--fade-out=0:02"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Selection: 00:00:02.000 to 00:00:14.500 (00:00:12.500), fade-in 1000 ms, "
                     "fade-out 2000 ms\n");
    EXPECT_TRUE(Config().contains("\nCut=2000,14500,1000,2000\n"));

    r = Run({"info"});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.contains("Duration: 00:00:21.700\n"));
    EXPECT_TRUE(r.out.contains("fade-in 1000 ms, fade-out 2000 ms\n"));

    const QString out = temp.filePath("ring.ogg");
    r = Run({"extract", "-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Ringtone written to " + out.toUtf8() + ".\n");
    EXPECT_TRUE(IsOggVorbis(ReadBytes(out)));
    EXPECT_EQ(ReadBytes(out), ReadBytes(work() + "/temp.upl"));
}

TEST_F(CliModel, SelectionsOutsideTheRulesAreRefusedAndTheOldOneKept) {
    ASSERT_EQ(Run({"open", kSample}).exitCode, 0);
    const struct {
        QStringList args;
        const char* message;
    } cases[] = {
        {{"select", "5000", "5500"}, "The ringtone cannot be smaller than one second."},
        {{"select", "0", "31000"}, "The ringtone cannot be larger than 30 seconds."},
        {{"select", "15000", "25000"},
         "The selection must lie within the input (00:00:21.700 long)."},
        {{"select", "5s", "9000"}, "Not a time: 5s."},
        {{"select", "1000"}, "Missing argument for select."},
        {{"select", "1000", "3000", "--bogus", "1"}, "Unknown option for select: --bogus"},
    };
    for (const auto& c : cases) {
        const RunResult r = Run(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.message;
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
    }
    EXPECT_TRUE(Config().contains("\nCut=10000,20000,0,0\n"));
}

TEST_F(CliModel, CommandsWithoutAnInputSaySo) {
    for (const char* command : {"info", "extract"}) {
        const RunResult r = Run({command});
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.err.contains("No input is open.")) << command;
    }
}

TEST_F(CliModel, MakeLeavesTheSharedInputAloneAndFailsCleanly) {
    ASSERT_EQ(Run({"open", kSample}).exitCode, 0);
    const QByteArray configBefore = ReadBytes(work() + "/config.ini");

    const QString out = temp.filePath("made.ogg");
    RunResult r = Run({"make", kSample, "-o", out, "--start", "0:03", "--fade-in", "1500"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(IsOggVorbis(ReadBytes(out)));
    EXPECT_EQ(ReadBytes(work() + "/config.ini"), configBefore);

    // An unsupported file fails with the program's message and writes nothing.
    const QString flac = temp.filePath("track.flac");
    WriteBytes(flac, "fLaC");
    r = Run({"make", flac, "-o", temp.filePath("no.ogg")});
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("Cannot open file " + flac.toUtf8() + ": unsupported extension."));
    EXPECT_FALSE(QFileInfo::exists(temp.filePath("no.ogg")));
    EXPECT_EQ(Run({"make", kSample}).exitCode, 2); // no -o
}

TEST_F(CliModel, MakeOfALateStretchGivesTheSelectionOfTheWholeInput) {
    // A minute of MP3 (the two-second fixture thirty times over); no normalization, so that the
    // gain, which make takes from the stretch it decodes, plays no part.
    const QString mp3 = temp.filePath("long.mp3");
    WriteBytes(
        mp3, ReadBytes(QStringLiteral(QUILLET_TEST_DATA_DIR "/tone-stereo-44k.mp3")).repeated(30));
    ASSERT_EQ(Run({"settings", "NormalizationPercent", "0"}).exitCode, 0);
    RunResult r = Run({"open", mp3});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const qsizetype at = r.out.indexOf("Duration: ") + 10;
    const QByteArray duration = r.out.mid(at, r.out.indexOf('\n', at) - at);
    ASSERT_EQ(Run({"select", "0:45.250", "0:52", "--fade-out", "500"}).exitCode, 0);
    const QString extracted = temp.filePath("extracted.ogg");
    ASSERT_EQ(Run({"extract", "-o", extracted}).exitCode, 0);

    const QString made = temp.filePath("made.ogg");
    r = Run({"make", mp3, "-o", made, "--start", "0:45.250", "--end", "0:52", "--fade-out", "500"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    // The encoder's serial number follows the clock: compare what the two files decode to.
    const auto decoded = [&](const QString& ogg) {
        COggDecoder decoder;
        IOpProgress progress;
        EXPECT_EQ(decoder.decodeFile(ogg, ogg + ".wav", &progress), OpSuccess);
        return ReadBytes(ogg + ".wav");
    };
    const QByteArray expected = decoded(extracted);
    EXPECT_GT(expected.size(), 6 * 44100 * 4);
    EXPECT_TRUE(decoded(made) == expected);

    // Selections past the end fail with the whole input's duration, however far past they start.
    for (const QStringList& times : {QStringList{"0:50", "1:10"}, QStringList{"2:00", "2:10"}}) {
        r = Run({"make", mp3, "-o", made + "2", "--start", times[0], "--end", times[1]});
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(
            r.err.contains("The selection must lie within the input (" + duration + " long)."))
            << r.err.toStdString() << duration.toStdString();
        EXPECT_FALSE(QFileInfo::exists(made + "2"));
    }
}

TEST_F(CliModel, CtrlCCancelsTheRunningOperationAndRemovesItsFiles) {
    // A long MP3 made of the two-second fixture repeated: decoding it takes a while.
    const QByteArray frames =
        ReadBytes(QStringLiteral(QUILLET_TEST_DATA_DIR "/tone-stereo-44k.mp3"));
    ASSERT_FALSE(frames.isEmpty());
    const QString longMp3 = temp.filePath("long.mp3");
    WriteBytes(longMp3, frames.repeated(300));

    QProcess process;
    StartProgram(process, "quillet-cli", Args({"open", longMp3}), Env());
    ASSERT_TRUE(process.waitForStarted());
    // Once decoding has begun, stop the process, press Ctrl+C, and let it go on.
    QElapsedTimer waited;
    waited.start();
    while (!QFileInfo::exists(work() + "/temp.in") && waited.elapsed() < 20000 &&
           process.state() == QProcess::Running)
        QThread::usleep(200);
    ASSERT_TRUE(QFileInfo::exists(work() + "/temp.in"));
    ::kill(pid_t(process.processId()), SIGSTOP);
    ::kill(pid_t(process.processId()), SIGINT);
    ::kill(pid_t(process.processId()), SIGCONT);
    ASSERT_TRUE(process.waitForFinished(20000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_TRUE(process.readAllStandardError().isEmpty()); // a cancel shows nothing
    EXPECT_FALSE(QFileInfo::exists(work() + "/temp.in"));
    EXPECT_FALSE(QFileInfo::exists(work() + "/temp.dat"));
}

TEST_F(CliModel, MakeTellsWhatIsWrongWithADamagedFileInTheChosenLanguage) {
    const QString out = temp.filePath("out.ogg");
    lang = "de";
    const auto makeInGerman = [&](const QString& input) {
        return Run({"--trace-level", "Error", "make", input, "-o", out});
    };
    // An MP3 file whose tag is followed by no MPEG frame at all.
    const QString mp3 = temp.filePath("damaged.mp3");
    WriteBytes(mp3, QByteArray("ID3\x03\x00\x00\x00\x00\x00\x10", 10) + QByteArray(16, '\0') +
                        QByteArray(5000, '\x5a'));
    RunResult r = makeInGerman(mp3);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(QString::fromUtf8(r.err), QStringLiteral("quillet-cli: Ungültige Datei!\n"));
    EXPECT_FALSE(QFileInfo::exists(out));

    // A WAV file that ends after its RIFF header: the reader's own reason inside the model's
    // message, both German, while the trace log keeps the reason in English.
    const QString wav = temp.filePath("damaged.wav");
    WriteBytes(wav, QByteArray("RIFF\x04\x00\x00\x00WAVE", 12));
    r = makeInGerman(wav);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_EQ(QString::fromUtf8(r.err),
              QStringLiteral("quillet-cli: Die Datei konnte nicht geöffnet werden: Formatblock "
                             "nicht gefunden.\n"));
    EXPECT_FALSE(QFileInfo::exists(out));
    const QString log = Logs(work()).join('\n');
    EXPECT_TRUE(log.contains("openInputFile failed: couldn't get format chunk"))
        << log.toStdString();
}
