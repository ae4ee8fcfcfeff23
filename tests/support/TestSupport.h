// Helpers shared by the test suites: files, UTF-16 text, and running the program's executables.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace testsupport {

QByteArray ReadBytes(const QString& path);
void WriteBytes(const QString& path, const QByteArray& bytes);
// UTF-16 little-endian bytes of a text, without a byte-order mark.
QByteArray Utf16Le(const QString& text);
// The text of UTF-16 little-endian bytes (a leading FF FE is skipped).
QString FromUtf16Le(const QByteArray& bytes);

// The result of running an executable of the build.
struct RunResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};
// Runs bin/<program> with the arguments and the extra environment entries ("NAME=value").
RunResult RunProgram(const QString& program, const QStringList& args,
                     const QStringList& env = {}, int timeoutMs = 60000);

} // namespace testsupport
