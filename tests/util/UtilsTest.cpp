// Tests of the support utilities: URL escaping, folders, temporary names, clocks, system texts.
#include "util/Utils.h"
#include "app/TracedFiles.h"
#include "support/TraceCapture.h"

#include <QDateTime>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <sys/utsname.h>

namespace {
// Sets TMPDIR for one test and puts the old value back.
class TempDirVariable {
public:
    explicit TempDirVariable(const QString& value)
        : m_had(qEnvironmentVariableIsSet("TMPDIR")), m_old(qgetenv("TMPDIR")) {
        qputenv("TMPDIR", QFile::encodeName(value));
    }
    ~TempDirVariable() {
        if (m_had)
            qputenv("TMPDIR", m_old);
        else
            qunsetenv("TMPDIR");
    }

private:
    bool m_had;
    QByteArray m_old;
};
} // namespace

TEST(UtilsTest, UrlEscapeKeepsLettersDigitsAndPunctuationFromColonUp) {
    EXPECT_EQ(UrlEscape(QStringLiteral("a b/c:d")), QStringLiteral("a%20b%2fc:d"));
    EXPECT_EQ(UrlEscape(QStringLiteral(" !\"#$%&'()*+,-./")),
              QStringLiteral("%20%21%22%23%24%25%26%27%28%29%2a%2b%2c%2d%2e%2f"));
    const QString kept = QStringLiteral("AZaz09:;<=>?@[\\]^_`{|}~\t\u00e9");
    EXPECT_EQ(UrlEscape(kept), kept);
    EXPECT_EQ(UrlEscape(QString()), QString());
}

TEST(UtilsTest, UrlEscapeEverythingGivesThreeCharactersEach) {
    const QString text = QStringLiteral("Az0:~ /\u00e9");
    const QString escaped = UrlEscape(text, true);
    EXPECT_EQ(escaped, QStringLiteral("%41%7a%30%3a%7e%20%2f%e9"));
    EXPECT_EQ(escaped.size(), text.size() * 3);
}

TEST(UtilsTest, AssureDirExistsCreatesOneLevelAndRefusesFiles) {
    TraceCapture trace(TRACE_ERROR);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    EXPECT_TRUE(AssureDirExists(dir.path()));
    const QString fresh = dir.filePath(QStringLiteral("fresh"));
    EXPECT_TRUE(AssureDirExists(fresh));
    EXPECT_TRUE(QFileInfo(fresh).isDir());
    EXPECT_TRUE(AssureDirExists(fresh));

    const QString deep = dir.filePath(QStringLiteral("missing/child"));
    EXPECT_FALSE(AssureDirExists(deep));
    EXPECT_FALSE(QFileInfo::exists(deep));
    EXPECT_TRUE(
        trace.hasLine("ERR", QStringLiteral("AssureDirExists: Error creating dir '%1'").arg(deep)));

    const QString file = dir.filePath(QStringLiteral("plain.txt"));
    testsupport::WriteBytes(file, "x");
    EXPECT_FALSE(AssureDirExists(file));
    EXPECT_TRUE(trace.hasLine(
        "ERR", QStringLiteral("AssureDirExists: '%1' exists but is not a folder").arg(file)));
    EXPECT_TRUE(QFileInfo(file).isFile());
}

TEST(UtilsTest, TempFilePathLiesInTheTemporaryFolderAndIsNotCreated) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const TempDirVariable tmp(dir.path());
    const qint64 before = GetCurrentTimeMs() / 1000;
    QString a, b;
    ASSERT_TRUE(GetTempFilePath(QStringLiteral("ogg"), a));
    ASSERT_TRUE(GetTempFilePath(QStringLiteral("wav"), b));
    const qint64 after = GetCurrentTimeMs() / 1000;

    const QFileInfo info(a);
    EXPECT_EQ(info.absolutePath(), QDir(dir.path()).canonicalPath());
    EXPECT_FALSE(info.exists());
    const QRegularExpressionMatch match =
        QRegularExpression(QStringLiteral("^temp_(\\d+)_(\\d+)\\.ogg$")).match(info.fileName());
    ASSERT_TRUE(match.hasMatch()) << a.toStdString();
    const qint64 seconds = match.captured(1).toLongLong();
    EXPECT_GE(seconds, before);
    EXPECT_LE(seconds, after);
    EXPECT_TRUE(b.endsWith(QStringLiteral(".wav")));
}

TEST(UtilsTest, TempFilePathFailsWithoutATemporaryFolder) {
    TraceCapture trace(TRACE_ERROR);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const TempDirVariable tmp(dir.filePath(QStringLiteral("gone")));
    QString path = QStringLiteral("unchanged");
    EXPECT_FALSE(GetTempFilePath(QStringLiteral("ogg"), path));
    EXPECT_EQ(path, QStringLiteral("unchanged"));
    const QRegularExpression line(
        QStringLiteral(" ERR: GetTempPath returned \\d+, last error = %1$").arg(ENOENT));
    EXPECT_EQ(trace.lines().filter(line).size(), 1) << trace.lines().join('\n').toStdString();
}

TEST(UtilsTest, CurrentTimeAndElapsedTime) {
    const qint64 qtBefore = QDateTime::currentMSecsSinceEpoch();
    const qint64 now = GetCurrentTimeMs();
    const qint64 qtAfter = QDateTime::currentMSecsSinceEpoch();
    EXPECT_GE(now, qtBefore);
    EXPECT_LE(now, qtAfter);

    qint64 accumulators[3] = {10, 20, 30};
    qint64 start = now - 5000;
    AddElapsedTime(start, accumulators, 1);
    EXPECT_EQ(accumulators[0], 10);
    EXPECT_GE(accumulators[1], 20 + 5000);
    EXPECT_EQ(accumulators[2], 30);
    EXPECT_GE(start, now);
    EXPECT_EQ(accumulators[1] - 20 - 5000, start - now);

    const qint64 moved = start;
    start -= 1000;
    AddElapsedTime(start, accumulators);
    EXPECT_GE(accumulators[0], 10 + 1000);
    EXPECT_GE(start, moved);
}

TEST(UtilsTest, SystemErrorText) {
    EXPECT_EQ(SystemErrorText(ENOENT), QStringLiteral("No such file or directory (2)"));
    errno = EACCES;
    EXPECT_EQ(LastSystemErrorText(), QStringLiteral("Permission denied (13)"));
    const QString unknown = SystemErrorText(123456);
    EXPECT_TRUE(unknown.endsWith(QStringLiteral(" (123456)"))) << unknown.toStdString();
    EXPECT_FALSE(unknown.contains(QLatin1Char('\n')));
}

TEST(UtilsTest, OSDescriptionIsOneLine) {
    const QString description = GetOSDescription();
    EXPECT_FALSE(description.isEmpty());
    EXPECT_FALSE(description.contains(QLatin1Char('\n')));
    EXPECT_FALSE(description.contains(QLatin1Char('\r')));
    utsname system{};
    ASSERT_EQ(uname(&system), 0);
    EXPECT_TRUE(description.contains(QString::fromLocal8Bit(system.release)))
        << description.toStdString();
    EXPECT_TRUE(
        description.endsWith(QStringLiteral(", build ") + QString::fromLocal8Bit(system.machine)));
}

TEST(UtilsTest, OSDescriptionFromOsRelease) {
    const QString kernel = QStringLiteral("Linux"), release = QStringLiteral("6.1.0-18-amd64"),
                  machine = QStringLiteral("x86_64");
    const QString debian = QStringLiteral("NAME=\"Debian GNU/Linux\"\n"
                                          "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"
                                          "VERSION=\"12 (bookworm)\"\n");
    EXPECT_EQ(OSDescriptionFrom(debian, kernel, release, machine),
              QStringLiteral("Debian GNU/Linux 12 (bookworm), Linux 6.1.0-18-amd64, build x86_64"));
    // Without PRETTY_NAME: NAME and VERSION; single quotes; escapes inside double quotes.
    EXPECT_EQ(OSDescriptionFrom(QStringLiteral("NAME='Arch'\nVERSION=rolling\n"), kernel, release,
                                machine),
              QStringLiteral("Arch rolling, Linux 6.1.0-18-amd64, build x86_64"));
    EXPECT_EQ(OSDescriptionFrom(QStringLiteral("PRETTY_NAME=\"Say \\\"hi\\\"\\\\now\"\n"), kernel,
                                release, machine),
              QStringLiteral("Say \"hi\"\\now, Linux 6.1.0-18-amd64, build x86_64"));
    // A break or tab inside a value never splits the line.
    EXPECT_EQ(OSDescriptionFrom(QStringLiteral("PRETTY_NAME=\"Two\tparts\r\"\n"), kernel, release,
                                QStringLiteral("arm\n64")),
              QStringLiteral("Two parts, Linux 6.1.0-18-amd64, build arm 64"));
    // No os-release file at all.
    EXPECT_EQ(OSDescriptionFrom(QString(), kernel, release, machine),
              QStringLiteral("Linux 6.1.0-18-amd64, build x86_64"));
}
