// quillet-cli record on the virtual card: the recording as the input, Ctrl+C keeping what was
// recorded, a disk that fills up, and wrong options.
#include "CliTestSupport.h"
#include "support/Tone.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <csignal>
#include <sys/resource.h>

namespace {

constexpr WAVEFORMATEX kCd = MakePcmFormat(2, 44100, 16);

class CliRecord : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        WriteWav(temp.filePath("in.wav"), kCd, source);
    }
    QStringList RecordEnv() const {
        return Env() + QStringList{"QUILLET_AUDIO=virtual",
                                   "QUILLET_VIRTUAL_IN=" + temp.filePath("in.wav")};
    }
    // Starts quillet-cli with the arguments; limit, when given, caps the size of the files it
    // writes (RLIMIT_FSIZE, with SIGXFSZ ignored so that a write fails with EFBIG).
    void Start(QProcess& process, const QStringList& args, rlim_t limit = RLIM_INFINITY) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString& entry : RecordEnv())
            environment.insert(entry.section('=', 0, 0), entry.section('=', 1));
        process.setProcessEnvironment(environment);
        process.setChildProcessModifier([limit] {
            const rlimit cap{limit, limit};
            setrlimit(RLIMIT_FSIZE, &cap);
            signal(SIGXFSZ, SIG_IGN);
        });
        process.start(QStringLiteral(QUILLET_BIN_DIR "/quillet-cli"), Args(args));
        ASSERT_TRUE(process.waitForStarted());
    }
    QByteArray WorkData() const { return ReadBytes(work() + "/temp.in").mid(44); }

    QByteArray source = SinePcm(44100, 44100 * 3, 440, {0.5, 0.25});
};

} // namespace

TEST_F(CliRecord, RecordsForItsLengthAndOpensTheRecording) {
    RunResult r = RunProgram("quillet-cli", Args({"record", "--length", "1500"}), RecordEnv());
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    // Without --source the input is named after the line the card records now.
    EXPECT_TRUE(r.out.contains("Input: Recorded from [Mic]")) << r.out.toStdString();
    EXPECT_EQ(WorkData(), source.left(264600)); // 1.5 s exactly, from the first sample on
    r = Run({"info"});
    EXPECT_TRUE(r.out.contains("Duration: 00:00:01.500")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("Title: recording"));

    r = RunProgram("quillet-cli", Args({"record", "--length", "0"}), RecordEnv());
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("Not a time: 0")) << r.err.toStdString();
    r = RunProgram("quillet-cli", Args({"record"}), RecordEnv());
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("Missing argument for record."));
    r = RunProgram("quillet-cli", Args({"record", "--length", "1000", "--volume", "70000"}),
                   RecordEnv());
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("Not a volume (0 to 65535): 70000"));
    r = RunProgram("quillet-cli", Args({"record", "--length", "1000", "--device", "no card"}),
                   RecordEnv());
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.err.contains("Error starting recording.")) << r.err.toStdString();
    EXPECT_EQ(Run({"info"}).exitCode, 0); // the last recording stays the input
}

TEST_F(CliRecord, CtrlCKeepsWhatWasRecordedAndAFullDiskLeavesNoInput) {
    QProcess process;
    Start(process, {"record", "--length", "60000", "--source", "Line", "--volume", "30000"});
    QElapsedTimer waited;
    waited.start();
    while (QFileInfo(work() + "/temp.dat").size() < 40 && waited.elapsed() < 10000)
        QThread::msleep(10);
    ::kill(pid_t(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const QByteArray kept = WorkData();
    EXPECT_GE(kept.size(), 16384);
    EXPECT_LT(kept.size(), 176400 * 5);
    EXPECT_EQ(kept, source.left(kept.size()));
    EXPECT_TRUE(process.readAllStandardOutput().contains("Input: Recorded from [Line]"));
    EXPECT_TRUE(Config().contains("WaveInLine=Line"));

    // The work WAV may grow to 100000 bytes: the session ends with the system's message and
    // removes both files, and no input is left.
    QProcess full;
    Start(full, {"record", "--length", "10000"}, 100000);
    ASSERT_TRUE(full.waitForFinished(20000));
    EXPECT_EQ(full.exitCode(), 2);
    EXPECT_TRUE(full.readAllStandardError().contains("Recording stopped: File too large (27)"));
    EXPECT_FALSE(QFileInfo::exists(work() + "/temp.in"));
    EXPECT_FALSE(QFileInfo::exists(work() + "/temp.dat"));
    EXPECT_EQ(Run({"info"}).exitCode, 2);
}
