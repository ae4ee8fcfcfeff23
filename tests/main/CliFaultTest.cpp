// quillet-cli under faults: a full disk, outputs it must not replace, a damaged config.ini, and two
// processes on one work folder.
#include "main/CliTestSupport.h"
#include "support/Tone.h"

#include <QFileInfo>
#include <QProcess>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
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
