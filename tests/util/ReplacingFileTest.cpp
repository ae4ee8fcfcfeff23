// Replacing a file in one step: the old file stays whole when the new one cannot be written.
#include "util/ReplacingFile.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using testsupport::ReadBytes;
using testsupport::WriteBytes;

TEST(ReplacingFile, AFailedWriteLeavesTheOldFileAndNoTemporaryOne) {
    QTemporaryDir dir;
    const QString path = dir.filePath("out.ogg");
    WriteBytes(path, "old");
    ASSERT_TRUE(
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));

    // A disk that fills up: writes beyond 1000 bytes fail.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = old;
    limited.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const int error = CReplacingFile::Replace(path, QByteArray(5000, 'x'));
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(error, EFBIG);
    EXPECT_EQ(ReadBytes(path), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.ogg"});

    // Written whole, the new file takes the old one's place and its permissions.
    EXPECT_EQ(CReplacingFile::Replace(path, "new"), 0);
    EXPECT_EQ(ReadBytes(path), "new");
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"out.ogg"});

    // A folder that does not exist: the error of the first step.
    EXPECT_EQ(CReplacingFile::Replace(dir.filePath("none/out.ogg"), "x"), ENOENT);
}
