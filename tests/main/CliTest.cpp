// quillet-cli as a person runs it: start-up, the settings command, shutdown, the files it leaves.
#include "main/CliTestSupport.h"

#include <QRegularExpression>

using Cli = CliTest;

TEST_F(Cli, SettingsStoresAndShowsValuesAndTheTraceLogFollowsTheCommandLine) {
    const QString logs = temp.filePath("logs");
    RunResult r = Run({"--log-dir", logs, "--trace-level", "debug", "settings"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("UploadUrl=http://127.0.0.1:8645/php/client-upload-dgst.php\n"));
    EXPECT_TRUE(FromUtf16Le(ReadBytes(work() + "/config.ini")).contains("\nTraceLevel=debug\n"));
    const QStringList texts = Logs(logs);
    ASSERT_EQ(texts.size(), 1);
    const QStringList lines = texts[0].split("\r\n", Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 3);
    EXPECT_TRUE(QRegularExpression("INF: Starting Quillet version \\d+\\.\\d+\\.\\d+\\.\\d+$")
                    .match(lines.first())
                    .hasMatch())
        << lines.first().toStdString();
    EXPECT_TRUE(lines.last().endsWith("INF: Quillet ended")) << lines.last().toStdString();
    EXPECT_TRUE(texts[0].contains("DBG: cmdline work_dir: " + work()));

    // Tracing off (and so remembered): no log file appears in the configuration folder.
    ASSERT_EQ(Run({"--trace-level", "None", "settings", "Proxy", "proxy.example:3128"}).exitCode,
              0);
    EXPECT_EQ(Run({"settings", "Proxy"}).out, "proxy.example:3128\n");
    EXPECT_EQ(Run({"settings", "TraceLevel"}).out, "None\n");
    EXPECT_TRUE(Logs(work()).isEmpty());

    // A new work folder is made; an unusable log folder falls back to the work folder.
    const QString fresh = temp.filePath("new/deeper");
    ASSERT_EQ(Run({"settings", "Proxy", "x"}, fresh).exitCode, 0);
    EXPECT_TRUE(FromUtf16Le(ReadBytes(fresh + "/config.ini")).contains("\nProxy=x\n"));
    const QString file = temp.filePath("not-a-folder");
    WriteBytes(file, "x");
    ASSERT_EQ(Run({"--log-dir", file, "--trace-level", "info", "settings"}).exitCode, 0);
    ASSERT_EQ(Logs(work()).size(), 1);
    EXPECT_TRUE(Logs(work())[0].contains("ERR: could not use or create log dir: '" + file +
                                         "'; using '" + work() + "/'"));
}

TEST_F(Cli, UsageErrorsFailWithTheProgramsMessageInTheChosenLanguage) {
    RunResult english = Run({"settings", "NoSuchKey"});
    EXPECT_EQ(english.exitCode, 2);
    EXPECT_TRUE(english.err.startsWith("quillet-cli: "));
    EXPECT_TRUE(english.err.contains("NoSuchKey"));
    EXPECT_TRUE(english.out.isEmpty());

    lang = "de";
    RunResult german = Run({"settings", "NoSuchKey"});
    EXPECT_EQ(german.exitCode, 2);
    EXPECT_TRUE(german.err.contains("NoSuchKey"));
    EXPECT_NE(german.err, english.err);
    // The language chosen on the command line is remembered for the next start.
    const QString ini = QString::fromUtf8(ReadBytes(work() + "/Quillet.ini"));
    EXPECT_TRUE(ini.contains("Quillet_de.tra")) << ini.toStdString();
    lang = "en";

    EXPECT_EQ(Run({"frobnicate"}).exitCode, 2);
    EXPECT_EQ(Run({"settings", "a", "b", "c"}).exitCode, 2);
    const RunResult missing = Run({"settings", "--trace-level"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.contains("--trace-level"));
    EXPECT_TRUE(QRegularExpression("^quillet-cli \\d+\\.\\d+\\.\\d+\\.\\d+\n$")
                    .match(QString::fromUtf8(Run({"--version"}).out))
                    .hasMatch());
    const RunResult help = Run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("settings"));
}
