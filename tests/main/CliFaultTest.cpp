// quillet-cli under faults: a full disk, outputs it must not replace, a damaged config.ini, and two
// processes on one work folder.
#include "main/CliTestSupport.h"
#include "support/Tone.h"

#include <QFileInfo>
#include <QLockFile>
#include <QProcess>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// A time as the tool prints it.
QString TimeText(qint64 ms) {
    return QString::asprintf("%02lld:%02lld:%02lld.%03lld", ms / 3600000, ms / 60000 % 60,
                             ms / 1000 % 60, ms % 1000);
}

const QString kSample = QStringLiteral(QUILLET_BIN_DIR "/samples/quillet-sample.wav");

class CliFault : public CliTest {
protected:
    // Runs the tool with files limited to maxBytes: a write beyond fails as on a full disk.
    RunResult RunOnFullDisk(const QStringList& args, rlim_t maxBytes = 64) const {
        return RunProgram("quillet-cli", Args(args), Env(), 60000, [maxBytes] {
            ::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{maxBytes, maxBytes};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
    }
    QByteArray ConfigBytes() const { return ReadBytes(work() + "/config.ini"); }
    // The file's inode: a file replaced by a rename gets a new one.
    static ino_t Inode(const QString& path) {
        struct stat st {};
        return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
    }
};
} // namespace

TEST_F(CliFault, AFullDiskKeepsTheOldConfigurationAndSaysSo) {
    ASSERT_EQ(Run({"settings", "Proxy", "old.example:3128"}).exitCode, 0);
    const QByteArray before = ConfigBytes();
    ASSERT_TRUE(FromUtf16Le(before).contains("\nProxy=old.example:3128\n"));

    const RunResult full = RunOnFullDisk({"settings", "Proxy", "new.example:3128"});
    EXPECT_EQ(full.exitCode, 2);
    EXPECT_TRUE(full.err.contains("config.ini")) << full.err.toStdString();
    EXPECT_EQ(ConfigBytes(), before);
    EXPECT_EQ(QDir(work()).entryList({"config.ini*"}, QDir::Files), QStringList{"config.ini"});

    // Commands that change nothing leave the file alone, full disk or not.
    const ino_t inode = Inode(work() + "/config.ini");
    EXPECT_EQ(RunOnFullDisk({"settings", "Proxy"}).out, "old.example:3128\n");
    EXPECT_EQ(Run({"settings"}).exitCode, 0);
    EXPECT_EQ(Run({"settings", "Proxy", "old.example:3128"}).exitCode, 0);
    EXPECT_EQ(Inode(work() + "/config.ini"), inode);
    EXPECT_EQ(ConfigBytes(), before);

    // Extraction on a full disk names the reason beside the program's message.
    ASSERT_EQ(Run({"open", kSample}).exitCode, 0);
    const RunResult extract = RunOnFullDisk({"extract"}, 4096);
    EXPECT_EQ(extract.exitCode, 2);
    EXPECT_TRUE(extract.err.contains("Ringtone extraction failed.")) << extract.err.toStdString();
    EXPECT_TRUE(extract.err.contains("File too large")) << extract.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(work() + "/temp.upl"));
}

TEST_F(CliFault, OutputsThatAreNotFreeToReplaceAreRefused) {
    const QString input = temp.filePath("song.wav");
    WriteToneWav(input, 3.0);
    const QByteArray song = ReadBytes(input);
    const QString existing = temp.filePath("old.ogg");
    WriteBytes(existing, "keep me");
    const QString fifo = temp.filePath("fifo.ogg");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString linkToInput = temp.filePath("link.ogg");
    ASSERT_TRUE(QFile::link(input, linkToInput));
    const QString linkToFifo = temp.filePath("fifolink.ogg");
    ASSERT_TRUE(QFile::link(fifo, linkToFifo));
    ASSERT_EQ(Run({"open", input}).exitCode, 0);
    const QByteArray config = ConfigBytes();

    const struct {
        QStringList args;
        QString named; // the file the message names
    } refused[] = {
        {{"make", input, "-o", input}, input},
        {{"make", input, "-o", linkToInput}, input},
        {{"extract", "-o", input}, input},
        {{"extract", "-o", work() + "/config.ini"}, work() + "/config.ini"},
        {{"extract", "-o", work() + "/temp.dat"}, work() + "/temp.dat"},
        {{"extract", "-o", fifo}, fifo},
        {{"extract", "--force", "-o", linkToFifo}, fifo},
        {{"extract", "-o", existing}, existing},
    };
    for (const auto& [args, named] : refused) {
        const RunResult r = Run(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(named.toUtf8())) << r.err.toStdString();
        EXPECT_FALSE(r.out.contains("Ringtone written"));
    }
    EXPECT_EQ(ReadBytes(input), song);
    EXPECT_EQ(ReadBytes(existing), "keep me");
    EXPECT_EQ(ConfigBytes(), config);
    EXPECT_FALSE(QFileInfo(fifo).isFile());

    // --force replaces an existing regular file, through a link to it the file itself.
    const QString linkToExisting = temp.filePath("oldlink.ogg");
    ASSERT_TRUE(QFile::link(existing, linkToExisting));
    ASSERT_EQ(Run({"extract", "--force", "-o", linkToExisting}).exitCode, 0);
    EXPECT_TRUE(ReadBytes(existing).startsWith("OggS"));
    EXPECT_TRUE(QFileInfo(linkToExisting).isSymLink());
}

TEST_F(CliFault, ADamagedConfigurationIsReadAsFarAsItGoesAndKeptAside) {
    const QString settings = "[Settings]\nProxy=p.example:3128\nBitRate=128\nCut=1000,5000,0,0\n";
    const QByteArray utf16 = Utf16Le(settings);
    const qsizetype inBitRate = utf16.indexOf(Utf16Le("Rate"));
    const QByteArray damaged[] = {
        utf16,                                                         // no mark
        "\xFF\xFE" + utf16.left(inBitRate) + utf16.mid(inBitRate + 1), // a byte lost
        "\xFF\xFE" + utf16.left(utf16.size() - 3),                     // cut short
    };
    const QString logs = temp.filePath("logs");
    for (const QByteArray& bytes : damaged) {
        QDir(work()).removeRecursively();
        QDir().mkpath(work());
        WriteBytes(work() + "/config.ini", bytes);
        EXPECT_EQ(Run({"--log-dir", logs, "--trace-level", "error", "settings", "Proxy"}).out,
                  "p.example:3128\n");
        EXPECT_EQ(ReadBytes(work() + "/config.ini.damaged"), bytes);
        const RunResult r = Run({"settings", "LogViewParam_S", "2"});
        EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_TRUE(Config().contains("\nProxy=p.example:3128\n"));
        EXPECT_TRUE(Config().contains("\nLogViewParam_S=2\n"));
        EXPECT_TRUE(Logs(logs).join("").contains("config.ini.damaged"));
        // Written cleanly now: the next save keeps no further copy.
        ASSERT_TRUE(QFile::remove(work() + "/config.ini.damaged"));
        EXPECT_EQ(Run({"settings", "LogViewParam_S", "3"}).exitCode, 0);
        EXPECT_FALSE(QFileInfo::exists(work() + "/config.ini.damaged"));
        QDir(logs).removeRecursively();
    }
}

TEST_F(CliFault, TwoProcessesOnOneWorkFolderNeitherMixNorLoseTheirWork) {
    // Two inputs told apart by their channels; both are decoded into the same work WAV.
    const QString mono = temp.filePath("mono.ogg"), stereo = temp.filePath("stereo.ogg");
    WriteOgg(mono, SinePcm(8000, 8000, 440, {0.5}), 1, 8000);
    WriteOgg(stereo, SinePcm(8000, 8000, 440, {0.5, 0.5}), 2, 8000);
    const auto start = [&](QProcess& p, const QStringList& args) {
        StartProgram(p, "quillet-cli", Args(args), Env());
    };
    constexpr int kRounds = 6;
    for (int round = 0; round < kRounds; ++round) {
        QProcess first, second, third, fourth;
        start(first, {"open", round % 2 ? mono : stereo});
        start(second, {"open", round % 2 ? stereo : mono});
        start(third, {"settings", "LogViewParam_X0", QString::number(round)});
        start(fourth, {"settings", "LogViewParam_X1", QString::number(7000 + round)});
        for (QProcess* p : {&first, &second, &third, &fourth}) {
            ASSERT_TRUE(p->waitForFinished(60000));
            EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
        }
        const QString config = Config();
        const bool monoNamed = config.contains("\nInputFileName=" + mono + "\n");
        ASSERT_TRUE(monoNamed || config.contains("\nInputFileName=" + stereo + "\n"));
        const DecodedWav wav = ReadDecodedWav(work() + "/temp.in");
        EXPECT_EQ(wav.format.nChannels, monoNamed ? 1 : 2) << "round " << round;
        EXPECT_TRUE(config.contains(QString("\nLogViewParam_X0=%1\n").arg(round)));
        EXPECT_TRUE(config.contains(QString("\nLogViewParam_X1=%1\n").arg(7000 + round)));
    }

    // A process that finds the folder taken says that it waits, then does its work.
    QLockFile held(work() + "/quillet.lock");
    ASSERT_TRUE(held.tryLock());
    QProcess waiting;
    waiting.setReadChannel(QProcess::StandardError);
    start(waiting, {"settings", "Proxy", "after.example"});
    ASSERT_TRUE(waiting.waitForReadyRead(10000));
    EXPECT_TRUE(waiting.readAllStandardError().contains("Waiting for another Quillet"));
    held.unlock();
    ASSERT_TRUE(waiting.waitForFinished(10000));
    EXPECT_EQ(waiting.exitCode(), 0);
    EXPECT_TRUE(Config().contains("\nProxy=after.example\n"));
}

TEST_F(CliFault, InputsThatCannotMakeARightRingtoneAreRefusedWithTheirReason) {
    // A header that promises 5 s of which the file holds 3 s: 3 s it is, and the ringtone is made.
    const QString cut = temp.filePath("cut.wav");
    WriteToneWav(cut, 5.0);
    const QByteArray whole = ReadBytes(cut);
    WriteBytes(cut, whole.left(44 + 3 * 8000 * 4));
    RunResult r = Run({"open", cut});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Duration: 00:00:03.000\n")) << r.out.toStdString();
    EXPECT_EQ(Run({"extract"}).exitCode, 0);
    // Cut anywhere: opened with what is there, or refused with a message.
    for (int size : {0, 20, 43, 44, 45, 1000, 8043, 40044, int(whole.size()) - 1}) {
        WriteBytes(cut, whole.left(size));
        r = Run({"open", cut});
        if (r.exitCode == 0)
            EXPECT_TRUE(r.out.contains(TimeText(qint64(size - 44) / 4 * 1000 / 8000).toUtf8()))
                << size << r.out.toStdString();
        else
            EXPECT_TRUE(r.exitCode == 2 && r.err.startsWith("quillet-cli: ")) << size;
    }

    // Formats that would make a wrong ringtone, and inputs that are no regular files.
    const auto format = [](uint16_t channels, uint32_t rate) {
        WAVEFORMATEX f{WAVE_FORMAT_PCM,        channels, rate, rate * channels * 2u,
                       uint16_t(channels * 2), 16,       0};
        return f;
    };
    const QString fifo = temp.filePath("fifo.wav"), zero = temp.filePath("zero.wav");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", zero));
    const QString lineBreak = temp.filePath("a\nUploadUrl=http:x.wav");
    WriteToneWav(lineBreak, 3.0);
    const struct {
        QString name;
        WAVEFORMATEX format;
        const char* reason;
    } refused[] = {
        {"six.wav", format(6, 8000), "6 channels"},
        {"none.wav", format(0, 8000), "0 channels"},
        {"still.wav", format(2, 0), "sample rate of 0 Hz"},
        {"fast.wav", format(1, 500000), "sample rate of 500000 Hz"},
        {fifo, {}, "not a regular file"},
        {zero, {}, "not a regular file"},
        {lineBreak, {}, "line break"},
    };
    for (const auto& [name, fmt, reason] : refused) {
        const QString path = name.startsWith('/') ? name : temp.filePath(name);
        if (fmt.nSamplesPerSec || fmt.nChannels)
            WriteWav(path, fmt, QByteArray(48000, '\1'));
        r = Run({"open", path});
        EXPECT_EQ(r.exitCode, 2) << name.toStdString();
        EXPECT_TRUE(r.err.contains(reason)) << r.err.toStdString();
    }
    EXPECT_FALSE(Config().contains("UploadUrl=http:x"));
}

TEST_F(CliFault, SettingsTakeOnlyValuesTheirKeyCanHold) {
    const struct {
        const char* key;
        const char* value;
        const char* reason; // nullptr: stored
    } cases[] = {
        {"Proxy", "a\nUploadUrl=http://evil.example/", "must be one line"},
        {"Proxy", "a\rb", "must be one line"},
        {"UploadUrl", "ftp://evil.example/", "http or https"},
        {"UploadUrl", "not a url", "http or https"},
        {"BitRate", "fast", "from -1 to 128"},
        {"BitRate", "500", "from -1 to 128"},
        {"MinZoomSec", "0", "from 1 to 86400"},
        {"NormalizationPercent", "150", "from 0 to 100"},
        {"LogarithmicView", "yes", "0 or 1"},
        {"Cut", "1,2,3", "four numbers"},
        {"TraceLevel", "Loud", "None, Error"},
        {"a=b", "1", "was not changed"},
        {"UploadUrl", "https://beam.example/up.php", nullptr},
        {"BitRate", "96", nullptr},
        {"NormalizationPercent", "75.5", nullptr},
        {"Cut", "1000,5000,0,0", nullptr},
        {"TraceLevel", "Debug", nullptr},
        {"MyOwnKey", "any text", nullptr},
    };
    for (const auto& [key, value, reason] : cases) {
        const RunResult r = Run({"settings", key, value});
        if (!reason) {
            EXPECT_EQ(r.exitCode, 0) << key << r.err.toStdString();
            EXPECT_TRUE(Config().contains(QString("\n%1=%2\n").arg(key, value))) << key;
            continue;
        }
        EXPECT_EQ(r.exitCode, 2) << key << " " << value;
        EXPECT_TRUE(r.err.contains(reason)) << r.err.toStdString();
        EXPECT_FALSE(Config().contains(QString("%1=%2").arg(key, value))) << key;
    }
    EXPECT_FALSE(Config().contains("evil.example"));
}
