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

using namespace Qt::StringLiterals;

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

TEST(UtilsTest, UrlEscapeKeepsLettersDigitsAndPunctuationFromColonUpOrEscapesEverything) {
    EXPECT_EQ(UrlEscape(u"a b/c:d"_s), u"a%20b%2fc:d"_s);
    EXPECT_EQ(UrlEscape(u" !\"#$%&'()*+,-./"_s),
              u"%20%21%22%23%24%25%26%27%28%29%2a%2b%2c%2d%2e%2f"_s);
    const QString kept = u"AZaz09:;<=>?@[\\]^_`{|}~\t\u00e9"_s;
    EXPECT_EQ(UrlEscape(kept), kept);
    EXPECT_EQ(UrlEscape(QString()), QString());
    // Escaping everything gives three characters each.
    const QString text = u"Az0:~ /\u00e9"_s;
    const QString escaped = UrlEscape(text, true);
    EXPECT_EQ(escaped, u"%41%7a%30%3a%7e%20%2f%e9"_s);
    EXPECT_EQ(escaped.size(), text.size() * 3);
}

TEST(UtilsTest, AssureDirExistsCreatesOneLevelAndRefusesFiles) {
    TraceCapture trace(TRACE_ERROR);
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    EXPECT_TRUE(AssureDirExists(dir.path()));
    const QString fresh = dir.filePath(u"fresh"_s);
    EXPECT_TRUE(AssureDirExists(fresh));
    EXPECT_TRUE(QFileInfo(fresh).isDir());
    EXPECT_TRUE(AssureDirExists(fresh));

    const QString deep = dir.filePath(u"missing/child"_s);
    EXPECT_FALSE(AssureDirExists(deep));
    EXPECT_FALSE(QFileInfo::exists(deep));
    EXPECT_TRUE(trace.hasLine("ERR", u"AssureDirExists: Error creating dir '%1'"_s.arg(deep)));

    const QString file = dir.filePath(u"plain.txt"_s);
    testsupport::WriteBytes(file, "x");
    EXPECT_FALSE(AssureDirExists(file));
    EXPECT_TRUE(
        trace.hasLine("ERR", u"AssureDirExists: '%1' exists but is not a folder"_s.arg(file)));
    EXPECT_TRUE(QFileInfo(file).isFile());
}

TEST(UtilsTest, TempFilePathLiesInTheTemporaryFolderIsNotCreatedAndNeedsTheFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const TempDirVariable tmp(dir.path());
    const qint64 before = GetCurrentTimeMs() / 1000;
    QString a, b;
    ASSERT_TRUE(GetTempFilePath(u"ogg"_s, a));
    ASSERT_TRUE(GetTempFilePath(u"wav"_s, b));
    const qint64 after = GetCurrentTimeMs() / 1000;

    const QFileInfo info(a);
    EXPECT_EQ(info.absolutePath(), QDir(dir.path()).canonicalPath());
    EXPECT_FALSE(info.exists());
    const QRegularExpressionMatch match =
        QRegularExpression(u"^temp_(\\d+)_(\\d+)\\.ogg$"_s).match(info.fileName());
    ASSERT_TRUE(match.hasMatch()) << a.toStdString();
    const qint64 seconds = match.captured(1).toLongLong();
    EXPECT_GE(seconds, before);
    EXPECT_LE(seconds, after);
    EXPECT_TRUE(b.endsWith(u".wav"_s));

    // Without a temporary folder it fails and leaves the path.
    TraceCapture trace(TRACE_ERROR);
    const TempDirVariable gone(dir.filePath(u"gone"_s));
    QString path = u"unchanged"_s;
    EXPECT_FALSE(GetTempFilePath(u"ogg"_s, path));
    EXPECT_EQ(path, u"unchanged"_s);
    const QRegularExpression line(
        u" ERR: GetTempPath returned \\d+, last error = %1$"_s.arg(ENOENT));
    EXPECT_EQ(trace.lines().filter(line).size(), 1) << trace.lines().join('\n').toStdString();
}

TEST(UtilsTest, CurrentTimeAndElapsedTime) {
    const qint64 qtBefore = QDateTime::currentMSecsSinceEpoch();
    const qint64 now = GetCurrentTimeMs();
    EXPECT_GE(now, qtBefore);
    EXPECT_LE(now, QDateTime::currentMSecsSinceEpoch());

    // The time since start goes to the accumulator of the index (the first without one), and
    // start moves on to now.
    qint64 accumulators[3] = {10, 20, 30};
    qint64 start = now - 5000;
    AddElapsedTime(start, accumulators, 1);
    EXPECT_EQ(accumulators[0], 10);
    EXPECT_EQ(accumulators[2], 30);
    EXPECT_GE(start, now);
    EXPECT_EQ(accumulators[1] - 20 - 5000, start - now);
    start -= 1000;
    AddElapsedTime(start, accumulators);
    EXPECT_GE(accumulators[0], 10 + 1000);
}

TEST(UtilsTest, SystemErrorText) {
    EXPECT_EQ(SystemErrorText(ENOENT), u"No such file or directory (2)"_s);
    errno = EACCES;
    EXPECT_EQ(LastSystemErrorText(), u"Permission denied (13)"_s);
    const QString unknown = SystemErrorText(123456);
    EXPECT_TRUE(unknown.endsWith(u" (123456)"_s)) << unknown.toStdString();
    EXPECT_FALSE(unknown.contains(QLatin1Char('\n')));
}

TEST(UtilsTest, OSDescriptionFromOsReleaseAndTheKernel) {
    const QString kernel = u"Linux"_s, release = u"6.1.0-18-amd64"_s, machine = u"x86_64"_s;
    const QString debian = QStringLiteral("NAME=\"Debian GNU/Linux\"\n"
                                          "PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"
                                          "VERSION=\"12 (bookworm)\"\n");
    EXPECT_EQ(OSDescriptionFrom(debian, kernel, release, machine),
              u"Debian GNU/Linux 12 (bookworm), Linux 6.1.0-18-amd64, build x86_64"_s);
    // Without PRETTY_NAME: NAME and VERSION; single quotes; escapes inside double quotes.
    EXPECT_EQ(OSDescriptionFrom(u"NAME='Arch'\nVERSION=rolling\n"_s, kernel, release, machine),
              u"Arch rolling, Linux 6.1.0-18-amd64, build x86_64"_s);
    EXPECT_EQ(
        OSDescriptionFrom(u"PRETTY_NAME=\"Say \\\"hi\\\"\\\\now\"\n"_s, kernel, release, machine),
        u"Say \"hi\"\\now, Linux 6.1.0-18-amd64, build x86_64"_s);
    // A break or tab inside a value never splits the line.
    EXPECT_EQ(OSDescriptionFrom(u"PRETTY_NAME=\"Two\tparts\r\"\n"_s, kernel, release, u"arm\n64"_s),
              u"Two parts, Linux 6.1.0-18-amd64, build arm 64"_s);
    // No os-release file at all.
    EXPECT_EQ(OSDescriptionFrom(QString(), kernel, release, machine),
              u"Linux 6.1.0-18-amd64, build x86_64"_s);

    // This system's own description names its kernel release and machine.
    utsname system{};
    ASSERT_EQ(uname(&system), 0);
    const QString description = GetOSDescription();
    EXPECT_TRUE(description.contains(QString::fromLocal8Bit(system.release)));
    EXPECT_TRUE(description.endsWith(u", build "_s + QString::fromLocal8Bit(system.machine)));
}
