// The base of the quillet-cli suites: the program run as a person runs it, with a work folder of
// its own, no display, and messages in the chosen language.
#pragma once

#include "support/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace testsupport;

class CliTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(temp.isValid() && QDir().mkpath(work())); }
    QString work() const { return temp.filePath("work"); }
    QStringList Env() const {
        return {"XDG_DATA_HOME=" + temp.filePath("xdg"), "XDG_RUNTIME_DIR=" + temp.path(),
                "DISPLAY=", "WAYLAND_DISPLAY="};
    }
    // The work folder (work() unless given) and the language, then the arguments.
    QStringList Args(const QStringList& args, const QString& workDir = {}) const {
        return QStringList{"--work-dir", workDir.isEmpty() ? work() : workDir, "--lang", lang} +
               args;
    }
    RunResult Run(const QStringList& args, const QString& workDir = {}) const {
        return RunProgram("quillet-cli", Args(args, workDir), Env());
    }
    QString Config() const { return FromUtf16Le(ReadBytes(work() + "/config.ini")); }
    // The text of every trace log in the folder.
    static QStringList Logs(const QString& dir) {
        QStringList texts;
        for (const QString& name : QDir(dir).entryList({"Log_*.txt"}, QDir::Files, QDir::Name))
            texts << FromUtf16Le(ReadBytes(dir + "/" + name));
        return texts;
    }

    QTemporaryDir temp;
    QString lang = "en";
};
