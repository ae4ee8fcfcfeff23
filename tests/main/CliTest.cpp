// quillet-cli as a person runs it: start-up, the settings command, shutdown, the files it leaves.
#include "support/TestSupport.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testsupport;

namespace {
class Cli : public ::testing::Test {
protected:
    QTemporaryDir temp;
    QString work() const { return temp.filePath("work"); }
    QString logs() const { return temp.filePath("logs"); }

    void SetUp() override {
        ASSERT_TRUE(temp.isValid());
        ASSERT_TRUE(QDir().mkpath(work()));
    }
    RunResult Run(const QStringList& args) {
        return RunProgram(
            "quillet-cli", QStringList{"--work-dir", work()} + args,
            {"XDG_DATA_HOME=" + temp.filePath("xdg"), "XDG_RUNTIME_DIR=" + temp.path()});
    }
    QString ConfigText() const { return FromUtf16Le(ReadBytes(work() + "/config.ini")); }
    QStringList LogFiles() const {
        return QDir(logs()).entryList({"Log_*.txt"}, QDir::Files, QDir::Name);
    }
};
} // namespace

TEST_F(Cli, SettingsRunLeavesConfigAndTraceLogInTheirFormats) {
    const RunResult r = Run({"--log-dir", logs(), "--trace-level", "debug", "settings"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("UploadUrl=http://127.0.0.1:8645/php/client-upload-dgst.php\n"));

    const QByteArray config = ReadBytes(work() + "/config.ini");
    ASSERT_TRUE(config.startsWith(QByteArray("\xFF\xFE", 2) + Utf16Le("[Settings]\n")));
    const QString text = FromUtf16Le(config);
    EXPECT_FALSE(text.contains('\r'));
    QStringList keys;
    for (const QString& line : text.split('\n', Qt::SkipEmptyParts).mid(1))
        keys << line.section('=', 0, 0);
    QStringList sorted = keys;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(keys, sorted);
    EXPECT_TRUE(text.contains("\nTraceLevel=debug\n"));
    EXPECT_TRUE(text.contains("\nMinZoomSec=6\n"));
    EXPECT_TRUE(text.contains("\nNormalizationPercent=89"));
    EXPECT_LT(keys.indexOf("ActiveSkin"), keys.indexOf("AskWantCDRip"));

    const QStringList files = LogFiles();
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(
        QRegularExpression("^Log_\\d{8}_\\d{6}_[0-9A-F]+\\.txt$").match(files[0]).hasMatch());
    const QByteArray log = ReadBytes(logs() + "/" + files[0]);
    ASSERT_TRUE(log.startsWith("\xFF\xFE"));
    const QStringList lines = FromUtf16Le(log).split("\r\n", Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 3);
    const QString stamp = "^\\d\\d:\\d\\d:\\d\\d\\.\\d{3} [0-9A-F]+ ";
    EXPECT_TRUE(
        QRegularExpression(stamp + "INF: Starting Quillet version \\d+\\.\\d+\\.\\d+\\.\\d+$")
            .match(lines.first())
            .hasMatch())
        << lines.first().toStdString();
    EXPECT_TRUE(QRegularExpression(stamp + "INF: Quillet ended$").match(lines.last()).hasMatch())
        << lines.last().toStdString();
    const QString all = lines.join('\n');
    EXPECT_TRUE(all.contains("DBG: cmdline work_dir: " + work()));
    EXPECT_TRUE(all.contains("DBG: cmdline trace_level: debug"));
    EXPECT_TRUE(all.contains("INF: OS: "));
}

TEST_F(Cli, LaterLineWinsRepairsMinZoomAndKeepsUnknownKeys) {
    WriteBytes(work() + "/config.ini",
               Utf16Le(QString(QChar(0xFEFF)) +
                       "[Settings]\r\nTraceLevel=Debug\r\nTraceLevel=None\r\nMinZoomSec=0\r\n"
                       "[Other]\r\nZz Unknown Key=kept value\r\n"));
    const RunResult r = Run({"settings", "TraceLevel"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "None\n");
    const QString text = ConfigText();
    EXPECT_TRUE(text.contains("\nTraceLevel=None\n"));
    EXPECT_TRUE(text.contains("\nMinZoomSec=6\n"));
    EXPECT_TRUE(text.contains("\nZz Unknown Key=kept value\n"));
    // Tracing is off ("None"): no log file appears in the configuration folder.
    EXPECT_TRUE(QDir(work()).entryList({"Log_*.txt"}).isEmpty());
}

TEST_F(Cli, SettingsStoresAValueAndShowsUrlsWithTheirParameters) {
    ASSERT_EQ(Run({"settings", "Proxy", "proxy.example:3128"}).exitCode, 0);
    RunResult r = Run({"settings", "Proxy"});
    EXPECT_EQ(r.out, "proxy.example:3128\n");

    r = Run({"settings", "UploadUrl"});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_TRUE(QRegularExpression("^http://127\\.0\\.0\\.1:8645/php/client-upload-dgst\\.php"
                                   "\\?version=\\d+\\.\\d+\\.\\d+\\.\\d+&language=en\n$")
                    .match(QString::fromUtf8(r.out))
                    .hasMatch())
        << r.out.toStdString();
    ASSERT_EQ(Run({"settings", "HelpUrl", "http://127.0.0.1:8645/help?x=1"}).exitCode, 0);
    r = Run({"settings", "HelpUrl"});
    EXPECT_TRUE(r.out.startsWith("http://127.0.0.1:8645/help?x=1&version="));
}

TEST_F(Cli, UsageErrorsFailWithTheProgramsMessageInTheChosenLanguage) {
    RunResult english = Run({"settings", "NoSuchKey"});
    EXPECT_EQ(english.exitCode, 2);
    EXPECT_TRUE(english.err.startsWith("quillet-cli: "));
    EXPECT_TRUE(english.err.contains("NoSuchKey"));
    EXPECT_TRUE(english.out.isEmpty());

    RunResult german = Run({"--lang", "de", "settings", "NoSuchKey"});
    EXPECT_EQ(german.exitCode, 2);
    EXPECT_TRUE(german.err.contains("NoSuchKey"));
    EXPECT_NE(german.err, english.err);
    // The language chosen on the command line is remembered for the next start.
    const QString ini = QString::fromUtf8(ReadBytes(work() + "/Quillet.ini"));
    EXPECT_TRUE(ini.contains("Quillet_de.tra")) << ini.toStdString();

    EXPECT_EQ(Run({"frobnicate"}).exitCode, 2);
    EXPECT_EQ(Run({"settings", "a", "b", "c"}).exitCode, 2);
    const RunResult missing = Run({"settings", "--trace-level"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.contains("--trace-level"));

    const RunResult version = Run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(QRegularExpression("^quillet-cli \\d+\\.\\d+\\.\\d+\\.\\d+\n$")
                    .match(QString::fromUtf8(version.out))
                    .hasMatch());

    const RunResult help = Run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("settings"));
}

TEST_F(Cli, ANewWorkFolderIsMade) {
    const QString fresh = temp.filePath("new/deeper");
    const RunResult r = RunProgram("quillet-cli", {"--work-dir", fresh, "settings", "Proxy", "x"},
                                   {"XDG_DATA_HOME=" + temp.filePath("xdg")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(FromUtf16Le(ReadBytes(fresh + "/config.ini")).contains("\nProxy=x\n"));
}

TEST_F(Cli, UnusableLogFolderFallsBackToTheConfigurationFolder) {
    WriteBytes(temp.filePath("not-a-folder"), "x");
    const RunResult r =
        Run({"--log-dir", temp.filePath("not-a-folder"), "--trace-level", "info", "settings"});
    ASSERT_EQ(r.exitCode, 0);
    const QStringList files = QDir(work()).entryList({"Log_*.txt"});
    ASSERT_EQ(files.size(), 1);
    const QString log = FromUtf16Le(ReadBytes(work() + "/" + files[0]));
    EXPECT_TRUE(log.contains("ERR: could not use or create log dir: '" +
                             temp.filePath("not-a-folder") + "'; using '" + work() + "/'"));
}
