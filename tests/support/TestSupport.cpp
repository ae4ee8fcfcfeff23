// Helpers shared by the test suites.
#include "support/TestSupport.h"

#include <QFile>
#include <QProcessEnvironment>
#include <QtEndian>
#include <gtest/gtest.h>

namespace testsupport {

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray Utf16Le(const QString& text) {
    QByteArray bytes(text.size() * 2, Qt::Uninitialized);
    qToLittleEndian<char16_t>(text.utf16(), text.size(), bytes.data());
    return bytes;
}

QString FromUtf16Le(const QByteArray& bytes) {
    QByteArray body = bytes;
    if (body.startsWith("\xFF\xFE"))
        body.remove(0, 2);
    QString text(body.size() / 2, Qt::Uninitialized);
    qFromLittleEndian<char16_t>(body.constData(), text.size(), text.data());
    return text;
}

void StartProgram(QProcess& process, const QString& program, const QStringList& args,
                  const QStringList& env) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& entry : env) {
        const qsizetype eq = entry.indexOf(QLatin1Char('='));
        environment.insert(entry.left(eq), entry.mid(eq + 1));
    }
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(QUILLET_BIN_DIR "/") + program, args);
}

RunResult RunProgram(const QString& program, const QStringList& args, const QStringList& env,
                     int timeoutMs, const std::function<void()>& inChild) {
    QProcess process;
    if (inChild)
        process.setChildProcessModifier(inChild);
    StartProgram(process, program, args, env);
    RunResult result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

} // namespace testsupport
