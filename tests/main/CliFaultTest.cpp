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
